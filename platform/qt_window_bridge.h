#pragma once
// IWindowBridge for Qt: the worker's call is queued to the window's thread and the
// worker waits for it. Once Close() has been called, queued calls that have not
// started are dropped and their workers get false, so a worker never blocks a
// closing program.

#include <atomic>
#include <functional>

#include <QObject>
#include <QPointer>

#include "base/window_bridge.h"

namespace kadrel {

class QtWindowBridge final : public IWindowBridge {
 public:
  // `window` lives on the window's thread; calls run in its event loop.
  explicit QtWindowBridge(QObject* window);
  ~QtWindowBridge() override;

  bool RunOnWindowThread(const std::function<void()>& call) override;

  // Refuse new calls and release the workers waiting for calls not yet started.
  void Close();
  bool Closed() const { return closed_.load(); }

 private:
  QPointer<QObject> window_;
  std::atomic<bool> closed_{false};
};

}  // namespace kadrel
