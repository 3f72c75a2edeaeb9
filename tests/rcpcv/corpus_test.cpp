// Real Recomposer files: they convert, the result parses and a MIDI renderer plays it to
// its end; the C calls and the command line on top.

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "formats/rcpcv/rcpcv.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "rcpcv/rcp_fixture.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel::test {
namespace {

struct CorpusSong {
  const char* path;
  size_t noteEvents;  // note-ons plus note-offs
};

// Note event counts on which independent converters agree for these files. The two
// large songs are only in the shared corpus; the others are in tests/data too.
const CorpusSong kSongs[] = {
    {"rcp/recomposer-file/test.rcp", 15152},     {"rcp/recomposer-file/yuno35pr.rcp", 23796},
    {"rcp/sted2-clone/sted-cli/test.rcp", 32},   {"rcp/sted2-clone/src-tauri/test.rcp", 16},
    {"g36/sted2-clone/test.rcp", 16},
};

std::string FindTimidity() {
  for (std::string path : {"/usr/bin/timidity", "/usr/local/bin/timidity"})
    if (access(path.c_str(), X_OK) == 0) return path;
  return {};
}

class CorpusTest : public ::testing::TestWithParam<CorpusSong> {};

TEST_P(CorpusTest, ConvertsAndPlaysToTheEnd) {
  const std::string path = DataFile(GetParam().path);
  if (path.empty()) return;
  RcpConvertResult result = ConvertRecomposerFile(path);
  ASSERT_EQ(result.error, RcpConvertError::kNone) << result.message;
  const Smf smf = ParseSmf(result.smf);
  ASSERT_TRUE(smf.valid);
  EXPECT_EQ(Texts(smf, "on off").size(), GetParam().noteEvents);

  const std::string timidity = FindTimidity();
  if (timidity.empty()) GTEST_SKIP() << "timidity is not installed; rendering not checked";
  TempDir dir;
  const std::string mid = dir.Write("song.mid", result.smf), raw = dir.path() + "song.raw";
  std::vector<std::string> argv{timidity};
  if (std::filesystem::exists("/etc/timidity/timgm6mb.cfg")) argv.insert(argv.end(), {"-c", "/etc/timidity/timgm6mb.cfg"});
  // 8 kHz, mono, 8 bits: one byte per sample, so the file size is the rendered length.
  argv.insert(argv.end(), {"--preserve-silence", "-idq", "-OrM8", "-s", "8000", "-o", raw, mid});
  ASSERT_EQ(RunProcess(argv).exitCode, 0);
  const double rendered = double(std::filesystem::file_size(raw)) / 8000;
  EXPECT_GE(rendered, smf.LastNoteSeconds() - 1.0) << "the renderer stopped early";
}

INSTANTIATE_TEST_SUITE_P(Songs, CorpusTest, ::testing::ValuesIn(kSongs), [](const auto& info) {
  std::string name = info.param.path;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

std::vector<int> gSteps;

TEST(RcpcvCalls, ConvertFileAndHandOverTheBytes) {
  const std::string path = TestDataDir() + "g36/sted2-clone/test.rcp";
  gSteps.clear();
  RcpcvObject* object = rcpcvConvertFile(path.c_str(), 2, [](const RcpcvProgress* p) { gSteps.push_back(p->step); },
                                         nullptr, nullptr);
  ASSERT_NE(object, nullptr);
  const std::string smf(reinterpret_cast<const char*>(rcpcvGetSMF(object)), rcpcvGetSMFLength(object));
  EXPECT_EQ(smf, ConvertRecomposerFile(path).smf);
  rcpcvDeleteObject(object);
  ASSERT_FALSE(gSteps.empty());
  EXPECT_TRUE(std::is_sorted(gSteps.begin(), gSteps.end()));
  EXPECT_GE(gSteps.front(), 0);
  EXPECT_EQ(gSteps.back(), 99);

  TempDir dir;
  EXPECT_EQ(rcpcvConvertFile(dir.Write("x.rcp", "not a song").c_str(), 2, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(rcpcvConvertFile((dir.path() + "missing.rcp").c_str(), 2, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(rcpcvGetSMFLength(nullptr), 0u);
  EXPECT_EQ(rcpcvGetVersionMajor(), 1);
}

TEST(ConvertCommand, WritesTheFileOrFailsClearly) {
  TempDir dir;
  Fixture f;
  f.tracks.push_back({});
  f.tracks[0].units = U(60, 12, 6, 100);
  f.cm6 = "Song.cm6";
  const std::string song = dir.Write("SONG.R36", f.Build());
  dir.Write("SONG.CM6", "COME ON MUSIC R MT-32");
  EXPECT_EQ(RunCli({"convert", song}).exitCode, 0);
  EXPECT_TRUE(ParseSmf(ReadFileBytes(dir.path() + "SONG.MID")).valid);
  EXPECT_EQ(RunCli({"convert", song, "-o", dir.path() + "out.mid"}).exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() + "out.mid"));

  const std::string bad = dir.Write("bad.rcp", "RCM-PC98V2.0(C)COME ON MUSIC");
  EXPECT_EQ(RunCli({"convert", bad}).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "bad.MID"));
  EXPECT_EQ(RunCli({"convert"}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel::test
