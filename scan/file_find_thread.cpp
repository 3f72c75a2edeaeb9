#include "scan/file_find_thread.h"

#include <pthread.h>
#include <sched.h>

namespace kadrel {

TFileFindThread::TFileFindThread()
    : thread_([this] {
        RunAsBatch();
        Loop();
      }) {}

// The worker is woken by the window (a pass to run, a bridged call answered). Woken
// as a normal thread it took the processor from the window that woke it, on 2 cores
// for 4 ms at the opening of a folder; a batch thread is not run ahead of the
// thread that wakes it, and keeps its full share of the processor otherwise. Where the
// policy cannot be set the worker runs as a normal thread.
void TFileFindThread::RunAsBatch() {
  sched_param param{};
  param.sched_priority = 0;
  pthread_setschedparam(pthread_self(), SCHED_BATCH, &param);
}

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
