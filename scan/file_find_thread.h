#pragma once
// The scan worker: created once, idle until resumed; each resume runs exactly one
// pass and then waits again. Told to terminate at program end.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kadrel {

class TFileFindThread {
 public:
  TFileFindThread();
  ~TFileFindThread();  // terminates and joins
  TFileFindThread(const TFileFindThread&) = delete;
  TFileFindThread& operator=(const TFileFindThread&) = delete;

  // Runs `pass` once on the worker, after the pass in progress if there is one.
  // Returns false when another pass is already waiting or the worker is terminating.
  bool Resume(std::function<void()> pass);
  void Terminate();

 private:
  static void RunAsBatch();
  void Loop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> pending_;
  bool terminate_ = false;
  std::thread thread_;
};

}  // namespace kadrel
