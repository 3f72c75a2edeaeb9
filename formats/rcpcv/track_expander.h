#pragma once
// Plays one Recomposer track into timed MIDI events: step and gate times, ties, loops,
// same-measure references, channel and port changes, exclusives. Tempo and key changes
// go to the song's conductor. Expansion is bounded by the limits; where it stops early
// it says so in the warnings.

#include <cstdint>

#include "formats/rcpcv/midi_events.h"
#include "formats/rcpcv/rcp_song.h"
#include "formats/rcpcv/warning_list.h"

namespace kadrel {

struct ExpandLimits {
  int infiniteLoopPasses = 2;      // passes of a loop whose count is 0
  int maxLoopDepth = 16;           // deeper loops play once
  int maxSameMeasureChain = 100;   // same-measure references followed in a row
  uint64_t maxUnits = 8'000'000;   // event units interpreted in the whole song
  uint64_t maxEvents = 1'000'000;  // MIDI events written in the whole song
  int64_t maxQuarterNotes = 8000;  // song length
};

// State shared by the tracks of one song.
struct SongExpansion {
  MidiTrack conductor;
  uint32_t seq = 0;
  uint64_t unitsUsed = 0;
  uint64_t eventsUsed = 0;
  bool usesPortB = false;
  bool exhausted = false;  // the unit or event budget ran out
};

// signedStartOffset: whether ST+ is read as a signed byte.
MidiTrack ExpandTrack(const RcpSong& song, const RcpTrack& track, int trackIndex, bool signedStartOffset,
                      const ExpandLimits& limits, SongExpansion& state, WarningList& warnings);

}  // namespace kadrel
