#pragma once
// Random access to the bytes of a file or of a member decoded into memory. Readers use
// it with bounds checks everywhere: a short read is not an error, the missing bytes read as 0.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Copies up to n bytes at offset; returns how many were copied.
  virtual size_t ReadAt(uint64_t offset, char* out, size_t n) const = 0;

  // n bytes at offset in a zero-filled buffer; *got (if given) receives the count read.
  std::string Read(uint64_t offset, size_t n, size_t* got = nullptr) const;
  // Only the bytes that exist (shorter at the end of the data).
  std::string ReadAvailable(uint64_t offset, size_t n) const;
};

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view data) : data_(data) {}
  uint64_t Size() const override { return data_.size(); }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override;

 private:
  std::string_view data_;
};

// A regular file opened for reading. Open() fails for missing files, folders,
// dangling links and anything that is not a regular file.
class FileByteSource final : public ByteSource {
 public:
  static std::unique_ptr<FileByteSource> Open(const std::string& path);
  // `name` in the folder open as `folderFd`. With `listedSize` the caller's listing
  // already said that the name is a regular file itself (not a link) and how long it
  // is: the name is opened without following links and not examined again. A file
  // replaced by something else in between reads as empty.
  static std::unique_ptr<FileByteSource> OpenAt(int folderFd, const std::string& name,
                                                std::optional<uint64_t> listedSize = std::nullopt);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  uint64_t Size() const override { return size_; }
  // The modification time seen when the file was examined on opening (0 when a
  // listing's size was taken instead).
  int64_t ModifiedTime() const { return mtime_; }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override;

 private:
  FileByteSource(int fd, uint64_t size, int64_t mtime = 0) : fd_(fd), size_(size), mtime_(mtime) {}
  static std::unique_ptr<FileByteSource> Checked(int fd);
  int fd_;
  uint64_t size_;
  int64_t mtime_;
  // The readers look at the first few hundred bytes several times; one read of the
  // head of the file serves them all.
  // The buffer comes from a small per-thread pool and goes back to it when the file
  // is closed: the scan opens thousands of files one after another, and a fresh 4 KiB
  // allocation for each was split up by the records allocated in between, so that
  // every file took (and faulted in) new memory.
  static constexpr size_t kHeadSize = 4096;
  mutable std::unique_ptr<char[]> head_;
  mutable size_t headSize_ = 0;
  mutable bool headLoaded_ = false;
};

// Reads of another source through one window: walking many small headers and the
// small members between them costs one read per window instead of one per header.
// Reads longer than the window go straight to the source.
class WindowedByteSource final : public ByteSource {
 public:
  static constexpr size_t kDefaultWindow = 64 * 1024;
  explicit WindowedByteSource(const ByteSource& inner, size_t window = kDefaultWindow)
      : inner_(inner), window_(window) {}
  uint64_t Size() const override { return inner_.Size(); }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override;

 private:
  const ByteSource& inner_;
  size_t window_;
  // Not zero-filled: only the bytes read are ever copied out.
  mutable std::unique_ptr<char[]> buffer_;
  mutable size_t filled_ = 0;
  mutable uint64_t start_ = 0;
  mutable bool loaded_ = false;
};

}  // namespace kadrel
