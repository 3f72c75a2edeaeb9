#pragma once
// How a conversation waits: on its condition variable, for at most a period, so that a
// request or Stop ends the wait at once. Tests inject a clock that shortens periods.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace kadrel {

class IChannelClock {
 public:
  virtual ~IChannelClock() = default;
  // Waits (with `lock` held on entry and on return) until `wake` is true or `period`
  // has passed. Returns wake().
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                       std::chrono::milliseconds period, const std::function<bool()>& wake) = 0;
};

class SteadyChannelClock final : public IChannelClock {
 public:
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::chrono::milliseconds period,
               const std::function<bool()>& wake) override {
    return cv.wait_for(lock, period, wake);
  }
};

}  // namespace kadrel
