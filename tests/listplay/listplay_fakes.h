#pragma once
// Fakes for the ListPlay engine's ports: players that record their launches and end
// when told, a preparation that answers by file name, a bridge that serialises calls
// like the window's thread, and a clock that shortens every period.

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/window_bridge.h"
#include "playback/listplay_ports.h"

namespace kadrel::test {

class SerialBridge final : public IWindowBridge {
 public:
  bool RunOnWindowThread(const std::function<void()>& call) override {
    std::lock_guard lock(mutex_);
    call();
    return true;
  }

 private:
  std::recursive_mutex mutex_;
};

class FastClock final : public IListPlayClock {
 public:
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::chrono::milliseconds period,
               const std::function<bool()>& wake) override {
    return cv.wait_for(lock, period / 100, wake);
  }
  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
};

enum class PlayerBehaviour { RunsUntilClosed, EndsAtOnce, FailsAtOnce };

class FakePlayers final : public IListPlayPlayers {
 public:
  struct Ending {
    std::atomic<bool> ended{false};
    std::function<void()> onEnded;
  };

  class Player final : public IListPlayPlayer {
   public:
    Player(FakePlayers& owner, std::shared_ptr<Ending> ending, bool failed)
        : owner_(owner), ending_(std::move(ending)), failed_(failed) {}
    bool HasEnded() override { return ending_->ended.load(); }
    bool EndedWithFailure() override { return failed_; }
    void Pause() override { ++owner_.pauses; }
    void Resume() override { ++owner_.resumes; }
    void Close() override {
      if (!closed_.exchange(true)) --owner_.alive;
    }
    ~Player() override { Close(); }

   private:
    FakePlayers& owner_;
    std::shared_ptr<Ending> ending_;
    std::atomic<bool> closed_{false};
    bool failed_;
  };

  int ChooseSlot(const TPLMusicInfo& item, int) override {
    std::lock_guard lock(mutex_);
    auto it = slots.find(item.Music.FileName);
    return it == slots.end() ? 1 : it->second;
  }

  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override {
    std::lock_guard lock(mutex_);
    launches.push_back(launch.File);
    if (failLaunch) return {nullptr, 2};
    const int now = ++alive;
    if (now > maxAlive) maxAlive = now;
    auto ending = std::make_shared<Ending>();
    ending->ended = behaviour != PlayerBehaviour::RunsUntilClosed;
    ending->onEnded = std::move(onEnded);
    latest_ = ending;
    return {std::make_unique<Player>(*this, ending, behaviour == PlayerBehaviour::FailsAtOnce), 0};
  }

  // The last started player ends by itself.
  void EndLatest() {
    std::shared_ptr<Ending> ending;
    {
      std::lock_guard lock(mutex_);
      ending = latest_;
    }
    if (!ending) return;
    ending->ended = true;
    ending->onEnded();
  }

  std::vector<std::string> Launches() {
    std::lock_guard lock(mutex_);
    return launches;
  }
  std::size_t LaunchCount() {
    std::lock_guard lock(mutex_);
    return launches.size();
  }

  void Reset() {
    std::lock_guard lock(mutex_);
    slots.clear();
    behaviour = PlayerBehaviour::EndsAtOnce;
    failLaunch = false;
    alive = maxAlive = pauses = resumes = 0;
    launches.clear();
    latest_.reset();
  }

  std::map<std::string, int> slots;  // by name stem; 1 otherwise
  PlayerBehaviour behaviour = PlayerBehaviour::EndsAtOnce;
  bool failLaunch = false;
  std::atomic<int> alive{0};
  std::atomic<int> maxAlive{0};
  std::atomic<int> pauses{0};
  std::atomic<int> resumes{0};

 private:
  std::mutex mutex_;
  std::vector<std::string> launches;
  std::shared_ptr<Ending> latest_;
};

class FakePreparation final : public IListPlayPreparation {
 public:
  int Prepare(const TPLMusicInfo& item, int, ListPlayPrepared& out, const std::function<bool()>&) override {
    std::lock_guard lock(mutex_);
    out.FileToPlay = item.Folder + item.Music.FullName();
    out.DisplayText = item.Music.FullName();
    ++prepared;
    auto it = results.find(item.Music.FileName);
    return it == results.end() ? kPrepareOk : it->second;
  }
  ListPlayStaging Stage(const ListPlayPrepared&) override { return {}; }
  bool FileExists(const std::string& path) override {
    std::lock_guard lock(mutex_);
    return !missing.count(path);
  }

  std::map<std::string, int> results;  // by name stem
  std::set<std::string> missing;       // paths
  std::atomic<int> prepared{0};

 private:
  std::mutex mutex_;
};

// Waits up to five seconds for `condition`.
template <typename F>
bool WaitUntil(F condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace kadrel::test
