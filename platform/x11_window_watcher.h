#pragma once
// The player's windows on an X11 display, found by _NET_WM_PID (the player, its
// descendants and its session), never by title. Minimising, raising and closing are
// requests to the window manager (or, without one, to the window itself); a window is
// never destroyed by us. Without an X11 display (none, or a Wayland session) every call
// does nothing; that is logged once.

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "playback/window_watcher.h"

namespace kadrel {

class X11WindowWatcher final : public IWindowWatcher {
 public:
  // Opens a connection of its own to `display` (nullptr: $DISPLAY).
  explicit X11WindowWatcher(const char* display = nullptr);
  ~X11WindowWatcher() override;
  X11WindowWatcher(const X11WindowWatcher&) = delete;
  X11WindowWatcher& operator=(const X11WindowWatcher&) = delete;

  bool Available() const { return x_ != nullptr; }
  // Our own top-level window, for FocusOwnWindow.
  void SetOwnWindow(uint32_t window);

  bool HasWindow(pid_t pid) override;
  void Minimise(pid_t pid) override;
  void Raise(pid_t pid) override;
  void FocusOwnWindow() override;
  bool Close(pid_t pid) override;

  // The process's top-level windows that are shown (or minimised) and have no owner.
  std::vector<uint32_t> WindowsOf(pid_t pid);

 private:
  std::vector<uint32_t> FindWindows(pid_t pid);  // with mutex_ held

  struct X;
  std::unique_ptr<X> x_;
  std::mutex mutex_;
  uint32_t ownWindow_ = 0;
};

}  // namespace kadrel
