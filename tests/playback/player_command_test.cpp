// Choosing a slot and building the player's command.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "playback/player_command.h"
#include "playback/slot_choice.h"
#include "settings/linux_players.h"
#include "support/temp_dir.h"

namespace kadrel::test {
namespace {

TPlayer_data Slot(const std::string& exe, std::initializer_list<int> rows) {
  TPlayer_data p;
  p.ExePath = exe;
  p.InUse = !exe.empty();
  for (int row : rows) p.Formats[static_cast<size_t>(row)] = true;
  return p;
}

TEST(SlotChoice, AFileGoesToTheFirstSlotThatPlaysItsFormat) {
  PlayerSlots playerSlots;
  playerSlots[0] = Slot("/usr/bin/mpg123", {kRowMP3});
  playerSlots[1] = Slot("", {kRowMID});  // no program: never in use, whatever its bits say
  playerSlots[1].InUse = true;
  playerSlots[2] = Slot("/usr/bin/timidity", {kRowMID, kRowRCP});
  playerSlots[3] = Slot("/opt/x/player", {kRowMID});

  EXPECT_EQ(SlotForFile(playerSlots, "/m/song.mid"), 3) << "extension in any letter case";
  EXPECT_EQ(SlotForFile(playerSlots, "/m/SONG.MID"), 3);
  EXPECT_EQ(SlotForFile(playerSlots, "/m/SONG.MP3"), 1);
  EXPECT_EQ(SlotForFile(playerSlots, "/m/song.xyz"), -1);
  EXPECT_EQ(SlotForFile(playerSlots, "/m/song"), -1);
  EXPECT_EQ(SlotForFile(playerSlots, "/m.mid/song"), -1) << "a dot in a folder is no extension";
  EXPECT_EQ(SlotForFile(playerSlots, ""), -1);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/m/a.mid", 2), -1);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/m/a.mid", 0), -1);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/m/a.mid", 7), -1);

  playerSlots[2].InUse = false;
  EXPECT_EQ(SlotForFile(playerSlots, "/m/a.mid"), 4);
  // Only recognised players take part in ListPlay.
  playerSlots[3].Recognised = IsRecognisedPlayer(playerSlots[3].ExePath);
  EXPECT_EQ(ListPlaySlotForFile(playerSlots, "/m/a.mid"), -1);
  playerSlots[2].InUse = true;
  playerSlots[2].Recognised = IsRecognisedPlayer(playerSlots[2].ExePath);
  EXPECT_EQ(ListPlaySlotForFile(playerSlots, "/m/a.mid"), 3);
}

TEST(SlotChoice, ConversionBitsAskForRcpcvOnlyForTheirFormats) {
  PlayerSlots playerSlots;
  playerSlots[0] = Slot("/p", {kRowMID, kRowRCP, kRowR36, kRowG18, kRowG36});
  playerSlots[0].RcpcvRcp = true;
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.rcp", 1), kSlotPlaysAfterRcpcv);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.R36", 1), kSlotPlaysAfterRcpcv);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.g36", 1), kSlotPlays);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.mid", 1), kSlotPlays);
  playerSlots[0].RcpcvRcp = false;
  playerSlots[0].RcpcvG = true;
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.G18", 1), kSlotPlaysAfterRcpcv);
  EXPECT_EQ(SlotAllowsFile(playerSlots, "/a.rcp", 1), kSlotPlays);
}

PlayerCommand Build(const std::string& exe, const std::string& file, int32_t options = 15, int32_t info = 0) {
  TMusicFileInfo item;
  item.Info = info;
  PlayerCommandContext context;
  context.playerDetailInfo = options;
  context.wine = "/usr/bin/wine";
  context.shortPath = [](const std::string&) { return std::string("/run/kadrel/KP000001.MID"); };
  return BuildPlayerArguments(exe, item, file, context);
}

TEST(PlayerCommand, WindowsPlayersRunThroughWineWithWindowsPaths) {
  const PlayerCommand mp = Build("/opt/w/mplayer2.exe", "/m/two words.mid");
  EXPECT_EQ(mp.commandLine, "/opt/w/mplayer2.exe /play \"Z:\\m\\two words.mid\"");
  EXPECT_EQ(mp.argv, (std::vector<std::string>{"/usr/bin/wine", "/opt/w/mplayer2.exe", "/play", "Z:\\m\\two words.mid"}));
  EXPECT_TRUE(mp.throughWine);

  const PlayerCommand lemon = Build("/opt/w/LEMON95.EXE", "/m/long name.mid");
  EXPECT_EQ(lemon.commandLine, "/opt/w/LEMON95.EXE /P /M Z:\\run\\kadrel\\KP000001.MID");
  EXPECT_EQ(lemon.argv.back(), "Z:\\run\\kadrel\\KP000001.MID");

  EXPECT_EQ(Build("/w/MIYAP95.EXE", "/a.mid").fileArg, "Z:\\run\\kadrel\\KP000001.MID /L");
  EXPECT_EQ(Build("/w/MIYAP95.EXE", "/a.mid", 0).fileArg, "Z:\\run\\kadrel\\KP000001.MID");
  EXPECT_EQ(Build("/w/Winamp.exe", "/a.mp3").extra, "Message");
}

TEST(PlayerCommand, ChannelPlayersAreStartedBareWithTheirExtraText) {
  const PlayerCommand wfp = Build("/w/WFP.EXE", "/a.mid", 15, kCompanionWrd);
  EXPECT_EQ(wfp.argv, (std::vector<std::string>{"/usr/bin/wine", "/w/WFP.EXE"}));
  EXPECT_EQ(wfp.flags, kDdeControlled | kLoopRequested);
  EXPECT_EQ(wfp.extra, " /OR /EW /DS");
  EXPECT_EQ(Build("/w/WFP.EXE", "/a.mid", 0).extra, " /EQ /ONR");
  EXPECT_EQ(Build("/w/WFP.EXE", "/a.mid", kWfpWrdWindowControl, kCompanionSry | kCompanionWrd).extra, " /EQ /ONR /ES");
  EXPECT_EQ(Build("/w/WFP.EXE", "/a.mid", kWfpWrdWindowControl).extra, " /EQ /ONR /DW /DS");
  EXPECT_EQ(Build("/w/dpw.exe", "/a.mid", kDpwLoop).extra, " -R");
  EXPECT_EQ(Build("/w/dpw.exe", "/a.mid", 0).extra, " ^R");
  EXPECT_EQ(Build("/w/TMIDI.EXE", "/a.mid", 15).flags, kDdeControlled);
  EXPECT_EQ(Build("/w/TMIDI.EXE", "/a.mid", kTmidiLoop).flags, kDdeControlled | kLoopRequested);
}

TEST(PlayerCommand, LinuxPlayersGetTheirQuietPlayAndExitSwitches) {
  const PlayerCommand mpg = Build("/usr/bin/mpg123", "/m/a b.mp3");
  EXPECT_EQ(mpg.commandLine, "/usr/bin/mpg123 -q \"/m/a b.mp3\"");
  EXPECT_EQ(mpg.argv, (std::vector<std::string>{"/usr/bin/mpg123", "-q", "/m/a b.mp3"}));
  EXPECT_FALSE(mpg.throughWine);

  // TiMidity++ gets a configuration that loads: Debian's default one may name a
  // soundfont that is not installed.
  const PlayerCommand timidity = Build("/usr/bin/timidity", "/m/a.rcp");
  const std::string config = TimidityConfig();
  std::vector<std::string> expected{"/usr/bin/timidity", "-idq"};
  if (!config.empty()) expected.insert(expected.end(), {"-c", config});
  expected.push_back("/m/a.rcp");
  EXPECT_EQ(timidity.argv, expected);

  // An unknown program gets the path alone; its name is not taken for a Windows one.
  const PlayerCommand other = Build("/home/u/bin/myplayer", "/m/a.mid");
  EXPECT_EQ(other.argv, (std::vector<std::string>{"/home/u/bin/myplayer", "/m/a.mid"}));
  EXPECT_EQ(other.commandLine, "/home/u/bin/myplayer \"/m/a.mid\"");
  EXPECT_EQ(Build("/home/u/bin/mplayer", "/a.mp3").argv[1], "-really-quiet") << "Linux mplayer, not MPLAYER.EXE";
}

TEST(LinuxPlayers, AFirstStartGivesEachFormatToOneFoundPlayer) {
  TempDir bin;
  for (const char* name : {"timidity", "mpg123", "play", "xmp", "mpv"}) {
    const std::string p = bin.Write(name, "#!/bin/sh\n");
    ::chmod(p.c_str(), 0755);
  }
  auto playerSlots = FreshInstallPlayerSlots(bin.path());
  ASSERT_EQ(playerSlots.size(), 5u);
  EXPECT_EQ(playerSlots[0].name, "timidity");
  uint32_t all = 0;
  for (const auto& s : playerSlots) {
    EXPECT_EQ(all & s.formats, 0u) << s.name << " takes nothing an earlier slot plays";
    EXPECT_NE(s.formats, 0u);
    all |= s.formats;
  }
  EXPECT_TRUE(playerSlots[3].name == "xmp" && playerSlots[3].formats == (1u << kRowMOD));
  EXPECT_EQ(playerSlots[4].formats, 1u << kRowVQF) << "the general player is left TwinVQ";
  EXPECT_TRUE(FreshInstallPlayerSlots("").empty());
}

}  // namespace
}  // namespace kadrel::test
