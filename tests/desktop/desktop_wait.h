#pragma once
// Waiting in the desktop tests: the Qt events of this thread are serviced meanwhile.

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <functional>
#include <future>

namespace kadrel::test {

inline bool ServiceUntil(const std::function<bool()>& done, int limitMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents();
    QThread::msleep(2);
  }
  return true;
}

// Runs `work` on another thread while this one services the bus.
template <typename Work>
auto OffThread(Work work) {
  auto result = std::async(std::launch::async, work);
  ServiceUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000);
  return result.get();
}

}  // namespace kadrel::test
