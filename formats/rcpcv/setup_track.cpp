#include "formats/rcpcv/setup_track.h"

#include <algorithm>

namespace kadrel {
namespace {

constexpr uint64_t kMicrosPerByte = 320;  // 10 bits at 31 250 baud

int64_t TicksAtOrAfter(uint64_t micros, int timebase, uint32_t tempoMicros) {
  const uint64_t scaled = micros * static_cast<uint64_t>(timebase);
  return static_cast<int64_t>((scaled + tempoMicros - 1) / tempoMicros);
}

}  // namespace

SetupLayout LayOutSetup(const std::vector<SetupGroup>& groups, int timebase, uint32_t tempoMicros,
                        int64_t measureTicks) {
  SetupLayout layout;
  if (tempoMicros == 0 || timebase <= 0) return layout;
  MidiTrack ports[2];
  bool used[2] = {false, false};
  uint32_t seq = 0;
  uint64_t now = 0;
  for (const SetupGroup& g : groups) {
    if (g.messages.empty()) continue;
    const int p = g.port == 1 ? 1 : 0;
    MidiTrack& track = ports[p];
    if (!used[p]) {
      used[p] = true;
      track.AddData(0, seq++, MidiEventKind::kMeta, 0x21, std::string(1, static_cast<char>(p)));
      track.name = "Setup: " + g.label;
    } else {
      track.name += ", " + g.label;
    }
    for (const SetupMessage& m : g.messages) {
      track.AddData(TicksAtOrAfter(now, timebase, tempoMicros), seq++, MidiEventKind::kSysEx, 0xF0, m.bytes);
      now += m.bytes.size() * kMicrosPerByte + m.pauseMicros;
    }
  }
  if (!used[0] && !used[1]) return layout;
  const int64_t end = TicksAtOrAfter(now, timebase, tempoMicros);
  const int64_t bar = std::max<int64_t>(measureTicks, 1);
  layout.songStart = std::max<int64_t>(1, (end + bar - 1) / bar) * bar;
  for (int p = 0; p < 2; ++p) {
    if (!used[p]) continue;
    ports[p].endTick = layout.songStart;
    layout.tracks.push_back(std::move(ports[p]));
  }
  return layout;
}

}  // namespace kadrel
