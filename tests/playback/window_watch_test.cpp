// The player's window: held in the chosen state only for the watch time, and only the
// player's own windows are ever closed.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "play_fixture.h"
#include "playback/player_engine.h"
#include "playback/window_watch_thread.h"
#include "support/recording_box.h"

namespace kadrel::test {
namespace {

using namespace std::chrono_literals;

class RecordingWatcher final : public IWindowWatcher {
 public:
  bool HasWindow(pid_t) override { return true; }
  void Minimise(pid_t pid) override { Note(pid); }
  void Raise(pid_t pid) override {
    ++raises;
    Note(pid);
  }
  void FocusOwnWindow() override {}
  bool Close(pid_t pid) override {
    Note(pid);
    closes.push_back(pid);
    return false;
  }
  void Note(pid_t pid) {
    std::lock_guard lock(mutex);
    pids.push_back(pid);
  }
  std::atomic<int> raises{0};
  std::vector<pid_t> closes, pids;
  std::mutex mutex;
};

TEST(WindowWatch, APlayerWithLyricsIsRaisedOnlyDuringTheWatchTime) {
  RecordingWatcher watcher;
  WindowWatchThread watch(watcher, {4711, 300, kPwLyricsInFront, true});
  for (int i = 0; i < 300 && !watch.Finished(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(watch.Finished()) << "the watcher ends by itself";
  const int raised = watcher.raises;
  EXPECT_GT(raised, 0);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(watcher.raises, raised);
  EXPECT_EQ(watcher.pids, std::vector<pid_t>(watcher.pids.size(), 4711));
}

TEST(WindowWatch, ClosingAPlayerAsksOnlyItsOwnProcessesWindows) {
  TempDir dir;
  FakeProgramsOnPath programs({"wine"});
  ScopedEnv log("FAKE_PLAYER_LOG", dir.path() + "log");
  const std::string music = dir.MakeFolder("m") + "/";
  dir.Write("m/a.mp3", "ID3");
  PlayerEngineSettings settings;
  settings.playerSlots[0].ExePath = dir.Write("w/J_WINAMP.EXE", "MZ");
  settings.playerSlots[0].InUse = true;
  settings.playerSlots[0].Formats[kRowMP3] = true;
  RecordingMessageBox box;
  FakePlayClock clock;
  RecordingWatcher watcher;
  PlayerEngine engine(settings, box, clock, watcher);
  TMusicFileInfo item;
  item.ItemKind = kLooseFile;
  item.FileName = "a";
  item.FileExt = ".mp3";
  item.FileType = kRowMP3;
  ASSERT_TRUE(engine.PlayItem(item, music, 1).launched);
  const pid_t pid = engine.PlayInfo().PlayerProcessId;
  engine.PlayerExit();
  EXPECT_EQ(watcher.closes, std::vector<pid_t>{pid});
  for (int i = 0; i < 300 && engine.PendingProcesses() > 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(engine.PendingProcesses(), 0u) << "ended by signals when no window closed";
}

}  // namespace
}  // namespace kadrel::test
