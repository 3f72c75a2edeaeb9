#include "playback/short_name_stage.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cctype>

#include <fmt/format.h>

#include "base/atomic_file.h"
#include "base/text_helpers.h"

namespace kadrel {

namespace {

std::atomic<int> nextNumber{1};

// Up to three ASCII letters or digits of the extension, upper case.
std::string ShortExtension(const std::string& file) {
  const size_t slash = file.rfind('/');
  std::string ext = ExtensionWithoutDot(slash == std::string::npos ? file : file.substr(slash + 1));
  std::string out;
  for (char c : ext) {
    if (out.size() == 3) break;
    if (std::isalnum(static_cast<unsigned char>(c))) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out.empty() ? out : "." + out;
}

bool CopyFile(const std::string& from, const std::string& to) {
  auto bytes = ReadWholeFile(from);
  if (!bytes) return false;
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < bytes->size()) {
    const ssize_t n = ::write(fd, bytes->data() + done, bytes->size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (done == bytes->size()) return true;
  ::unlink(to.c_str());
  return false;
}

}  // namespace

std::string StageShortName(const std::string& file, const std::string& folder, bool dryRun) {
  const std::string ext = ShortExtension(file);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string staged = folder + fmt::format("KP{:06d}", nextNumber++ % 1000000) + ext;
    if (dryRun) return staged;
    if (::link(file.c_str(), staged.c_str()) == 0) return staged;
    if (errno == EEXIST) continue;
    if (CopyFile(file, staged)) return staged;
    if (errno == EEXIST) continue;
    break;
  }
  return file;
}

}  // namespace kadrel
