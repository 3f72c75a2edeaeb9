#include "base/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kadrel {

std::string ByteSource::Read(uint64_t offset, size_t n, size_t* got) const {
  std::string buffer(n, '\0');
  size_t count = ReadAt(offset, buffer.data(), n);
  if (got) *got = count;
  return buffer;
}

std::string ByteSource::ReadAvailable(uint64_t offset, size_t n) const {
  size_t got = 0;
  std::string buffer = Read(offset, n, &got);
  buffer.resize(got);
  return buffer;
}

size_t MemoryByteSource::ReadAt(uint64_t offset, char* out, size_t n) const {
  if (offset >= data_.size()) return 0;
  size_t count = std::min<uint64_t>(n, data_.size() - offset);
  std::memcpy(out, data_.data() + offset, count);
  return count;
}

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileByteSource>(new FileByteSource(fd, static_cast<uint64_t>(st.st_size)));
}

FileByteSource::~FileByteSource() { ::close(fd_); }

size_t FileByteSource::ReadAt(uint64_t offset, char* out, size_t n) const {
  if (offset + n <= kHeadSize) {
    if (!headLoaded_) {
      head_.resize(kHeadSize);
      size_t got = 0;
      while (got < kHeadSize) {
        ssize_t r = ::pread(fd_, head_.data() + got, kHeadSize - got, static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<size_t>(r);
      }
      head_.resize(got);
      headLoaded_ = true;
    }
    if (offset >= head_.size()) return 0;
    size_t count = std::min<uint64_t>(n, head_.size() - offset);
    std::memcpy(out, head_.data() + offset, count);
    return count;
  }
  size_t total = 0;
  while (total < n) {
    ssize_t r = ::pread(fd_, out + total, n - total, static_cast<off_t>(offset + total));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    total += static_cast<size_t>(r);
  }
  return total;
}

}  // namespace kadrel
