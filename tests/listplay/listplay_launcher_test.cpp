// The ListPlay launcher over real processes (the stand-in player) and its slot rule.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "catalog/format_table.h"
#include "playback/listplay_launcher.h"

namespace kadrel {
namespace {

using namespace std::chrono_literals;

TPlayer_data Slot(const std::string& program, bool recognised, std::initializer_list<const char*> files) {
  TPlayer_data p;
  p.InUse = true;
  p.Recognised = recognised;
  p.ExePath = program;
  for (const char* f : files) p.Formats[static_cast<size_t>(FormatRowForFileName(f))] = true;
  return p;
}

TPLMusicInfo Item(const std::string& name, int slot = kAutomaticSlot) {
  TPLMusicInfo item;
  item.Folder = "/music/";
  item.Music.FileName = name.substr(0, name.find('.'));
  item.Music.FileExt = name.substr(name.find('.'));
  item.Slot = slot;
  return item;
}

TEST(ListPlaySlotRule, OwnSlotThenLastSlotThenFirstRecognised) {
  PlayerSlots slots;
  slots[0] = Slot("/usr/bin/mp3only", true, {"A.MP3"});
  slots[1] = Slot("/usr/bin/unknown", false, {"A.MID"});  // plays MIDI, but is not recognised
  slots[2] = Slot("/usr/bin/midi", true, {"A.MID"});
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.MID"), -1), 3);
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.MID"), 2), 2);  // the last slot needs no recognition
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.MID", 2), 3), 2);
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.MID", 1), 3), kSlotRefusesFile);
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.WAV"), 1), kNoSlotForFile);
  EXPECT_EQ(ChooseListPlaySlot(slots, Item("S.ZZZ"), 1), kNoSlotForFile);
}

class ListPlayLauncherTest : public ::testing::Test {
 protected:
  ListPlayLauncher Launcher() {
    ListPlayLauncherSettings s;
    s.playerSlots[0] = Slot(KADREL_FAKE_PLAYER, false, {"A.MID"});
    s.tempFolder = "/nonexistent/";
    return ListPlayLauncher(s, [this](int, const std::string&, const std::vector<std::string>& argv) { argv_ = argv; });
  }
  std::vector<std::string> argv_;
  std::atomic<int> ends_{0};
};

TEST_F(ListPlayLauncherTest, EndIsTheProcessExitAndItsStatus) {
  ListPlayLauncher launcher = Launcher();
  for (const char* status : {"0", "3"}) {
    ::setenv("FAKE_PLAYER_MS", "50", 1);
    ::setenv("FAKE_PLAYER_EXIT", status, 1);
    ends_ = 0;
    ListPlayLaunchOutcome out = launcher.Launch({1, "/music/S.MID"}, [this] { ++ends_; });
    ASSERT_TRUE(out.Player);
    EXPECT_EQ(argv_.front(), KADREL_FAKE_PLAYER);
    EXPECT_EQ(argv_.back(), "/music/S.MID");
    for (int i = 0; i < 500 && ends_ == 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(ends_, 1);
    EXPECT_TRUE(out.Player->HasEnded());
    EXPECT_EQ(out.Player->EndedWithFailure(), std::string(status) != "0");
    out.Player->Close();
  }
  ::unsetenv("FAKE_PLAYER_MS");
  ::unsetenv("FAKE_PLAYER_EXIT");
}

TEST_F(ListPlayLauncherTest, ClosePausedPlayerEndsItWithoutALateNotice) {
  ListPlayLauncher launcher = Launcher();
  ::setenv("FAKE_PLAYER_MS", "60000", 1);
  ListPlayLaunchOutcome out = launcher.Launch({1, "/music/S.MID"}, [this] { ++ends_; });
  ASSERT_TRUE(out.Player);
  out.Player->Pause();
  EXPECT_FALSE(out.Player->HasEnded());
  const auto start = std::chrono::steady_clock::now();
  out.Player->Close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_TRUE(out.Player->HasEnded());
  const int seen = ends_;
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(ends_, seen);
  ::unsetenv("FAKE_PLAYER_MS");
}

TEST_F(ListPlayLauncherTest, SlotWithoutProgramFailsToStart) {
  ListPlayLauncher launcher = Launcher();
  ListPlayLaunchOutcome out = launcher.Launch({2, "/music/S.MID"}, [] {});
  EXPECT_FALSE(out.Player);
  EXPECT_NE(out.ErrorNumber, 0);
}

}  // namespace
}  // namespace kadrel
