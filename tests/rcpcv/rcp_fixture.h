#pragma once
// Hand-made Recomposer files for the converter tests, and a reader that turns the
// resulting Standard MIDI file into one short text per event.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel::test {

// One event unit: RCP order (cmd, step, gate/p1, velocity/p2).
std::string U(int cmd, int step, int p1 = 0, int p2 = 0);
// One G-family unit: cmd, velocity/p2, step (16 bits), gate/p1 (16 bits).
std::string G(int cmd, int p2, int step, int p1);

struct FixtureTrack {
  int channel = 0;
  int key = 0;
  int startOffset = 0;
  int mode = 0;
  std::string memo;
  std::string units;   // without the end mark, which Build adds
  long length = -1;    // stored length field; -1 = the true length
};

struct Fixture {
  bool g = false;
  int timebase = 48, tempo = 120, numerator = 4, denominator = 4, key = 0, bias = 0;
  int trackCount = 18;  // stored count (RCP: 0, 18 or 36)
  std::string cm6, gsd, gsdB;  // control-file names (gsdB: G files only)
  std::array<std::string, 8> userExclusive;
  std::vector<FixtureTrack> tracks;
  std::string Build() const;
};

struct SmfEvent {
  int track;
  int64_t tick;
  std::string text;  // "48 on 0 60 100", "96 off 0 60", "0 cc 0 7 100", "0 sysex 41 10 ...", "0 tempo 500000"
};

struct Smf {
  bool valid = false;
  int division = 0;
  int tracks = 0;
  std::vector<SmfEvent> events;
  double LastNoteSeconds() const;  // when the last note ends, by the tempo map
};

Smf ParseSmf(std::string_view bytes);
// Texts of the events whose kind (second word) is one of kinds ("on off"), in file order
// per track, tracks after each other.
std::vector<std::string> Texts(const Smf& smf, std::string_view kinds);

}  // namespace kadrel::test
