#include "base/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

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

namespace {

// Reads n bytes at offset from a regular file; a short read means its end.
size_t ReadFully(int fd, char* out, size_t n, uint64_t offset) {
  size_t total = 0;
  while (total < n) {
    const size_t want = n - total;
    const ssize_t r = ::pread(fd, out + total, want, static_cast<off_t>(offset + total));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    total += static_cast<size_t>(r);
    if (static_cast<size_t>(r) < want) break;  // the end of the file
  }
  return total;
}

constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

// Head buffers of closed files, for the next files opened on this thread. A few are
// enough: files are read one or two at a time.
class HeadBuffers {
 public:
  std::unique_ptr<char[]> Take(size_t size) {
    if (free_.empty()) return std::unique_ptr<char[]>(new char[size]);  // not zero-filled
    std::unique_ptr<char[]> buffer = std::move(free_.back());
    free_.pop_back();
    return buffer;
  }
  void GiveBack(std::unique_ptr<char[]> buffer) {
    if (free_.size() < kKept) free_.push_back(std::move(buffer));
  }

 private:
  static constexpr size_t kKept = 4;
  std::vector<std::unique_ptr<char[]>> free_;
};

HeadBuffers& ThreadHeadBuffers() {
  thread_local HeadBuffers buffers;
  return buffers;
}

}  // namespace

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path) {
  return Checked(::open(path.c_str(), kOpenFlags));
}

std::unique_ptr<FileByteSource> FileByteSource::OpenAt(int folderFd, const std::string& name,
                                                       std::optional<uint64_t> listedSize) {
  if (!listedSize) return Checked(::openat(folderFd, name.c_str(), kOpenFlags));
  const int fd = ::openat(folderFd, name.c_str(), kOpenFlags | O_NOFOLLOW);
  if (fd < 0) return nullptr;
  return std::unique_ptr<FileByteSource>(new FileByteSource(fd, *listedSize));
}

std::unique_ptr<FileByteSource> FileByteSource::Checked(int fd) {
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileByteSource>(
      new FileByteSource(fd, static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtime)));
}

FileByteSource::~FileByteSource() {
  ::close(fd_);
  if (head_) ThreadHeadBuffers().GiveBack(std::move(head_));
}

size_t FileByteSource::ReadAt(uint64_t offset, char* out, size_t n) const {
  if (offset + n <= kHeadSize) {
    if (!headLoaded_) {
      head_ = ThreadHeadBuffers().Take(kHeadSize);
      // Only as much as the file holds: a small file is read in one call.
      headSize_ = ReadFully(fd_, head_.get(), static_cast<size_t>(std::min<uint64_t>(kHeadSize, size_)), 0);
      headLoaded_ = true;
    }
    if (offset >= headSize_) return 0;
    size_t count = std::min<uint64_t>(n, headSize_ - offset);
    std::memcpy(out, head_.get() + offset, count);
    return count;
  }
  return ReadFully(fd_, out, n, offset);
}

size_t WindowedByteSource::ReadAt(uint64_t offset, char* out, size_t n) const {
  if (n > window_) return inner_.ReadAt(offset, out, n);
  const uint64_t end = start_ + filled_;
  // The window also answers a read that runs past the end of the data it reached.
  const bool inside = loaded_ && offset >= start_ && offset <= end &&
                      (offset + n <= end || filled_ < window_);
  if (!inside) {
    if (!buffer_) buffer_.reset(new char[window_]);
    filled_ = inner_.ReadAt(offset, buffer_.get(), window_);
    start_ = offset;
    loaded_ = true;
  }
  const size_t at = static_cast<size_t>(offset - start_);
  const size_t count = std::min(n, filled_ - at);
  std::memcpy(out, buffer_.get() + at, count);
  return count;
}

}  // namespace kadrel
