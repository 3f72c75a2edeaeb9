// Keyword and text both arbitrary: the match must lie inside the text and start on a
// character boundary.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/document/find_keyword.h"
#include "base/encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  if (size < 2) return 0;
  const unsigned flags = data[0] & 0x0F;
  const size_t keywordLength = std::min<size_t>(data[1] % 16, size - 2);
  std::string_view keyword(reinterpret_cast<const char*>(data + 2), keywordLength);
  std::string_view text(reinterpret_cast<const char*>(data + 2 + keywordLength), size - 2 - keywordLength);
  KeywordMatch m = FindKeyword(keyword, text, flags);
  if (!m.found) return 0;
  if (m.start < 0 || m.length <= 0 || static_cast<size_t>(m.end()) > text.size()) __builtin_trap();
  size_t i = 0;
  while (i < static_cast<size_t>(m.start)) i += IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  if (i != static_cast<size_t>(m.start)) __builtin_trap();
  return 0;
}
