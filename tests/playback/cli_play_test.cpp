// kadrel-cli play with stand-in players on PATH and no settings store: the slots are
// those a first start would register.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "play_fixture.h"
#include "support/process.h"

namespace kadrel::test {
namespace {

class CliPlay : public ::testing::Test {
 protected:
  CliPlay() { ::mkdir((dir.path() + "run").c_str(), 0700); }
  ProcessResult Play(std::vector<std::string> args) {
    args.insert(args.begin(), "play");
    return RunCli(args, {"PATH=" + programs.dir.path() + ":/usr/bin:/bin", "HOME=" + dir.path(),
                         "KADREL_CONFIG_DIR=" + dir.path() + "config", "XDG_RUNTIME_DIR=" + dir.path() + "run",
                         "FAKE_PLAYER_LOG=" + log, "FAKE_PLAYER_MS=0"});
  }
  std::string RunFolderContents() {
    std::string names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() + "run/kadrel", ec))
      names += e.path().filename().string() + " ";
    return names;
  }

  TempDir dir;
  FakeProgramsOnPath programs{{"timidity", "mpg123"}};
  std::string log = dir.path() + "log";
};

TEST_F(CliPlay, ADryRunPrintsTheCommandAndStartsNothing) {
  const std::string song = dir.Write("music/SONG.MID", "MThd");
  ProcessResult r = Play({"--dry-run", song});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  const auto& j = lines[0];
  EXPECT_EQ(j["slot"], 1);
  EXPECT_EQ(j["program"], programs.Path("timidity"));
  EXPECT_EQ(j["argv"].back(), song);
  EXPECT_EQ(j["commandLine"].get<std::string>().rfind(programs.Path("timidity") + " -idq", 0), 0u);
  EXPECT_EQ(j["flags"], nlohmann::json::array());
  EXPECT_EQ(j["conversion"], "none");
  EXPECT_FALSE(j.contains("pid"));
  EXPECT_TRUE(ReadFakeStarts(log).empty());
  EXPECT_EQ(RunFolderContents(), "");
}

TEST_F(CliPlay, WaitingReportsThePlayersEndAndItGetsTheNameUnchanged) {
  const std::string song = dir.Write("music/\x83\x5c\x83\x93\x83\x4f $x;.mp3", "ID3");
  ProcessResult r = Play({"--wait", "--slot", "2", song});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["exit"], 0);
  EXPECT_TRUE(lines[0].contains("ms"));
  auto starts = ReadFakeStarts(log);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].pid, lines[0]["pid"]);
  EXPECT_EQ(starts[0].args.back(), song);
}

TEST_F(CliPlay, AnArchiveMemberIsPlayedFromTheRunsOwnFolder) {
  ProcessResult r = Play({"--wait", std::string(KADREL_SAMPLES_DIR) + "/HARUKAZE.LZH", "haru.rcp"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto starts = ReadFakeStarts(log);
  ASSERT_EQ(starts.size(), 1u);
  const std::string played = starts[0].args.back();
  EXPECT_EQ(played.rfind(dir.path() + "run/kadrel/play-", 0), 0u) << played;
  EXPECT_EQ(played.substr(played.size() - 9), "/HARU.RCP");
  EXPECT_EQ(RunFolderContents(), "") << "the run's folder goes when the player has ended";
}

TEST_F(CliPlay, DesignedFailuresGoToStandardErrorWithExitCodeOne) {
  ProcessResult missing = Play({dir.path() + "music/NOTHING.MID"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("NOTHING.MID が見つかりません."), std::string::npos) << missing.err;
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(Play({"--slot", "7", "x.mid"}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel::test
