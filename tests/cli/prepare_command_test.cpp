// kadrel-cli prepare (what continuous play hands to the player) and one run of
// kadrel-cli listplay through a real MIDI renderer.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../playlist/playlist_test_util.h"
#include "playlist/playlist_io.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

const std::string kSamples = std::string(KADREL_SAMPLES_DIR) + "/";

class PrepareCliTest : public ::testing::Test {
 protected:
  // Runs the tool with a private configuration and temporary folder.
  std::string Run(const std::string& arguments, int* exitCode = nullptr) {
    const test::ProcessResult r = test::RunCliScript(home_.path(), arguments);
    if (exitCode) *exitCode = r.exitCode;
    return r.out;
  }
  // Slot 1 plays `player` and converts Recomposer files first.
  void RegisterPlayer(const std::string& player) {
    ASSERT_EQ(Run("settings set --str '\\Player' P1path '" + player + "'"), "");
    Run("settings set --int '\\Player' P1Info 3");
  }
  nlohmann::json Prepare(const std::string& arguments, int* exitCode = nullptr) {
    const auto lines = test::JsonLines(Run("prepare " + arguments, exitCode));
    return lines.size() == 1 ? lines[0] : nlohmann::json();
  }

  test::TempDir home_;
};

TEST_F(PrepareCliTest, LooseFileAndArchiveMemberAreConvertedForTheSlot) {
  RegisterPlayer("/bin/true");
  std::string out = home_.MakeFolder("out");
  if (out.back() != '/') out += '/';
  nlohmann::json j = Prepare("--slot 1 --out '" + out + "' '" + kSamples + "HARU.RCP'");
  ASSERT_TRUE(j.is_object());
  EXPECT_EQ(j["destination"], out + "HARU.MID");
  EXPECT_EQ(j["slot"], 1);
  EXPECT_EQ(j["conversion"], "rcpcv");
  EXPECT_TRUE(j["module"].is_null());
  EXPECT_EQ(j["result"], 0);
  EXPECT_TRUE(j["ms"].is_number());
  EXPECT_EQ(test::ReadFileBytes(out + "HARU.MID").substr(0, 4), "MThd");

  j = Prepare("--slot 1 --out '" + out + "' '" + kSamples + "HARUKAZE.LZH' HARU.RCP");
  EXPECT_EQ(j["destination"], out + "HARU.MID");
  EXPECT_EQ(j["conversion"], "rcpcv");
  EXPECT_EQ(j["result"], 0);

  // A loose MIDI file is played where it lies.
  j = Prepare("--slot 1 --out '" + out + "' '" + kSamples + "SONG1.MID'");
  EXPECT_EQ(j["destination"], kSamples + "SONG1.MID");
  EXPECT_EQ(j["conversion"], "none");

  int exitCode = 0;
  j = Prepare("--slot 1 --out '" + out + "' '" + kSamples + "HARUKAZE.LZH' NOSUCH.MID", &exitCode);
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(j["result"], -2);
  EXPECT_TRUE(j["destination"].is_null());
}

// Valid RIFF/WAVE with a data chunk that holds sound.
bool IsWave(const std::string& bytes) {
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
  const auto data = bytes.find("data");
  return data != std::string::npos && bytes.size() > data + 8 + 1000;
}

TEST_F(PrepareCliTest, ListPlayRendersALooseFileAndARecomposerMemberThroughTimidity) {
  if (::access("/usr/bin/timidity", X_OK) != 0) GTEST_SKIP() << "timidity is not installed";
  // The player is timidity under its own name (so that continuous play recognises it),
  // writing each piece to a WAVE file instead of the sound card.
  std::string waves = home_.MakeFolder("wav");
  if (waves.back() != '/') waves += '/';
  const std::string player = home_.Write("bin/timidity",
                                         "#!/bin/sh\nfor last; do :; done\n"
                                         "exec /usr/bin/timidity -Ow -o \"" +
                                             waves + "$(basename \"$last\").wav\" \"$@\"\n");
  ::chmod(player.c_str(), 0755);
  RegisterPlayer(player);

  TPLInfo list;
  test::AddItem(list, kSamples, test::MusicRecord("SONG1"));
  test::AddItem(list, kSamples, test::MusicRecord("HARU", kRowRCP, "HARUKAZE.LZH"));
  SilentMessageBox box;
  const std::string listPath = home_.path() + "list.mpl";
  ASSERT_EQ(SavePlayListFile(list, listPath, false, box), SaveResult::Saved);

  int exitCode = -1;
  const auto events = test::JsonLines(Run("listplay --mode 10 '" + listPath + "'", &exitCode));
  ASSERT_EQ(exitCode, 0);
  int launches = 0;
  for (const auto& e : events) {
    if (e["event"] == "launch") ++launches;
    if (e["event"] == "ended") {
      EXPECT_EQ(e["reason"], "end") << e.dump();
    }
    EXPECT_NE(e["event"], "message") << e.dump();
  }
  EXPECT_EQ(launches, 2);
  EXPECT_TRUE(IsWave(test::ReadFileBytes(waves + "SONG1.MID.wav")));
  EXPECT_TRUE(IsWave(test::ReadFileBytes(waves + "HARU.MID.wav")));  // converted from the member
}

}  // namespace
}  // namespace kadrel
