// A real player end to end: a sample MIDI file rendered by TiMidity++ to a WAVE file,
// started the way a slot starts it.

#include <gtest/gtest.h>

#include <chrono>

#include "playback/player_command.h"
#include "playback/player_process.h"
#include "settings/platform_folders.h"
#include "support/temp_dir.h"

namespace kadrel::test {
namespace {

TEST(RealPlayer, TimidityRendersASampleWithTheSlotsArguments) {
  const std::string timidity = FindProgramOnPath("/usr/bin:/usr/local/bin", {"timidity"});
  if (timidity.empty()) GTEST_SKIP() << "timidity is not installed (scripts/setup installs it)";
  TempDir dir;
  const std::string out = dir.path() + "out.wav";
  TMusicFileInfo item;
  PlayerCommand cmd = BuildPlayerArguments(timidity, item, std::string(KADREL_SAMPLES_DIR) + "/SONG1.MID", {});
  cmd.argv.insert(cmd.argv.end() - 1, {"-Ow", "-o", out});

  SpawnResult r = SpawnProcess(cmd.argv);
  ASSERT_TRUE(r.process) << r.error;
  ASSERT_TRUE(r.process->WaitForExit(std::chrono::seconds(60)));
  EXPECT_EQ(r.process->WaitStatus(), 0);
  const std::string wave = ReadFileBytes(out);
  ASSERT_GT(wave.size(), 44000u) << "a few seconds of sound, not an empty header";
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ(wave.substr(8, 4), "WAVE");
}

}  // namespace
}  // namespace kadrel::test
