#include <algorithm>

#include "formats/rcpcv/midi_events.h"

namespace kadrel {

void MidiTrack::Sort() {
  std::erase_if(events, [](const MidiEvent& e) { return e.kind == MidiEventKind::kDeleted; });
  std::sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    const bool aOff = a.kind == MidiEventKind::kNoteOff, bOff = b.kind == MidiEventKind::kNoteOff;
    if (aOff != bOff) return aOff;
    return a.seq < b.seq;
  });
}

}  // namespace kadrel
