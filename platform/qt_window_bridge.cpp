#include "platform/qt_window_bridge.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include <QMetaObject>
#include <QThread>

namespace kadrel {
namespace {

// One queued call. The window's thread moves it from Queued to Running to Done; a
// worker that gives up moves it from Queued to Abandoned, after which it never runs.
struct PendingCall {
  enum class State { Queued, Running, Done, Abandoned };
  std::mutex mutex;
  std::condition_variable changed;
  State state = State::Queued;
};

}  // namespace

QtWindowBridge::QtWindowBridge(QObject* window) : window_(window) {}

QtWindowBridge::~QtWindowBridge() { Close(); }

void QtWindowBridge::Close() { closed_.store(true); }

bool QtWindowBridge::RunOnWindowThread(const std::function<void()>& call) {
  if (closed_.load()) return false;
  QObject* window = window_.data();
  if (window == nullptr) return false;
  if (QThread::currentThread() == window->thread()) {
    call();
    return true;
  }

  auto pending = std::make_shared<PendingCall>();
  // `call` may refer to the worker's locals; it is only used while the worker waits.
  const std::function<void()>* callPtr = &call;
  bool queued = QMetaObject::invokeMethod(
      window,
      [pending, callPtr] {
        {
          std::lock_guard lock(pending->mutex);
          if (pending->state != PendingCall::State::Queued) return;
          pending->state = PendingCall::State::Running;
        }
        (*callPtr)();
        std::lock_guard lock(pending->mutex);
        pending->state = PendingCall::State::Done;
        pending->changed.notify_all();
      },
      Qt::QueuedConnection);
  if (!queued) return false;

  std::unique_lock lock(pending->mutex);
  for (;;) {
    if (pending->state == PendingCall::State::Done) return true;
    if (pending->state == PendingCall::State::Queued && (closed_.load() || window_.isNull())) {
      pending->state = PendingCall::State::Abandoned;
      return false;
    }
    pending->changed.wait_for(lock, std::chrono::milliseconds(10));
  }
}

}  // namespace kadrel
