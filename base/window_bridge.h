#pragma once
// How a worker thread reaches the window: a call that runs on the window's thread
// while the worker waits for it. The desktop program implements it with a blocking
// queued invocation; tests and the command-line tool run the call directly.

#include <functional>

namespace kadrel {

class IWindowBridge {
 public:
  virtual ~IWindowBridge() = default;
  // Runs `call` on the window's thread and returns when it has run. Returns false
  // (without running it) when the window is closing and no longer takes calls.
  virtual bool RunOnWindowThread(const std::function<void()>& call) = 0;
};

// Runs every call at once on the calling thread.
class DirectWindowBridge final : public IWindowBridge {
 public:
  bool RunOnWindowThread(const std::function<void()>& call) override {
    call();
    return true;
  }
};

}  // namespace kadrel
