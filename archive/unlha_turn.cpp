#include "archive/unlha_turn.h"

namespace kadrel {

bool TUnLhaManagement::Request(int slot, const std::function<bool()>& giveUp, std::chrono::milliseconds pause,
                               const std::function<void()>& service) {
  if (slot < 1 || slot > kUnLhaSlotCount) return false;
  std::unique_lock lock(mutex_);
  // One pause; false when the caller gives up. The callbacks may take time or touch
  // other locks, so they run unlocked.
  auto pauseOnce = [&]() {
    changed_.wait_for(lock, pause);
    if (!service && !giveUp) return true;
    lock.unlock();
    if (service) service();
    const bool stop = giveUp && giveUp();
    lock.lock();
    return !stop;
  };
  // Two users of the same slot (two extraction threads) queue behind each other
  // instead of sharing one flag, so the turn is never held twice.
  while (!shutdown_ && (request_[slot] || owner_ == slot))
    if (!pauseOnce()) return false;
  if (shutdown_) return false;
  request_[slot] = true;
  GrantLocked();
  for (;;) {
    if (owner_ == slot) return true;
    if (shutdown_) break;
    const bool keepWaiting = pauseOnce();
    if (owner_ == slot) return true;
    if (!keepWaiting) break;
  }
  // Withdraw: cancel the pending request, or hand back a turn granted meanwhile.
  request_[slot] = false;
  if (owner_ == slot) {
    owner_ = 0;
    GrantLocked();
  }
  return false;
}

void TUnLhaManagement::Release(int slot) {
  std::lock_guard lock(mutex_);
  if (owner_ != slot) return;
  owner_ = 0;
  GrantLocked();
}

int TUnLhaManagement::Owner() const {
  std::lock_guard lock(mutex_);
  return owner_;
}

bool TUnLhaManagement::Requested(int slot) const {
  std::lock_guard lock(mutex_);
  return slot >= 1 && slot <= kUnLhaSlotCount && request_[slot];
}

void TUnLhaManagement::Shutdown() {
  std::lock_guard lock(mutex_);
  shutdown_ = true;
  changed_.notify_all();
}

void TUnLhaManagement::GrantLocked() {
  if (owner_ != 0) return;
  for (int s = 1; s <= kUnLhaSlotCount; ++s) {
    if (request_[s]) {
      request_[s] = false;
      owner_ = s;
      changed_.notify_all();
      return;
    }
  }
}

TUnLhaManagement& UnLhaManagement() {
  static TUnLhaManagement table;
  return table;
}

}  // namespace kadrel
