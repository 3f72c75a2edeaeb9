#include "playback/window_watch_thread.h"

#include <chrono>

namespace kadrel {

WindowWatchThread::WindowWatchThread(IWindowWatcher& watcher, WindowWatchJob job) : watcher_(watcher), job_(job) {
  thread_ = std::thread([this] { Run(); });
}

WindowWatchThread::~WindowWatchThread() {
  {
    std::lock_guard lock(mutex_);
    terminate_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool WindowWatchThread::Pause(int ms) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return terminate_; });
}

void WindowWatchThread::Run() {
  using Clock = std::chrono::steady_clock;
  const auto watchTime = std::chrono::milliseconds(job_.watchTimeMs);
  if (!Pause(job_.watchTimeMs / 3)) return finished_.store(true);

  // Look for the player's own window for at most the watch time.
  auto start = Clock::now();
  bool found = false;
  while (!found && Clock::now() - start < watchTime) {
    if (watcher_.HasWindow(job_.pid)) {
      if (!Pause(500)) return finished_.store(true);
      found = watcher_.HasWindow(job_.pid);
    } else if (!Pause(10)) {
      return finished_.store(true);
    }
  }

  // Then hold it in the chosen state, again for no longer than the watch time: a
  // player raised pass after pass for ever would take the desktop from the user.
  if (found) {
    if (job_.control & kPwMinimised) watcher_.Minimise(job_.pid);
    if ((job_.control & kPwLyricsInFront) && job_.hasLyrics) {
      start = Clock::now();
      while (Clock::now() - start < watchTime) {
        watcher_.Raise(job_.pid);
        if (!Pause(10)) break;
      }
    } else if (job_.control & kPwKeepOwnWindow) {
      watcher_.FocusOwnWindow();
    }
  }
  finished_.store(true);
}

}  // namespace kadrel
