#pragma once
// Reading LZH archives: our own header walker (levels 0-3, extended headers, names as
// raw CP932 bytes without case conversion) and liblhasa's decoders for the data.
// Nothing here throws; damage is reported in the results.

#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_source.h"

namespace kadrel {

// One extended header block as found in a level 1-3 header.
struct LzhExtBlock {
  uint8_t type = 0;
  uint32_t offset = 0;   // of the type byte, from the start of the member header
  uint32_t payload = 0;  // payload length (without type byte and next-size field)
};

struct LzhMember {
  uint64_t headerOffset = 0;    // first byte of the member header in the archive
  uint32_t headerSize = 0;      // bytes up to the compressed data (level 1: extended headers included)
  uint64_t dataOffset = 0;
  uint64_t compressedSize = 0;
  uint64_t originalSize = 0;    // the 64-bit extended size when present
  std::string method;           // "-lh5-"
  int level = 0;
  uint8_t os = 0;               // OS id ('M', 'U', ...); 0 at level 0
  uint16_t crc = 0;             // CRC-16 of the original data
  bool hasCrc = true;           // false for very old level-0 headers without the field
  uint16_t dosDate = 0;         // levels 0/1: as stored; levels 2/3: local time of unixTime
  uint16_t dosTime = 0;
  uint32_t unixTime = 0;        // levels 2/3 (0 otherwise)
  uint32_t unixMode = 0;        // 0 when the archive stores none
  bool headerCheckOk = true;    // level-0/1 checksum and header CRC (when present) match
  std::string folder;           // CP932, "/" separated, ends in "/" or empty; no leading "/"
  std::string name;             // CP932 base name, cut at the first NUL
  std::vector<LzhExtBlock> blocks;

  // Member path as the archive library reports it: folder + name.
  std::string Path() const { return folder + name; }
  bool IsDirectory() const { return method == "-lhd-"; }
  // Folder entries, symbolic links and other special files are never extracted.
  bool IsRegularFile() const;
};

struct LzhListing {
  std::vector<LzhMember> members;
  bool damaged = false;     // a header could not be read; members lists what came before
  std::string error;        // why (English, for logs and the command-line tool)
  uint64_t firstHeader = 0; // bytes before it (self-extractor code, junk) are kept by writers
  uint64_t endOffset = 0;   // after the last member's data
};

// Lists every member. A file without any recognisable header gives an empty listing
// with damaged = true. A member whose data run past the end of the file is listed
// (its decoding fails) and damaged is set.
LzhListing ListLzhArchive(const ByteSource& archive);
// Convenience: opens the file; a missing or unreadable file gives damaged = true.
LzhListing ListLzhFile(const std::string& path);

// Members (folder entries left out) whose name matches the wildcard text, by the rules
// of UnlhaFindFirst (SplitWildcardText + MemberMatchesAny; empty text = all).
std::vector<LzhMember> MatchingLzhMembers(const LzhListing& listing, const std::string& wildcardText);

enum class LzhDecodeStatus {
  Ok,                 // complete, length and CRC match
  Partial,            // stopped at the requested limit (no CRC check)
  UnsupportedMethod,  // listed, but no decoder (or a folder/link entry)
  DataError,          // length or CRC mismatch, truncated data, input ran out
  Implausible,        // the declared size is more than the method can make of the compressed
                      // size (LzhLargestOriginalSize): refused before anything is decoded
  WriteError,         // extraction only: the file could not be written
  Refused,            // extraction only: unsafe or empty name, not a regular file
};

// True when liblhasa has a decoder for this method.
bool LzhMethodSupported(const std::string& method);

// The most bytes `method` can produce from `compressedSize` compressed bytes (the
// table in docs/lzh.md); 0 for a method we cannot decode. A member declaring more is
// damaged: decoding and extraction refuse it (Implausible) without decoding a byte.
uint64_t LzhLargestOriginalSize(const std::string& method, uint64_t compressedSize);

// Decodes a member into memory. limit = 0 decodes everything and checks length and
// CRC; otherwise decoding stops after `limit` bytes (Partial, or Ok when the member
// is not longer than that). `out` is cleared first. With limit 0 the whole member is
// held in memory: callers check originalSize against their own size cap first.
LzhDecodeStatus DecodeLzhMember(const ByteSource& archive, const LzhMember& member, std::string& out,
                                uint64_t limit = 0);

// Extracts one member into `destFolder` (absolute, existing) under
// ExtractedFileName(member.name): a temporary file created exclusively without
// following links, checked for length and CRC, then renamed over the final name.
// Any failure leaves nothing behind. `writtenPath` receives the final path on success;
// `bytesWritten` the bytes written to the temporary file (never more than the declared
// size), whatever the outcome.
LzhDecodeStatus ExtractLzhMember(const ByteSource& archive, const LzhMember& member,
                                 const std::string& destFolder, std::string* writtenPath = nullptr,
                                 uint64_t* bytesWritten = nullptr);

// CRC-16/ARC as LZH uses it for data and headers (crc = running value, start with 0).
uint16_t LzhCrc16(const void* data, size_t size, uint16_t crc = 0);

}  // namespace kadrel
