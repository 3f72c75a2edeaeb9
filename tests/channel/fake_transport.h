#pragma once
// A scripted player behind a fake transport, and a clock that shortens every wait, for
// the conversation tests.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "playback/channel_clock.h"
#include "playback/channel_transport.h"

namespace kadrel::test {

// What the fake player does and what it was asked; shared by the test and the transport.
struct FakePlayer {
  std::mutex mutex;
  std::vector<std::string> log;
  ConnectResult connect = ConnectResult::Connected;
  ReconnectResult reconnect = ReconnectResult::Connected;
  bool startsPlaying = true;  // reports Playing when it is given a file
  bool failPlay = false;
  bool failPause = false;
  std::string playing = "Playing", paused = "Paused", stopped = "Stopped";
  std::string status = "Stopped";
  IChannelEvents* events = nullptr;
  std::atomic<int> connects{0};
  std::atomic<int> statusRequests{0};

  // The player changes its status by itself (its own window, the end of the piece).
  void Report(const std::string& s) {
    IChannelEvents* e;
    {
      std::lock_guard lock(mutex);
      status = s;
      e = events;
    }
    if (e != nullptr) e->OnStatus(s);
  }
  void Signal(ChannelEvent event) {
    IChannelEvents* e;
    {
      std::lock_guard lock(mutex);
      e = events;
    }
    if (e != nullptr) e->OnEvent(event);
  }
  std::vector<std::string> Log() {
    std::lock_guard lock(mutex);
    return log;
  }
  int Count(const std::string& entry) {
    std::lock_guard lock(mutex);
    int n = 0;
    for (const auto& e : log) n += e == entry;
    return n;
  }
};

class FakeTransport final : public IChannelTransport {
 public:
  explicit FakeTransport(std::shared_ptr<FakePlayer> player) : p_(std::move(player)) {}

  TransportSetup Setup(IChannelEvents& events) override {
    std::lock_guard lock(p_->mutex);
    p_->events = &events;
    return TransportSetup::Ok;
  }
  ConnectResult Connect(pid_t) override {
    std::lock_guard lock(p_->mutex);
    ++p_->connects;
    if (p_->connect == ConnectResult::Connected) p_->log.push_back("connect");
    return p_->connect;
  }
  bool StartStatusNotifications(int) override { return Note("advise"); }
  bool StopStatusNotifications(int) override { return Note("unadvise"); }
  bool Execute(ChannelCommand command, const std::string& file, const std::string&, int) override {
    std::string now;
    bool ok = true;
    {
      std::lock_guard lock(p_->mutex);
      switch (command) {
        case ChannelCommand::Play:
          p_->log.push_back("play " + file);
          ok = !p_->failPlay;
          if (ok && p_->startsPlaying) now = p_->playing;
          break;
        case ChannelCommand::Pause:
          p_->log.push_back("pause");
          ok = !p_->failPause;
          if (ok) now = p_->paused;
          break;
        case ChannelCommand::Resume:
          p_->log.push_back("resume");
          now = p_->playing;
          break;
        case ChannelCommand::Stop:
          p_->log.push_back("stop");
          now = p_->stopped;
          break;
        case ChannelCommand::Quit: p_->log.push_back("quit"); break;
      }
    }
    if (!now.empty()) p_->Report(now);
    if (command == ChannelCommand::Quit) p_->Signal(ChannelEvent::Disconnected);  // it leaves
    return ok;
  }
  std::optional<std::string> RequestStatus(int) override {
    std::lock_guard lock(p_->mutex);
    ++p_->statusRequests;
    return p_->status;
  }
  ReconnectResult Reconnect() override {
    std::lock_guard lock(p_->mutex);
    p_->log.push_back("reconnect");
    return p_->reconnect;
  }
  void Disconnect() override { Note("disconnect"); }
  void Shutdown() override {
    std::lock_guard lock(p_->mutex);
    p_->events = nullptr;
  }

 private:
  bool Note(const std::string& entry) {
    std::lock_guard lock(p_->mutex);
    p_->log.push_back(entry);
    return true;
  }
  std::shared_ptr<FakePlayer> p_;
};

// Waits a fiftieth of each period and remembers the periods asked for.
class FastClock final : public IChannelClock {
 public:
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::chrono::milliseconds period,
               const std::function<bool()>& wake) override {
    {
      std::lock_guard own(mutex_);
      periods_.push_back(static_cast<int>(period.count()));
    }
    return cv.wait_for(lock, period / 50, wake);
  }
  int CountOf(int periodMs) {
    std::lock_guard own(mutex_);
    int n = 0;
    for (int p : periods_) n += p == periodMs;
    return n;
  }

 private:
  std::mutex mutex_;
  std::vector<int> periods_;
};

// Polls `done` for up to `limit`.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace kadrel::test
