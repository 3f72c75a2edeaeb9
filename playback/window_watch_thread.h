#pragma once
// Keeps a started player's window in the state the user chose ("PWcontrol1") for the
// watch time ("PWCheckTime") after the start, then lets it be.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "playback/window_watcher.h"

namespace kadrel {

enum PlayerWindowBit : int32_t {
  kPwNormal = 1,
  kPwMinimised = 2,
  kPwLyricsInFront = 4,
  kPwKeepOwnWindow = 8,
};

struct WindowWatchJob {
  pid_t pid = -1;
  int32_t watchTimeMs = 5000;
  int32_t control = 9;  // PlayerWindowBit
  bool hasLyrics = false;
};

class WindowWatchThread {
 public:
  WindowWatchThread(IWindowWatcher& watcher, WindowWatchJob job);
  // Asks the thread to end and waits for it.
  ~WindowWatchThread();
  bool Finished() const { return finished_.load(); }

 private:
  void Run();
  // Sleeps up to `ms`; false when termination was asked for.
  bool Pause(int ms);

  IWindowWatcher& watcher_;
  const WindowWatchJob job_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool terminate_ = false;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace kadrel
