#include <algorithm>

#include <fmt/format.h>

#include "formats/rcpcv/rcp_song.h"
#include "base/byte_cursor.h"

namespace kadrel {
namespace {

constexpr std::string_view kRcpSignature = "RCM-PC98V2.0(C)COME ON MUSIC";
constexpr std::string_view kGSignature = "COME ON MUSIC RECOMPOSER RCP3.0";
constexpr std::string_view kFooter = "RCFW";

struct Layout {
  size_t headerSize;      // bytes before the first track
  size_t trackHeader;     // bytes of a track header
  size_t unitSize;        // bytes of an event unit
  size_t titleSize, memoAt, memoLine;
  size_t exclusiveAt, exclusiveMemo;  // first entry, memo part of each 48-byte entry
};

constexpr Layout kRcpLayout{0x586, 44, 4, 64, 0x60, 28, 0x406, 24};
// The template of a G-family user exclusive starts one byte earlier than in RCP files:
// real files end the memo at +23 and begin the F7 padding there.
constexpr Layout kGLayout{0xC98, 46, 6, 64, 0xA0, 30, 0xB18, 23};

// Bounds-checked little cursor over the input.
class Bytes {
 public:
  explicit Bytes(std::string_view b) : b_(b) {}
  size_t Size() const { return b_.size(); }
  // Past the end of the song every byte reads as 0.
  uint8_t U8(size_t at) const { return U8At(b_, at).value_or(0); }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(U8(at) | U8(at + 1) << 8); }
  uint32_t U32(size_t at) const { return uint32_t(U16(at)) | uint32_t(U16(at + 2)) << 16; }
  std::string_view Slice(size_t at, size_t n) const {
    if (at >= b_.size()) return {};
    return b_.substr(at, std::min(n, b_.size() - at));
  }

 private:
  std::string_view b_;
};

std::string TrimmedText(std::string_view s) {
  size_t end = s.size();
  while (end > 0 && (s[end - 1] == ' ' || s[end - 1] == '\0')) --end;
  return std::string(s.substr(0, end));
}

// A control-file name: up to the first NUL, trailing blanks removed.
std::string FileNameField(std::string_view s) {
  size_t nul = s.find('\0');
  return TrimmedText(s.substr(0, nul));
}

RcpUnit UnitAt(const Bytes& in, size_t at, RcpFamily family) {
  RcpUnit u;
  u.cmd = in.U8(at);
  const size_t extra = family == RcpFamily::kRcp ? 3 : 5;
  for (size_t i = 0; i < extra; ++i) u.raw[i] = in.U8(at + 1 + i);
  if (family == RcpFamily::kRcp) {
    u.step = u.raw[0];
    u.p1 = u.raw[1];
    u.p2 = u.raw[2];
  } else {
    u.p2 = u.raw[0];
    u.step = static_cast<uint16_t>(u.raw[1] | u.raw[2] << 8);
    u.p1 = static_cast<uint16_t>(u.raw[3] | u.raw[4] << 8);
  }
  return u;
}

bool IsTrackEnd(uint8_t cmd) { return cmd == 0xFE || cmd == 0xFF; }

// Reads one track at pos; returns the number of bytes it occupies (0 = nothing left).
size_t ReadTrack(const Bytes& in, size_t pos, RcpFamily family, const Layout& layout, int index,
                 RcpTrack& track, WarningList& warnings) {
  const size_t available = in.Size() - pos;
  const uint64_t stored = family == RcpFamily::kRcp ? in.U16(pos) : in.U32(pos);
  size_t length = 0;
  bool trusted = stored >= layout.trackHeader + layout.unitSize && stored <= available;
  if (trusted) {
    const size_t units = (stored - layout.trackHeader) / layout.unitSize;
    trusted = IsTrackEnd(in.U8(pos + layout.trackHeader + (units - 1) * layout.unitSize));
  }
  if (trusted) {
    length = static_cast<size_t>(stored);
  } else {
    // A wrong length field: the track runs to its first end mark.
    size_t at = pos + layout.trackHeader;
    while (at + layout.unitSize <= in.Size() && !IsTrackEnd(in.U8(at))) at += layout.unitSize;
    if (at + layout.unitSize <= in.Size()) at += layout.unitSize;
    length = std::min(at, in.Size()) - pos;
    warnings.Add(fmt::format("track {}: its length field is wrong; read up to its end mark", index + 1));
  }

  const size_t h = family == RcpFamily::kRcp ? 0 : 2;  // G headers have a 32-bit length
  track.number = in.U8(pos + 2 + h);
  track.channel = in.U8(pos + 4 + h);
  track.key = in.U8(pos + 5 + h);
  track.startOffset = in.U8(pos + 6 + h);
  track.muted = (in.U8(pos + 7 + h) & 1) != 0;
  track.memo = TrimmedText(in.Slice(pos + 8 + h, 36));
  if (length > layout.trackHeader) {
    const size_t count = (length - layout.trackHeader) / layout.unitSize;
    track.units.reserve(count);
    for (size_t i = 0; i < count; ++i)
      track.units.push_back(UnitAt(in, pos + layout.trackHeader + i * layout.unitSize, family));
  }
  return length;
}

}  // namespace

bool LooksLikeRcp(std::string_view bytes) { return bytes.substr(0, kRcpSignature.size()) == kRcpSignature; }
bool LooksLikeG(std::string_view bytes) { return bytes.substr(0, kGSignature.size()) == kGSignature; }
bool LooksLikeMcp(std::string_view bytes) {
  if (bytes.size() < 0x100) return false;
  std::string_view start = bytes.substr(0, 2);
  return start == "M1" || start == "MC" || start == std::string_view("\0\0", 2);
}

RcpReadResult ReadRcpSong(std::string_view bytes, RcpSong& song, WarningList& warnings) {
  song = RcpSong{};
  if (LooksLikeRcp(bytes)) {
    song.family = RcpFamily::kRcp;
  } else if (LooksLikeG(bytes)) {
    song.family = RcpFamily::kG;
  } else {
    return LooksLikeMcp(bytes) ? RcpReadResult::kUnsupported : RcpReadResult::kNotRecomposer;
  }
  const Layout& layout = song.family == RcpFamily::kRcp ? kRcpLayout : kGLayout;
  if (bytes.size() < layout.headerSize) return RcpReadResult::kTruncated;
  const Bytes in(bytes);

  song.title = TrimmedText(in.Slice(0x20, layout.titleSize));
  for (size_t line = 0; line < 12; ++line)
    song.memo.push_back(TrimmedText(in.Slice(layout.memoAt + line * layout.memoLine, layout.memoLine)));

  int trackCount = 18;
  if (song.family == RcpFamily::kRcp) {
    song.timebase = in.U8(0x1C0) | in.U8(0x1E7) << 8;
    song.tempo = in.U8(0x1C1);
    song.beatNumerator = in.U8(0x1C2);
    song.beatDenominator = in.U8(0x1C3);
    song.key = in.U8(0x1C4);
    song.playBias = static_cast<int8_t>(in.U8(0x1C5));
    song.controlFiles.push_back({FileNameField(in.Slice(0x1C6, 16)), ControlFileKind::kCm6, 0});
    song.controlFiles.push_back({FileNameField(in.Slice(0x1D6, 16)), ControlFileKind::kGsd, 0});
    const uint8_t count = in.U8(0x1E6);
    song.trackCountStored = count != 0;
    if (count == 36) {
      trackCount = 36;
    } else if (count != 0 && count != 18) {
      warnings.Add(fmt::format("unusual track count {} in the header; 18 tracks read", count));
    }
  } else {
    const uint16_t count = in.U16(0x208);
    song.timebase = in.U16(0x20A);
    song.tempo = in.U16(0x20C);
    song.beatNumerator = in.U8(0x20E);
    song.beatDenominator = in.U8(0x20F);
    song.key = in.U8(0x210);
    song.playBias = static_cast<int8_t>(in.U8(0x211));
    song.controlFiles.push_back({FileNameField(in.Slice(0x2B8, 16)), ControlFileKind::kCm6, 0});
    song.controlFiles.push_back({FileNameField(in.Slice(0x298, 16)), ControlFileKind::kGsd, 0});
    song.controlFiles.push_back({FileNameField(in.Slice(0x2A8, 16)), ControlFileKind::kGsd, 1});
    song.trackCountStored = true;
    if (count >= 1 && count <= 99) {
      trackCount = count;
    } else {
      trackCount = 36;
      warnings.Add(fmt::format("unusual track count {} in the header; up to 36 tracks read", count));
    }
  }
  std::erase_if(song.controlFiles, [](const RcpControlFile& f) { return f.name.empty(); });
  for (size_t i = 0; i < 8; ++i) {
    const size_t entry = layout.exclusiveAt + i * 48;
    song.userExclusive[i] = std::string(in.Slice(entry + layout.exclusiveMemo, 48 - layout.exclusiveMemo));
  }
  if (song.timebase <= 0 || song.timebase >= 0x8000) {
    warnings.Add(fmt::format("invalid timebase {}; 48 used", song.timebase));
    song.timebase = 48;
  }
  if (song.tempo <= 0) {
    warnings.Add("tempo 0 in the header; 120 used");
    song.tempo = 120;
  }

  size_t pos = layout.headerSize;
  for (int i = 0; i < trackCount; ++i) {
    if (pos + layout.trackHeader > in.Size()) {
      if (pos < in.Size() && in.Slice(pos, kFooter.size()) != kFooter)
        warnings.Add(fmt::format("the file ends inside track {}", i + 1));
      break;
    }
    if (in.Slice(pos, kFooter.size()) == kFooter) break;
    RcpTrack track;
    const size_t used = ReadTrack(in, pos, song.family, layout, i, track, warnings);
    if (used == 0) break;
    song.tracks.push_back(std::move(track));
    pos += used;
  }
  return RcpReadResult::kOk;
}

}  // namespace kadrel
