#pragma once
// Text encodings. Bytes taken from files stay as they are; they are converted only
// for display (DisplayText) and our own literals are converted once to CP932 where
// they must be compared with or stored next to file texts.

#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// True for the first byte of a Shift-JIS (CP932) double-byte character.
constexpr bool IsSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsValidUtf8(std::string_view bytes);
bool IsAscii(std::string_view bytes);

// Bytes for display: valid UTF-8 is shown as it is, anything else is decoded as
// CP932; bytes that do not decode become U+FFFD. Always returns valid UTF-8.
std::string DisplayText(std::string_view bytes);

// DisplayText in UTF-16, written to `out` (replacing its contents): the form collation
// works on. CP932 is decoded by a table taken from the same converter, so both
// functions decode every byte alike without a round trip through UTF-8.
void DisplayTextUtf16(std::string_view bytes, std::u16string& out);

// UTF-8 -> CP932. Nullopt when a character has no CP932 form.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// CP932 bytes of one of our own literals (UTF-8 in the source). The literal must be
// representable; a character that is not becomes "?".
std::string Cp932(std::string_view utf8Literal);

// Appends the UTF-8 form of a CP932 text; false, with nothing appended, when any of
// its bytes does not decode.
bool AppendCp932AsUtf8(std::string_view cp932, std::string& out);

// UTF-16 (little or big endian, no BOM handling) -> UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);

// Text taken from a modern source (UTF-8): CP932 when every character has a CP932
// form, otherwise the UTF-8 bytes unchanged.
std::string PreferCp932(std::string_view utf8);

}  // namespace kadrel
