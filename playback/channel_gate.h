#pragma once
// One player conversation at a time, program-wide: a new conversation waits until the
// one before it has ended, instead of taking over its state.

#include <condition_variable>
#include <functional>
#include <mutex>

namespace kadrel {

class ConversationGate {
 public:
  // Waits for the gate; false (without it) once `abandon` is true.
  bool Acquire(const std::function<bool()>& abandon);
  void Release();
  // Makes waiting conversations look at `abandon` again.
  void Wake();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool busy_ = false;
};

}  // namespace kadrel
