#include "playback/channel_gate.h"

namespace kadrel {

bool ConversationGate::Acquire(const std::function<bool()>& abandon) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !busy_ || abandon(); });
  if (abandon()) return false;
  busy_ = true;
  return true;
}

void ConversationGate::Release() {
  {
    std::lock_guard lock(mutex_);
    busy_ = false;
  }
  changed_.notify_all();
}

void ConversationGate::Wake() {
  { std::lock_guard lock(mutex_); }
  changed_.notify_all();
}

}  // namespace kadrel
