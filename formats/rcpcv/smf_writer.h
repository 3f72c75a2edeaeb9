#pragma once
// Standard MIDI file, format 1: the first track is the conductor.

#include <string>
#include <vector>

#include "formats/rcpcv/midi_events.h"

namespace kadrel {

// Sorts each track, writes its name (FF 03) first when it has one, and ends it at its
// end tick or its last event. Port events (FF 21) are written only when writePorts is set.
std::string WriteSmf(int division, std::vector<MidiTrack>& tracks, bool writePorts);

}  // namespace kadrel
