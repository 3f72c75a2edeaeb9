#pragma once
// Timed MIDI events as the expander produces them and the SMF writer consumes them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

enum class MidiEventKind : uint8_t {
  kNoteOff,  // sorts before everything else at the same tick
  kChannel,  // status + 1 or 2 data bytes
  kSysEx,    // F0 ... F7 in the track's data
  kMeta,     // type in status, payload in the track's data
  kDeleted,  // a note-on whose note turned out to lie wholly before the song start
};

struct MidiEvent {
  int64_t tick = 0;
  uint32_t seq = 0;  // generation order; breaks ties at equal ticks
  MidiEventKind kind = MidiEventKind::kChannel;
  uint8_t status = 0;
  uint8_t d1 = 0, d2 = 0;
  uint32_t dataOffset = 0, dataLength = 0;
};

// One track of events plus the bytes its SysEx and meta events refer to.
class MidiTrack {
 public:
  std::string name;
  int64_t endTick = 0;
  std::vector<MidiEvent> events;
  std::string data;

  void AddChannel(int64_t tick, uint32_t seq, uint8_t status, uint8_t d1, uint8_t d2 = 0) {
    MidiEvent e;
    e.tick = tick;
    e.seq = seq;
    e.status = status;
    e.d1 = d1;
    e.d2 = d2;
    e.kind = (status & 0xF0) == 0x80 ? MidiEventKind::kNoteOff : MidiEventKind::kChannel;
    events.push_back(e);
  }
  void AddData(int64_t tick, uint32_t seq, MidiEventKind kind, uint8_t type, std::string_view bytes) {
    MidiEvent e;
    e.tick = tick;
    e.seq = seq;
    e.kind = kind;
    e.status = type;
    e.dataOffset = static_cast<uint32_t>(data.size());
    e.dataLength = static_cast<uint32_t>(bytes.size());
    data += bytes;
    events.push_back(e);
  }
  std::string_view DataOf(const MidiEvent& e) const { return std::string_view(data).substr(e.dataOffset, e.dataLength); }
  // Note-offs first at equal ticks, otherwise generation order; deleted events go.
  void Sort();
};

}  // namespace kadrel
