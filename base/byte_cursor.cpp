#include "base/byte_cursor.h"

namespace kadrel {

bool ByteCursor::Seek(size_t position) {
  if (position > bytes_.size()) return false;
  pos_ = position;
  return true;
}

bool ByteCursor::Skip(size_t n) {
  if (n > Remaining()) return false;
  pos_ += n;
  return true;
}

bool ByteCursor::Bytes(size_t n, std::string_view& v) {
  if (n > Remaining()) return false;
  v = bytes_.substr(pos_, n);
  pos_ += n;
  return true;
}

namespace {

template <typename T, typename Read>
std::optional<T> At(std::string_view bytes, size_t offset, Read read) {
  if (offset > bytes.size()) return std::nullopt;
  ByteCursor c(bytes, offset);
  T v = 0;
  if (!(c.*read)(v)) return std::nullopt;
  return v;
}

void Store(std::string& out, size_t offset, uint32_t v, size_t byteCount) {
  if (out.size() < offset + byteCount) out.resize(offset + byteCount, '\0');
  for (size_t i = 0; i < byteCount; ++i) out[offset + i] = static_cast<char>(v >> (8 * i) & 0xFF);
}

}  // namespace

std::optional<uint8_t> U8At(std::string_view b, size_t o) { return At<uint8_t>(b, o, &ByteCursor::U8); }
std::optional<uint16_t> Le16At(std::string_view b, size_t o) { return At<uint16_t>(b, o, &ByteCursor::Le16); }
std::optional<uint32_t> Le32At(std::string_view b, size_t o) { return At<uint32_t>(b, o, &ByteCursor::Le32); }
std::optional<uint16_t> Be16At(std::string_view b, size_t o) { return At<uint16_t>(b, o, &ByteCursor::Be16); }
std::optional<uint32_t> Be24At(std::string_view b, size_t o) { return At<uint32_t>(b, o, &ByteCursor::Be24); }
std::optional<uint32_t> Be32At(std::string_view b, size_t o) { return At<uint32_t>(b, o, &ByteCursor::Be32); }

void AppendLe16(std::string& out, uint16_t v) { StoreLe16(out, out.size(), v); }
void AppendLe32(std::string& out, uint32_t v) { StoreLe32(out, out.size(), v); }

void AppendBe(std::string& out, uint32_t v, int byteCount) {
  for (int i = byteCount - 1; i >= 0; --i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
}

void StoreLe16(std::string& out, size_t offset, uint16_t v) { Store(out, offset, v, 2); }
void StoreLe32(std::string& out, size_t offset, uint32_t v) { Store(out, offset, v, 4); }

}  // namespace kadrel
