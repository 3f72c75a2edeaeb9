#pragma once
// Places the exclusives of the control files in time before the song: each message
// after the previous one has gone over the wire (31 250 baud) and the module has had
// its pause. The song then starts on the first bar line after the last message.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/rcpcv/control_file.h"
#include "formats/rcpcv/midi_events.h"

namespace kadrel {

struct SetupGroup {
  int port = 0;       // 0 = port A, 1 = port B
  std::string label;  // the control file's name as stored
  std::vector<SetupMessage> messages;
};

struct SetupLayout {
  std::vector<MidiTrack> tracks;  // one per port used, in port order
  int64_t songStart = 0;          // ticks the song moves later
};

// tempoMicros is the tempo at the start of the song (µs per quarter note),
// measureTicks the length of a bar.
SetupLayout LayOutSetup(const std::vector<SetupGroup>& groups, int timebase, uint32_t tempoMicros,
                        int64_t measureTicks);

}  // namespace kadrel
