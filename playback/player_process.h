#pragma once
// A player process we started: spawned from an argument vector (never a shell) in a
// session of its own, watched through a pidfd so that its end is seen at once and it
// is always reaped, and signalled only while it has not ended.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kadrel {

struct SpawnResult;
SpawnResult SpawnProcess(const std::vector<std::string>& argv);

class SpawnedPlayer {
 public:
  using Clock = std::chrono::steady_clock;

  ~SpawnedPlayer();
  SpawnedPlayer(const SpawnedPlayer&) = delete;
  SpawnedPlayer& operator=(const SpawnedPlayer&) = delete;

  pid_t Pid() const { return pid_; }
  bool Ended() const;
  // The wait status (as waitpid gives it) once the process has ended and was reaped by
  // us; nullopt before, or when someone else reaped it.
  std::optional<int> WaitStatus() const;
  // When the end was seen.
  std::optional<Clock::time_point> EndedAt() const;
  // True when it ended within `timeout`.
  bool WaitForExit(std::chrono::milliseconds timeout) const;

  // Sends `signal` to the process group (the player and whatever it started). False,
  // and nothing is sent, when the player has ended.
  bool SignalGroup(int signal);
  // Stopped by SIGSTOP (or a terminal stop).
  bool Stopped() const;
  // SIGTERM and SIGCONT to the group after `delay` (a player asked to quit by other
  // means gets that long), SIGKILL to the group `grace` later, unless it has ended.
  void Terminate(std::chrono::milliseconds delay, std::chrono::milliseconds grace);

  // Called once, on the watch thread, when the end has been seen.
  void SetEndHandler(std::function<void()> handler);

 private:
  friend SpawnResult SpawnProcess(const std::vector<std::string>& argv);
  SpawnedPlayer(pid_t pid, int pidfd);
  void Watch();
  void ReapLocked();
  void SendTermLocked();

  const pid_t pid_;
  const int pidfd_;
  int wakeFd_ = -1;
  mutable std::mutex mutex_;
  mutable std::condition_variable endedCv_;
  bool ended_ = false;
  std::optional<int> status_;
  std::optional<Clock::time_point> endedAt_;
  std::optional<Clock::time_point> termAt_;
  std::optional<Clock::time_point> killAt_;
  bool stopping_ = false;
  bool quit_ = false;
  std::function<void()> onEnd_;
  std::thread watcher_;
};

struct SpawnResult {
  std::shared_ptr<SpawnedPlayer> process;  // null on failure
  int error = 0;                           // the spawn's own error number on failure
};

// Starts argv[0] (a path, or a name looked up on PATH) with the arguments' bytes as
// they are. The child runs in a new session, with default signal dispositions and an
// empty signal mask, standard input and output on /dev/null and no descriptor above 2.
SpawnResult SpawnProcess(const std::vector<std::string>& argv);

}  // namespace kadrel
