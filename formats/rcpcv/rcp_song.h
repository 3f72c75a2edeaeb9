#pragma once
// The parts of a Recomposer sequence file the converter needs: header fields, user
// exclusive templates and the raw event units of each track. The reader checks every
// offset against the data; it never throws.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/rcpcv/control_file.h"
#include "formats/rcpcv/warning_list.h"

namespace kadrel {

enum class RcpFamily {
  kRcp,  // RCP and R36: 4-byte events, 44-byte track headers
  kG,    // G18 and G36: 6-byte events, 46-byte track headers
};

// One event unit with its fields already taken apart. For 4-byte units step is b1,
// p1 is b2 and p2 is b3; for 6-byte units p2 is b1, step is b2b3 and p1 is b4b5.
struct RcpUnit {
  uint8_t cmd = 0;
  uint8_t p2 = 0;
  uint16_t step = 0;
  uint16_t p1 = 0;
  // The unit's bytes after the command byte (3 or 5 are used), for text and exclusive
  // continuation units.
  std::array<uint8_t, 5> raw{};
};

struct RcpTrack {
  int number = 0;
  uint8_t channel = 0xFF;  // header value: FF off, 00-0F port A, 10-1F port B
  uint8_t key = 0;         // bit 7: rhythm track; else 7-bit signed transposition
  uint8_t startOffset = 0; // ST+ as stored
  bool muted = false;
  std::string memo;        // bytes as stored, trailing blanks removed
  std::vector<RcpUnit> units;
};

// A control file named in the header, with the port whose module it sets up.
struct RcpControlFile {
  std::string name;  // bytes as stored, up to the first NUL, trailing blanks removed
  ControlFileKind kind = ControlFileKind::kCm6;
  int port = 0;
};

struct RcpSong {
  RcpFamily family = RcpFamily::kRcp;
  std::string title;                // trailing blanks removed
  std::vector<std::string> memo;    // 12 lines, trailing blanks removed
  int timebase = 48;
  int tempo = 120;                  // beats per minute
  int beatNumerator = 4;
  int beatDenominator = 4;
  uint8_t key = 0;
  int8_t playBias = 0;
  bool trackCountStored = false;    // the header names its track count (not 0)
  std::vector<RcpControlFile> controlFiles;  // non-empty names only
  std::array<std::string, 8> userExclusive;  // template bytes, F7 padded
  std::vector<RcpTrack> tracks;
};

enum class RcpReadResult { kOk, kNotRecomposer, kTruncated, kUnsupported };

// Family by signature: 28 bytes "RCM-PC98V2.0(C)COME ON MUSIC" or 31 bytes
// "COME ON MUSIC RECOMPOSER RCP3.0". The extension plays no part.
bool LooksLikeRcp(std::string_view bytes);
bool LooksLikeG(std::string_view bytes);
// The old 1.0 format: "M1", "MC" or two NUL bytes at the start.
bool LooksLikeMcp(std::string_view bytes);

RcpReadResult ReadRcpSong(std::string_view bytes, RcpSong& song, WarningList& warnings);

}  // namespace kadrel
