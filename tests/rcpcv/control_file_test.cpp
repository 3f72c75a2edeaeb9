// CM6 and GSD control files: hand-made files with known values, the exclusives they
// become, and where those land in the converted song.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include <fmt/format.h>

#include "formats/rcpcv/control_file.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "rcpcv/rcp_fixture.h"

namespace kadrel::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::string Hex(std::string_view bytes) {
  std::string s;
  for (char c : bytes) s += fmt::format("{}{:02X}", s.empty() ? "" : " ", uint8_t(c));
  return s;
}

// "address length" of each DT1 message after the reset, e.g. "08 06 00 246".
std::vector<std::string> Addresses(const std::vector<SetupMessage>& messages) {
  std::vector<std::string> out;
  for (const auto& m : messages)
    out.push_back(fmt::format("{} {}", Hex(m.bytes.substr(5, 3)), m.bytes.size() - 10));
  return out;
}

std::string Cm6(bool cm64, size_t size = 0x5849) {
  std::string f(size, '\0');
  f.replace(0, 13, "COME ON MUSIC");
  f.replace(0x10, 12, cm64 ? std::string("R CM-64   \x03\0", 12) : std::string("R MT-32   \0\0", 12));
  for (size_t key = 0; key < 85; ++key) f[0x130 + key * 4] = 64;  // rhythm keys on rhythm timbres
  return f;
}

std::string Gsd() {
  std::string f(0x0A71, '\0');
  f.replace(0, 13, "COME ON MUSIC");
  f.replace(0x0E, 14, "GS CONTROL 1.0");
  f[0x0A6F] = 0x20, f[0x0A70] = 0x40;  // master fine and coarse tuning at their centre
  return f;
}

TEST(RolandDataSet, AddressesCarryInSevenBitsAndChecksumsClose) {
  EXPECT_EQ(Hex(RolandDataSet(0x42, 0x40007F, std::string(1, '\0'))), "F0 41 10 42 12 40 00 7F 00 41 F7");
  EXPECT_EQ(Hex(RolandDataSet(0x42, 0x400004, "\x64")), "F0 41 10 42 12 40 00 04 64 58 F7");
  EXPECT_EQ(Hex(RolandDataSet(0x16, 0x100000, "\xFF")), "F0 41 10 16 12 10 00 00 7F 71 F7");  // data cut to 7 bits
  EXPECT_EQ(RolandAddressPlus(0x040000, 0xF6), 0x040176u);
  EXPECT_EQ(RolandAddressPlus(0x030110, 256), 0x030310u);
  EXPECT_EQ(RolandAddressPlus(0x087F7F, 1), 0x090000u);
}

TEST(Cm6File, LoadsTheAreasInAnOrderThatKeepsThePartTimbres) {
  std::string f = Cm6(true);
  for (int i = 0; i < 0x17; ++i) f[0x80 + i] = static_cast<char>(i + 1);
  f[0x0A34 + 5 * 8] = 2, f[0x0A34 + 5 * 8 + 1] = 7;  // patch 6 uses memory timbre 8
  f[0x0130 + 10 * 4] = 3;                             // key 34 uses memory timbre 4
  f[0x0E34 + 3 * 0x100] = 'T';
  std::vector<SetupMessage> out;
  std::string problem;
  ASSERT_TRUE(ControlFileMessages(ControlFileKind::kCm6, f, out, problem));
  EXPECT_THAT(problem, IsEmpty());
  EXPECT_EQ(Hex(out[0].bytes), "F0 41 10 16 12 7F 00 00 00 01 F7");
  EXPECT_EQ(Hex(out[1].bytes),
            "F0 41 10 16 12 10 00 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 5C F7");
  EXPECT_EQ(out[2].bytes.substr(8, 1), "T");
  EXPECT_THAT(Addresses(out),
              ElementsAre("7F 00 00 1", "10 00 00 23", "08 06 00 246", "08 0E 00 246",  // used memory timbres only
                          "05 00 00 256", "05 02 00 256", "05 04 00 256", "05 06 00 256", "03 00 00 144",
                          "03 01 10 256", "03 03 10 84", "04 00 00 246", "04 01 76 246", "04 03 6C 246",
                          "04 05 62 246", "04 07 58 246", "04 09 4E 246", "04 0B 44 246", "04 0D 3A 246",
                          "51 00 00 247", "51 01 77 247", "51 03 6E 247", "51 05 65 247", "51 07 5C 247",
                          "51 09 53 247", "51 0B 4A 247", "51 0D 41 247", "51 0F 38 247", "51 11 2F 209",
                          "50 00 00 126", "52 00 00 17"));
}

TEST(Cm6File, ShortOrForeignFilesAreRecognised) {
  std::vector<SetupMessage> out;
  std::string problem;
  ASSERT_TRUE(ControlFileMessages(ControlFileKind::kCm6, Cm6(false, 0x4E34), out, problem));
  EXPECT_EQ(Addresses(out).back(), "04 0D 3A 246");  // no CM-32P areas

  ASSERT_TRUE(ControlFileMessages(ControlFileKind::kCm6, Cm6(true, 0x5000), out, problem));
  EXPECT_THAT(problem, HasSubstr("CM-32P"));
  EXPECT_THAT(Addresses(out), Not(Contains(HasSubstr("52 00 00"))));

  for (const std::string& bad : {Cm6(true, 0x4E33), Gsd(), std::string("COME ON"), std::string()}) {
    EXPECT_FALSE(ControlFileMessages(ControlFileKind::kCm6, bad, out, problem));
    EXPECT_THAT(out, IsEmpty());
  }
  EXPECT_FALSE(ControlFileMessages(ControlFileKind::kGsd, Cm6(true), out, problem));
  EXPECT_FALSE(ControlFileMessages(ControlFileKind::kGsd, Gsd().substr(0, 0x0A70), out, problem));
}

TEST(GsdFile, PartsGoToTheirBlocksAndDrumsToTheirMaps) {
  std::string f = Gsd();
  f[0x24] = 0x64;                                                      // master volume
  f[0x36 + 9 * 0x7A] = 0x08, f[0x36 + 9 * 0x7A + 1] = 0x19;            // channel 10: bank 8, program 25
  f[0x36 + 9 * 0x7A + 0x79] = 8, f[0x36 + 0x79] = 2, f[0x36 + 10 * 0x7A + 0x79] = 4;  // voice reserves
  f[0x36 + 0x7A + 0x2B] = 0x3E;                                        // channel 2: scale tuning of C
  f[0x07D6 + 0x14C + 81 * 4 + 1] = 0x20;                               // map 2, key 108: pan
  std::vector<SetupMessage> out;
  std::string problem;
  ASSERT_TRUE(ControlFileMessages(ControlFileKind::kGsd, f, out, problem));
  const std::vector<std::string> a = Addresses(out);
  ASSERT_EQ(a.size(), 1 + 4 + 7 + 8 + 16 * 9 + 1 + 8u);
  EXPECT_EQ(Hex(out[0].bytes), "F0 41 10 42 12 40 00 7F 00 41 F7");
  EXPECT_THAT(std::vector<std::string>(a.begin() + 1, a.begin() + 5),
              ElementsAre("40 00 00 4", "40 00 04 1", "40 00 05 1", "40 00 06 1"));
  EXPECT_EQ(Hex(out[2].bytes), "F0 41 10 42 12 40 00 04 64 58 F7");
  // Channel 1 is block 1.
  EXPECT_THAT(std::vector<std::string>(a.begin() + 20, a.begin() + 29),
              ElementsAre("40 11 00 35", "40 11 30 8", "40 11 40 12", "40 21 00 11", "40 21 10 11", "40 21 20 11",
                          "40 21 30 11", "40 21 40 11", "40 21 50 11"));
  EXPECT_EQ(a[20 + 9 * 9], "40 10 00 35");   // channel 10 = block 0
  EXPECT_EQ(a[20 + 10 * 9], "40 1A 00 35");  // channel 11 = block A
  EXPECT_EQ(Hex(out[20 + 9 * 9].bytes.substr(8, 2)), "08 19");
  EXPECT_EQ(Hex(out[22 + 9].bytes.substr(8, 1)), "3E");
  const std::string& reserve = out[20 + 16 * 9].bytes;
  EXPECT_EQ(a[20 + 16 * 9], "40 01 10 16");
  EXPECT_EQ(Hex(reserve.substr(8, 16)), "08 02 00 00 00 00 00 00 00 00 04 00 00 00 00 00");
  EXPECT_THAT(std::vector<std::string>(a.end() - 8, a.end()),
              ElementsAre("41 02 1B 82", "41 04 1B 82", "41 05 1B 82", "41 06 1B 82", "41 12 1B 82", "41 14 1B 82",
                          "41 15 1B 82", "41 16 1B 82"));
  EXPECT_EQ(uint8_t(out[out.size() - 3].bytes[8 + 81]), 0x20);
  EXPECT_THAT(problem, IsEmpty());

  f[0x0A70] = 0x41;  // a semitone up: not known how to send, so reported
  ASSERT_TRUE(ControlFileMessages(ControlFileKind::kGsd, f, out, problem));
  EXPECT_THAT(problem, HasSubstr("tuning"));
}

RcpConvertOptions Files(std::map<std::string, std::string> files) {
  RcpConvertOptions options;
  options.readControlFile = [files](const std::string& name) -> std::optional<std::string> {
    auto it = files.find(name);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  return options;
}

std::vector<SmfEvent> SysExOfTrack(const Smf& smf, int track) {
  std::vector<SmfEvent> out;
  for (const auto& e : smf.events)
    if (e.track == track && e.text.find(" sysex ") != std::string::npos) out.push_back(e);
  return out;
}

TEST(ControlFilesInTheSong, SetupTrackComesFirstAndTheSongStartsOnTheNextBar) {
  Fixture f;
  f.tracks.push_back({});
  f.tracks[0].units = U(0xE7, 0, 0x80) + U(60, 48, 24, 100);
  f.cm6 = "SONG.CM6";
  f.gsd = "SONG.GSD";
  f.numerator = 3;  // bars of 144 ticks
  const std::string bytes = f.Build();
  RcpConvertResult r = ConvertRecomposer(bytes, Files({{"SONG.CM6", Cm6(false, 0x4E34)}, {"SONG.GSD", Gsd()}}));
  ASSERT_EQ(r.error, RcpConvertError::kNone);
  EXPECT_THAT(r.warnings, IsEmpty());
  Smf smf = ParseSmf(r.smf);
  ASSERT_TRUE(smf.valid);
  ASSERT_EQ(smf.tracks, 3);
  const std::vector<SmfEvent> setup = SysExOfTrack(smf, 1);
  ASSERT_GE(setup.size(), 3u);
  EXPECT_EQ(setup[0].text, "0 sysex F0 41 10 16 12 7F 00 00 00 01 F7");
  // The reset (11 bytes on the wire) and its 400 ms pause: 403.52 ms = 38.7 ticks at 120 BPM.
  EXPECT_EQ(setup[1].tick, 39);
  const int64_t lastSysEx = setup.back().tick;
  EXPECT_THAT(Texts(smf, "sysex").back(), HasSubstr("41 16 1B"));  // the GS file follows the MT-32 one
  const std::vector<std::string> notes = Texts(smf, "on off");
  ASSERT_EQ(notes.size(), 2u);
  const int64_t start = std::stoll(notes[0]);
  EXPECT_EQ(start % 144, 0);
  EXPECT_GT(start, lastSysEx);
  EXPECT_LE(start - lastSysEx, 144 + 10);
  EXPECT_EQ(notes[1], fmt::format("{} off 0 60", start + 24));
  // Header meta stays at the start; a tempo change of the song moves with it.
  EXPECT_THAT(Texts(smf, "tempo"), ElementsAre("0 tempo 500000", fmt::format("{} tempo 250000", start)));
}

TEST(ControlFilesInTheSong, PortBGetsItsOwnTrackAndBadFilesLeaveTheSongAlone) {
  Fixture g;
  g.g = true;
  g.tracks.push_back({});
  g.tracks[0].units = G(60, 100, 48, 24);
  g.gsd = "A.GSD";
  g.gsdB = "B.GSD";
  RcpConvertResult r = ConvertRecomposer(g.Build(), Files({{"B.GSD", Gsd()}}));
  EXPECT_THAT(r.warnings, ElementsAre(HasSubstr("A.GSD not found")));
  Smf smf = ParseSmf(r.smf);
  ASSERT_EQ(smf.tracks, 3);
  const std::vector<std::string> ports = Texts(smf, "port");
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0], "0 port 1");
  EXPECT_THAT(Texts(smf, "sysex"), Contains(HasSubstr("40 00 7F 00 41 F7")));

  Fixture f;
  f.tracks.push_back({});
  f.tracks[0].units = U(60, 48, 24, 100);
  f.cm6 = "BAD.CM6";
  f.gsd = "SHORT.GSD";
  r = ConvertRecomposer(f.Build(), Files({{"BAD.CM6", "COME ON MUSIC but nothing else"},
                                          {"SHORT.GSD", Gsd().substr(0, 0x100)}}));
  EXPECT_EQ(r.error, RcpConvertError::kNone);
  EXPECT_THAT(r.warnings, ElementsAre(HasSubstr("BAD.CM6: not an MT-32 control file"),
                                      HasSubstr("SHORT.GSD: the file is incomplete")));
  smf = ParseSmf(r.smf);
  EXPECT_EQ(smf.tracks, 2);
  EXPECT_THAT(Texts(smf, "on"), ElementsAre("0 on 0 60 100"));
}

}  // namespace
}  // namespace kadrel::test
