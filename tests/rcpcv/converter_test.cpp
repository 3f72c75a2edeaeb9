// Hand-made Recomposer files through the converter; the resulting events are compared,
// not the layout of the meta events around them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "formats/rcpcv/recomposer_converter.h"
#include "rcpcv/rcp_fixture.h"

namespace kadrel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Converted {
  RcpConvertResult result;
  Smf smf;
  bool Warned(std::string_view part) const {
    for (const auto& w : result.warnings)
      if (w.find(part) != std::string::npos) return true;
    return false;
  }
};

Converted Convert(const Fixture& f, const RcpConvertOptions& options = {}) {
  Converted c{ConvertRecomposer(f.Build(), options), {}};
  EXPECT_EQ(c.result.error, RcpConvertError::kNone) << c.result.message;
  c.smf = ParseSmf(c.result.smf);
  EXPECT_TRUE(c.smf.valid);
  return c;
}

Fixture OneTrack(std::string units, bool g = false) {
  Fixture f;
  f.g = g;
  f.tracks.push_back({});
  f.tracks[0].units = std::move(units);
  return f;
}

// RCP same-measure reference to the unit at index.
std::string SameMeasure(int index) {
  const int offset = 44 + 4 * index;
  return U(0xFC, 0, offset & 0xFC, offset >> 8);
}

struct EventCase {
  const char* name;
  bool g;
  std::string units;
  const char* kinds;
  std::vector<std::string> expected;
};

class EventTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventTest, ProducesEvents) {
  const EventCase& c = GetParam();
  Converted out = Convert(OneTrack(c.units, c.g));
  EXPECT_EQ(Texts(out.smf, c.kinds), c.expected);
}

const std::string kNote60 = U(60, 12, 6, 100);

INSTANTIATE_TEST_SUITE_P(
    StepGateTies, EventTest,
    ::testing::Values(
        EventCase{"GateShorterThanStep", false, U(60, 48, 24, 100) + U(62, 48, 48, 90), "on off",
                  {"0 on 0 60 100", "24 off 0 60", "48 on 0 62 90", "96 off 0 62"}},
        EventCase{"OffBeforeOnAtEqualTick", false, U(60, 48, 48, 100) + U(60, 48, 24, 100), "on off",
                  {"0 on 0 60 100", "48 off 0 60", "48 on 0 60 100", "72 off 0 60"}},
        EventCase{"TieExtends", false, U(60, 24, 48, 100) + U(60, 24, 96, 80), "on off",
                  {"0 on 0 60 100", "120 off 0 60"}},
        EventCase{"TieShortens", false, U(60, 12, 96, 100) + U(60, 12, 6, 100), "on off",
                  {"0 on 0 60 100", "18 off 0 60"}},
        EventCase{"GateAndVelocityZeroAreRests", false, U(60, 12, 0, 100) + U(61, 12, 10, 0) + U(62, 12, 6, 100),
                  "on off", {"24 on 0 62 100", "30 off 0 62"}},
        EventCase{"GateOutlastsTheEndMark", false, U(60, 12, 200, 100), "on off end",
                  {"0 end", "0 on 0 60 100", "200 off 0 60", "200 end"}},
        EventCase{"SixteenBitStepAndGate", true, G(60, 100, 48, 24) + G(62, 90, 300, 300), "on off",
                  {"0 on 0 60 100", "24 off 0 60", "48 on 0 62 90", "348 off 0 62"}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    LoopsAndSameMeasure, EventTest,
    ::testing::Values(
        EventCase{"ThreePasses", false, U(0xF9, 1) + kNote60 + U(0xF8, 3), "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 60 100"}},
        EventCase{"Nested", false, U(0xF9, 1) + U(0xF9, 1) + kNote60 + U(0xF8, 2) + U(62, 12, 6, 100) + U(0xF8, 2),
                  "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 62 100", "36 on 0 60 100", "48 on 0 60 100",
                   "60 on 0 62 100"}},
        EventCase{"EndlessLoopPlaysTwice", false, U(0xF9, 1) + kNote60 + U(0xF8, 0), "on",
                  {"0 on 0 60 100", "12 on 0 60 100"}},
        EventCase{"BorrowedMeasure", false, kNote60 + U(0xFD, 0) + SameMeasure(0) + U(62, 12, 6, 100), "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 62 100"}},
        EventCase{"ReferenceChain", false,
                  kNote60 + U(0xFD, 0) + SameMeasure(0) + SameMeasure(2) + U(62, 12, 6, 100), "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 60 100", "36 on 0 62 100"}},
        EventCase{"LoopInsideBorrowedMeasure", false,
                  U(0xF9, 1) + kNote60 + U(0xF8, 2) + U(0xFD, 0) + SameMeasure(0) + U(62, 12, 6, 100), "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 60 100", "36 on 0 60 100", "48 on 0 62 100"}},
        EventCase{"GSameMeasure", true,
                  G(60, 100, 12, 6) + G(0xFD, 0, 0, 0) + G(0xFC, 0, 0, 0x30) + G(62, 100, 12, 6), "on",
                  {"0 on 0 60 100", "12 on 0 60 100", "24 on 0 62 100"}}),
    [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    ExclusivesAndChannelMessages, EventTest,
    ::testing::Values(
        EventCase{"TrackExclusiveWithChecksum", false,
                  U(0x98, 0, 0x10, 0x20) + U(0xF7, 0, 0x41, 0x10) + U(0xF7, 0, 0x42, 0x12) +
                      U(0xF7, 0, 0x83, 0x40) + U(0xF7, 0, 0x00, 0x80) + U(0xF7, 0, 0x84, 0xF7) + kNote60,
                  "sysex on", {"0 sysex F0 41 10 42 12 40 00 10 30 F7", "0 on 0 60 100"}},
        EventCase{"RolandParameter", false,
                  U(0xDD, 0, 0x40, 0x00) + U(0xDF, 0, 0x10, 0x42) + U(0xDE, 6, 0x7F, 0x00), "sysex",
                  {"0 sysex F0 41 10 42 12 40 00 7F 00 41 F7"}},
        EventCase{"YamahaParameterHighBit", false, U(0xC0, 0, 0x85, 0x03) + U(0xD0, 0, 1, 2) + U(0xD2, 0, 3, 4),
                  "sysex", {"0 sysex F0 43 10 09 05 03 F7", "0 sysex F0 43 10 4C 01 02 03 04 F7"}},
        EventCase{"ChannelMessages", false,
                  U(0xEB, 1, 7, 100) + U(0xEC, 1, 5) + U(0xE2, 1, 9, 8) + U(0xEE, 1, 0, 0x40) + U(0xEA, 1, 30) +
                      U(0xEC, 1, 0x90) + U(0xE4, 1, 1, 1),
                  "cc pc bend press",
                  {"0 cc 0 7 100", "1 pc 0 5", "2 cc 0 0 8", "2 pc 0 9", "3 bend 0 0 64", "4 press 0 30"}},
        EventCase{"PortChange", false, U(0xE6, 0, 18) + kNote60 + U(0xE6, 0, 0) + U(62, 12, 6, 100),
                  "port on", {"0 port 0", "0 port 1", "0 on 1 60 100"}},
        EventCase{"GRelativeTempo", true, G(0xE7, 0, 0, 0x100), "tempo", {"0 tempo 500000", "0 tempo 125000"}}),
    [](const auto& info) { return info.param.name; });

TEST(ConverterHeader, FieldsReachTheConductor) {
  Fixture f = OneTrack(kNote60);
  f.timebase = 480;
  f.tempo = 150;
  f.key = 0x1E;
  Converted out = Convert(f);
  EXPECT_EQ(out.smf.division, 480);
  EXPECT_THAT(Texts(out.smf, "tempo key"), ElementsAre("0 key -6 1", "0 tempo 400000"));

  Fixture g = OneTrack(G(60, 100, 12, 6), true);
  g.timebase = 96;
  g.tempo = 300;
  Converted gout = Convert(g);
  EXPECT_EQ(gout.smf.division, 96);
  EXPECT_THAT(Texts(gout.smf, "tempo"), ElementsAre("0 tempo 200000"));
}

TEST(ConverterTempo, RelativeChangesAreExactAndBadOnesIgnored) {
  Converted out = Convert(OneTrack(U(0xE7, 48, 0x50) + U(0xE7, 48, 0) + U(0xE7, 0, 0x30, 5) + U(0xF5, 2)));
  EXPECT_THAT(Texts(out.smf, "tempo key"),
              ElementsAre("0 key 0 0", "0 tempo 500000", "0 tempo 400000", "96 tempo 666667", "96 key 2 0"));
  EXPECT_TRUE(out.Warned("0 %"));
  EXPECT_TRUE(out.Warned("gradual"));
}

TEST(ConverterTransposition, TrackKeyBiasAndRhythmTracks) {
  struct Case { int trackKey, bias, note, expected; bool folded; };
  for (const Case& c : {Case{12, 0, 60, 72, false}, Case{0x74, 2, 60, 50, false}, Case{0x80, 5, 36, 36, false},
                        Case{0x3F, 0, 100, 127, true}, Case{0x40, 0, 10, 6, true}}) {
    Fixture f = OneTrack(U(c.note, 12, 6, 100) + U(0xED, 0, 60, 30));
    f.tracks[0].key = c.trackKey;
    f.bias = c.bias;
    Converted out = Convert(f);
    EXPECT_THAT(Texts(out.smf, "on poly"),
                ElementsAre("0 on 0 " + std::to_string(c.expected) + " 100", "12 poly 0 60 30"))
        << c.trackKey << " " << c.bias;
    EXPECT_EQ(out.Warned("by octaves"), c.folded);
  }
}

TEST(ConverterExclusives, UserTemplatesUseTheirChannelAndSplit) {
  Fixture f = OneTrack(U(0x90, 0, 0x7F, 0x05) + U(0x91, 0, 1, 2));
  f.tracks[0].channel = 3;
  f.userExclusive[0] = std::string("\x41\x10\x42\x12\x83\x40\x00\x80\x81\x84", 10);
  f.userExclusive[1] = "\x43\x82\x81";
  EXPECT_THAT(Texts(Convert(f).smf, "sysex"),
              ElementsAre("0 sysex F0 41 10 42 12 40 00 7F 05 3C F7", "0 sysex F0 43 03 02 F7"));

  // Without an output channel a template that names the channel is not sent; the others are.
  f.tracks[0].channel = 0xFF;
  f.tracks[0].units += U(0x90, 0, 0x7F, 0x05);
  EXPECT_THAT(Texts(Convert(f).smf, "sysex"),
              ElementsAre("0 sysex F0 41 10 42 12 40 00 7F 05 3C F7", "0 sysex F0 41 10 42 12 40 00 7F 05 3C F7"));

  Fixture g = OneTrack(G(0x90, 0x22, 0, 0x11), true);
  g.userExclusive[0] = "\x41\x10\x80\x81\x7E";  // 25 bytes from +23 of the entry
  EXPECT_THAT(Texts(Convert(g).smf, "sysex"), ElementsAre("0 sysex F0 41 10 11 22 7E F7"));
}

TEST(ConverterChannels, SilentMutedAndPortBTracks) {
  Fixture f;
  f.trackCount = 36;
  for (int ch : {0xFF, 0x13, 0x02}) {
    f.tracks.push_back({});
    f.tracks.back().channel = ch;
    f.tracks.back().units = kNote60;
  }
  f.tracks[2].mode = 1;  // muted
  Converted out = Convert(f);
  EXPECT_EQ(out.smf.tracks, 2);
  EXPECT_THAT(Texts(out.smf, "port on"), ElementsAre("0 port 1", "0 on 3 60 100"));
}

TEST(ConverterStartOffset, NegativeOffsetsDropWhatEndsBeforeTheStart) {
  Fixture f = OneTrack(U(60, 6, 6, 100) + U(0xEB, 0, 7, 90) + U(62, 12, 24, 100) + U(64, 12, 6, 100));
  f.tracks[0].startOffset = 0xF4;  // -12
  EXPECT_THAT(Texts(Convert(f).smf, "on off cc"),
              ElementsAre("0 cc 0 7 90", "0 on 0 62 100", "6 on 0 64 100", "12 off 0 64", "18 off 0 62"));
}

TEST(ConverterDamaged, WrongLengthsAndFootersAreSurvived) {
  Fixture f = OneTrack(kNote60 + U(62, 12, 6, 100));
  f.tracks.push_back(f.tracks[0]);
  f.tracks[0].length = 50;  // too short: the last unit inside is no end mark
  Converted shortLength = Convert(f);
  EXPECT_EQ(Texts(shortLength.smf, "on").size(), 4u);
  EXPECT_TRUE(shortLength.Warned("length field"));

  f.tracks[1].length = 0xFFFF;  // past the end of the file
  EXPECT_EQ(Texts(Convert(f).smf, "on").size(), 4u);

  Fixture g = OneTrack(G(60, 100, 12, 6), true);
  g.trackCount = 36;
  std::string bytes = g.Build() + "RCFW Ver2.0-000 Serial:" + std::string(11, '\0');
  RcpConvertResult r = ConvertRecomposer(bytes);
  EXPECT_EQ(r.error, RcpConvertError::kNone);
  EXPECT_TRUE(r.warnings.empty());

  std::string truncated = OneTrack(kNote60).Build();
  EXPECT_EQ(ConvertRecomposer(truncated.substr(0, 0x500)).error, RcpConvertError::kTruncated);
  EXPECT_EQ(ConvertRecomposer(std::string(4000, 'x')).error, RcpConvertError::kNotRecomposer);
  EXPECT_EQ(ConvertRecomposer("M1" + std::string(4000, ' ')).error, RcpConvertError::kUnsupported);
  // The file ends inside the notes of its only track.
  EXPECT_EQ(ConvertRecomposer(truncated.substr(0, truncated.size() - 5)).error, RcpConvertError::kNone);
}

TEST(ConverterHostile, ReferencesAndLoopsStayBounded) {
  Converted selfRef = Convert(OneTrack(SameMeasure(0) + kNote60 + SameMeasure(500)));
  EXPECT_THAT(Texts(selfRef.smf, "on"), ElementsAre("0 on 0 60 100"));
  EXPECT_TRUE(selfRef.Warned("same-measure"));

  // Two references that point at each other.
  Converted circle = Convert(OneTrack(SameMeasure(1) + SameMeasure(0) + kNote60));
  EXPECT_THAT(Texts(circle.smf, "on"), ElementsAre("0 on 0 60 100"));

  std::string bomb, emptyBomb;
  for (int i = 0; i < 20; ++i) bomb += U(0xF9, 1), emptyBomb += U(0xF9, 1);
  bomb += U(60, 1, 1, 100);
  for (int i = 0; i < 20; ++i) bomb += U(0xF8, 255), emptyBomb += U(0xF8, 255);
  RcpConvertOptions small;
  small.limits.maxEvents = 5000;
  Converted loud = Convert(OneTrack(bomb), small);
  EXPECT_TRUE(loud.Warned("nested too deep"));
  EXPECT_TRUE(loud.Warned("too many events"));
  EXPECT_LE(loud.smf.events.size(), 5010u);
  small.limits.maxQuarterNotes = 10;
  Converted slow = Convert(OneTrack(U(0xF9, 1) + U(60, 48, 1, 100) + U(0xF8, 255)), small);
  EXPECT_EQ(Texts(slow.smf, "on").size(), 11u);
  EXPECT_TRUE(slow.Warned("longer than 10 quarter notes"));
  Converted quiet = Convert(OneTrack(emptyBomb + kNote60));
  EXPECT_THAT(Texts(quiet.smf, "on"), ElementsAre("0 on 0 60 100"));
}

}  // namespace
}  // namespace kadrel::test
