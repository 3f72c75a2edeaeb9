#pragma once
// The windows of a player process: the player's own windows only, found by process
// or session, never by title. Where the desktop offers no way to find them (Wayland),
// every call does nothing.

#include <sys/types.h>

namespace kadrel {

class IWindowWatcher {
 public:
  virtual ~IWindowWatcher() = default;
  // Whether the process (or its session) has a top-level window now.
  virtual bool HasWindow(pid_t pid) = 0;
  virtual void Minimise(pid_t pid) = 0;
  virtual void Raise(pid_t pid) = 0;
  // Gives the keyboard focus back to our own window.
  virtual void FocusOwnWindow() = 0;
  // Asks every top-level window of the process to close; false when it had none.
  virtual bool Close(pid_t pid) = 0;
};

// For the command-line tool, tests and desktops without window access.
class NullWindowWatcher final : public IWindowWatcher {
 public:
  bool HasWindow(pid_t) override { return false; }
  void Minimise(pid_t) override {}
  void Raise(pid_t) override {}
  void FocusOwnWindow() override {}
  bool Close(pid_t) override { return false; }
};

}  // namespace kadrel
