#include "formats/rcpcv/smf_writer.h"
#include "base/byte_cursor.h"

namespace kadrel {
namespace {

void PutVarLen(std::string& out, uint64_t v) {
  v &= 0x0FFFFFFF;
  char buf[4];
  int n = 0;
  buf[n++] = static_cast<char>(v & 0x7F);
  while (v >>= 7) buf[n++] = static_cast<char>(0x80 | (v & 0x7F));
  while (n > 0) out.push_back(buf[--n]);
}

void PutMeta(std::string& out, uint8_t type, std::string_view data) {
  out.push_back(static_cast<char>(0xFF));
  out.push_back(static_cast<char>(type));
  PutVarLen(out, data.size());
  out += data;
}

std::string TrackChunk(MidiTrack& track, bool writePorts) {
  track.Sort();
  std::string body;
  int64_t last = 0;
  if (!track.name.empty()) {
    body.push_back(0);
    PutMeta(body, 0x03, track.name);
  }
  for (const MidiEvent& e : track.events) {
    if (e.kind == MidiEventKind::kMeta && e.status == 0x21 && !writePorts) continue;
    PutVarLen(body, static_cast<uint64_t>(e.tick - last));
    last = e.tick;
    switch (e.kind) {
      case MidiEventKind::kNoteOff:
      case MidiEventKind::kChannel: {
        body.push_back(static_cast<char>(e.status));
        body.push_back(static_cast<char>(e.d1));
        const uint8_t type = e.status & 0xF0;
        if (type != 0xC0 && type != 0xD0) body.push_back(static_cast<char>(e.d2));
        break;
      }
      case MidiEventKind::kSysEx: {
        const std::string_view data = track.DataOf(e);  // F0 ... F7
        body.push_back(static_cast<char>(0xF0));
        PutVarLen(body, data.size() - 1);
        body += data.substr(1);
        break;
      }
      case MidiEventKind::kMeta:
        PutMeta(body, e.status, track.DataOf(e));
        break;
      case MidiEventKind::kDeleted:
        break;
    }
  }
  PutVarLen(body, static_cast<uint64_t>(track.endTick > last ? track.endTick - last : 0));
  PutMeta(body, 0x2F, {});
  std::string chunk = "MTrk";
  AppendBe(chunk, static_cast<uint32_t>(body.size()), 4);
  return chunk + body;
}

}  // namespace

std::string WriteSmf(int division, std::vector<MidiTrack>& tracks, bool writePorts) {
  std::string out = "MThd";
  AppendBe(out, 6, 4);
  AppendBe(out, 1, 2);
  AppendBe(out, static_cast<uint32_t>(tracks.size()), 2);
  AppendBe(out, static_cast<uint32_t>(division), 2);
  for (MidiTrack& t : tracks) out += TrackChunk(t, writePorts);
  return out;
}

}  // namespace kadrel
