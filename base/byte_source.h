#pragma once
// Random access to the bytes of a file or of a member decoded into memory. Readers use
// it with bounds checks everywhere: a short read is not an error, the missing bytes read as 0.

#include <cstdint>
#include <memory>
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
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override;

 private:
  FileByteSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  int fd_;
  uint64_t size_;
  // The readers look at the first few hundred bytes several times; one read of the
  // head of the file serves them all.
  static constexpr size_t kHeadSize = 4096;
  mutable std::string head_;
  mutable bool headLoaded_ = false;
};

}  // namespace kadrel
