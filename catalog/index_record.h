#pragma once
// One record as bytes, as the index file stores it (the play-list file uses the same
// encoding). Big-endian date and time, the inverted MacBinary byte, 1- and 2-byte
// string lengths and a trailing 0x00.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/music_file_info.h"

namespace kadrel {

inline constexpr unsigned char kRecordMarker0 = 0xFF;
inline constexpr unsigned char kRecordMarker1 = 0x21;  // '!'

// Bytes from the record marker 0xFF 0x21 to the terminating 0x00. A string longer than
// its length field allows is cut at a character boundary.
std::string EncodeIndexRecord(const TMusicFileInfo& r);

// Decodes the record whose marker starts at `markerPos`. FileExt is rebuilt from the
// format row; LinkFile and DocFile read back empty. `*next` receives the position after
// the record's 0x00. Nullopt when the bytes end inside the record or no record marker
// stands at `markerPos`.
std::optional<TMusicFileInfo> DecodeIndexRecord(std::string_view image, size_t markerPos, size_t* next);

// The longest prefix of `text` of at most `maximum` bytes that ends on a character
// boundary: UTF-8 when the text is valid non-ASCII UTF-8, Shift-JIS otherwise.
std::string_view FitToLength(std::string_view text, size_t maximum);

}  // namespace kadrel
