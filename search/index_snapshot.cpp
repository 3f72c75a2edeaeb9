#include "search/index_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "base/path_helpers.h"

namespace kadrel {
namespace {

FileIdentity IdentityFrom(const struct stat& st) {
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), static_cast<uint64_t>(st.st_size),
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return IdentityFrom(st);
}

std::optional<IndexSnapshot> ReadIndexSnapshot(const std::string& path, uint64_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<IndexSnapshot> result;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= maxBytes) {
    IndexSnapshot snapshot;
    snapshot.identity = IdentityFrom(st);
    // The size read is what decides; a file that grows while read past the cap is refused.
    std::string& bytes = snapshot.bytes;
    bytes.resize(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    bool failed = false;
    for (;;) {
      if (got == bytes.size()) {
        if (bytes.size() > maxBytes) break;
        bytes.resize(std::min<uint64_t>(bytes.size() * 2, maxBytes + 1));
      }
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) failed = true;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    if (!failed && got <= maxBytes) {
      bytes.resize(got);
      snapshot.identity.size = got;
      result = std::move(snapshot);
    }
  }
  ::close(fd);
  return result;
}

std::vector<std::string> IndexFilesIn(const std::string& indexFolder) {
  static constexpr std::string_view kSuffix = "_index.dat";
  std::vector<std::string> files;
  std::error_code ec;
  const std::string folder = WithTrailingSlash(indexFolder);
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    files.push_back(folder + name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace kadrel
