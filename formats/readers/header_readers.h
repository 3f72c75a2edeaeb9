#pragma once
// The eight header readers. Each reads a small, bounded part of the data and fills
// Detail, Title, Artist, Album, LinkFile and InfoState of the record; a failure is a
// state, never an exception. `base` is 128 for data behind a MacBinary header, else 0.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_source.h"
#include "catalog/music_file_info.h"

namespace kadrel {

struct HeaderReadOptions {
  int32_t SMFByte = 300;  // bytes of a Standard MIDI file searched for its title
};

struct ReaderInput {
  const ByteSource& source;
  uint64_t base;
  const HeaderReadOptions& options;
  uint64_t Size() const { return source.Size(); }
};

void ReadStandardMidiHeader(const ReaderInput& in, TMusicFileInfo& r);
void ReadRiffMidiHeader(const ReaderInput& in, TMusicFileInfo& r);
void ReadRecomposer2Header(const ReaderInput& in, TMusicFileInfo& r);
void ReadRecomposer3Header(const ReaderInput& in, TMusicFileInfo& r);
void ReadRiffMpegWaveHeader(const ReaderInput& in, TMusicFileInfo& r);
void ReadModHeader(const ReaderInput& in, TMusicFileInfo& r);
void ReadTwinVqHeader(const ReaderInput& in, TMusicFileInfo& r);
void ReadMgsScript(const ByteSource& source, TMusicFileInfo& r);
void ReadPlayListHeader(const ByteSource& source, TMusicFileInfo& r);

// First 26 bytes of a play-list file of the current version.
std::string_view PlayListSignatureV1();

// 128-byte MacBinary prefix (versions I, II and III).
bool HasMacBinaryHeader(const ByteSource& source);

// Calls `visit(windowOffset, window, got)` for the 512-byte windows that follow a RIFF
// data chunk (each 504 bytes further on), while bytes are left to search; the visitor
// returns false to end the search.
template <typename Visit>
void ForEachRiffWindow(const ReaderInput& in, uint64_t start, Visit visit) {
  int64_t left = static_cast<int64_t>(in.Size()) - static_cast<int64_t>(start);
  for (uint64_t pos = start; left > 0; pos += 504, left -= 504) {
    size_t got = 0;
    std::string window = in.source.Read(pos, 512, &got);
    if (got == 0) break;
    if (!visit(pos, window, got)) break;
    if (got < 512) break;
  }
}

}  // namespace kadrel
