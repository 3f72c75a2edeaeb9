#include "scan/file_find_thread.h"

namespace kadrel {

TFileFindThread::TFileFindThread() : thread_([this] { Loop(); }) {}

TFileFindThread::~TFileFindThread() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

bool TFileFindThread::Resume(std::function<void()> pass) {
  std::lock_guard lock(mutex_);
  // One pass may wait while the current one finishes (a new pass is often started
  // from the end handler of the previous one).
  if (pending_ || terminate_) return false;
  pending_ = std::move(pass);
  wake_.notify_one();
  return true;
}

void TFileFindThread::Terminate() {
  std::lock_guard lock(mutex_);
  terminate_ = true;
  wake_.notify_one();
}

void TFileFindThread::Loop() {
  for (;;) {
    std::function<void()> pass;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return terminate_ || pending_; });
      if (terminate_ && !pending_) return;
      pass = std::move(pending_);
      pending_ = nullptr;
    }
    pass();
    std::lock_guard lock(mutex_);
    if (terminate_ && !pending_) return;
  }
}

}  // namespace kadrel
