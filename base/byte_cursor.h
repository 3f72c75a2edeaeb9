#pragma once
// Bounds-checked integers and byte runs from a buffer. Every read says whether the
// bytes were there; a failed read changes neither the output nor the position. The
// writers at the end are the one place the program lays integers into bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes, size_t position = 0)
      : bytes_(bytes), pos_(position < bytes.size() ? position : bytes.size()) {}

  size_t Position() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }

  bool Seek(size_t position);  // false (and no move) past the end
  bool Skip(size_t n);

  bool U8(uint8_t& v) { return Int<1, false>(v); }
  bool Le16(uint16_t& v) { return Int<2, false>(v); }
  bool Le32(uint32_t& v) { return Int<4, false>(v); }
  bool Le64(uint64_t& v) { return Int<8, false>(v); }
  bool Be16(uint16_t& v) { return Int<2, true>(v); }
  bool Be24(uint32_t& v) { return Int<3, true>(v); }
  bool Be32(uint32_t& v) { return Int<4, true>(v); }
  // n bytes as a view into the buffer.
  bool Bytes(size_t n, std::string_view& v);

 private:
  template <size_t N, bool BigEndian, typename T>
  bool Int(T& v) {
    static_assert(N <= sizeof(T));
    if (Remaining() < N) return false;
    T value = 0;
    for (size_t i = 0; i < N; ++i) {
      const T byte = static_cast<unsigned char>(bytes_[pos_ + i]);
      value |= static_cast<T>(byte << (8 * (BigEndian ? N - 1 - i : i)));
    }
    v = value;
    pos_ += N;
    return true;
  }

  std::string_view bytes_;
  size_t pos_;
};

// Integers at a fixed offset: nothing when the buffer ends before the last byte.
std::optional<uint8_t> U8At(std::string_view bytes, size_t offset);
std::optional<uint16_t> Le16At(std::string_view bytes, size_t offset);
std::optional<uint32_t> Le32At(std::string_view bytes, size_t offset);
std::optional<uint16_t> Be16At(std::string_view bytes, size_t offset);
std::optional<uint32_t> Be24At(std::string_view bytes, size_t offset);
std::optional<uint32_t> Be32At(std::string_view bytes, size_t offset);

// Writers. Append* add to the end; Store* overwrite at an offset, growing the buffer
// with zero bytes when it is too short, so a write never lands outside it.
void AppendLe16(std::string& out, uint16_t v);
void AppendLe32(std::string& out, uint32_t v);
void AppendBe(std::string& out, uint32_t v, int byteCount);
void StoreLe16(std::string& out, size_t offset, uint16_t v);
void StoreLe32(std::string& out, size_t offset, uint32_t v);

}  // namespace kadrel
