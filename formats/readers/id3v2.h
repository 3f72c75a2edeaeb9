#pragma once
// ID3 version 2 tags (v2.2, v2.3, v2.4) at the start of an MPEG file: title, artist
// and album, and where the audio data begin.

#include <cstdint>
#include <optional>
#include <string>

#include "base/byte_source.h"

namespace kadrel {

struct Id3v2Tag {
  uint64_t totalSize = 0;  // header, frames, padding and footer
  std::string title, artist, album;  // CP932 where representable (see ReadId3v2Tag)
};

// Reads the tag that starts at `offset`, or nullopt when there is none. Texts in
// ISO-8859-1 frames are kept as the bytes found (Japanese files put CP932 there);
// UTF-16 and UTF-8 texts become CP932 when every character has a CP932 form, else UTF-8.
std::optional<Id3v2Tag> ReadId3v2Tag(const ByteSource& source, uint64_t offset);

// True when an MPEG audio frame header starts within the first bytes after `offset`.
bool FindMpegFrameAfter(const ByteSource& source, uint64_t offset);

}  // namespace kadrel
