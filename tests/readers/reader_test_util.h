#pragma once
// Byte builders for the header reader tests.

#include <cstdint>
#include <string>

#include "base/byte_source.h"
#include "catalog/format_table.h"
#include "formats/read_header_info.h"

namespace kadrel::test {

inline std::string Be32Bytes(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string Le32Bytes(uint32_t v) {
  return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A Standard MIDI file whose tracks are given as raw event bytes.
inline std::string Smf(std::initializer_list<std::string> tracks, uint16_t format = 1) {
  std::string s = "MThd" + Be32Bytes(6) + std::string{0, char(format), 0, char(tracks.size()), 1, char(0xE0)};
  for (const std::string& t : tracks) s += "MTrk" + Be32Bytes(static_cast<uint32_t>(t.size())) + t;
  return s;
}

inline std::string TrackName(const std::string& text, char kind = 0x03) {
  return std::string{0, char(0xFF), kind, char(text.size())} + text;
}

inline std::string EndOfTrack() { return std::string{0, char(0xFF), 0x2F, 0}; }

// Reads `data` as a file of format row `row`.
inline TMusicFileInfo ReadAs(const std::string& data, int row, int smfBytes = 300, const std::string& ext = "") {
  TMusicFileInfo r;
  r.FileType = row;
  r.FileExt = ext.empty() ? "." + std::string(kFormatTable[row].Code) : ext;
  MemoryByteSource source(data);
  ReadHeaderInfoFrom(source, r, HeaderReadOptions{smfBytes});
  return r;
}

// A MacBinary I header for a file named "Song".
inline std::string MacBinaryIHeader() {
  std::string h(128, '\0');
  h[1] = 4;
  h.replace(2, 4, "Song");
  return h;
}

}  // namespace kadrel::test
