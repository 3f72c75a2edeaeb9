#pragma once
// Waiting in the desktop tests: the Qt events of this thread are serviced meanwhile.

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <functional>

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

}  // namespace kadrel::test
