#include "core/scan/file_find_thread.h"

namespace kadrel {

TFileFindThread::TFileFindThread() : thread_([this] { Loop(); }) {}

TFileFindThread::~TFileFindThread() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

bool TFileFindThread::Resume(std::function<void()> pass) {
  std::lock_guard lock(mutex_);
  if (busy_ || terminate_) return false;
  busy_ = true;
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
    busy_ = false;
    if (terminate_) return;
  }
}

}  // namespace kadrel
