#include "playback/player_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "settings/platform_folders.h"

extern char** environ;

namespace kadrel {

namespace {

int PidfdOpen(pid_t pid) { return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)); }

int PidfdSendSignal(int pidfd, int signal) {
  return static_cast<int>(::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0));
}

std::string ResolveProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  return FindProgramOnPath(path ? path : "/usr/local/bin:/usr/bin:/bin", {program});
}

}  // namespace

SpawnResult SpawnProcess(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return {nullptr, ENOENT};
  const std::string program = ResolveProgram(argv[0]);
  if (program.empty()) return {nullptr, ENOENT};

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  ::posix_spawnattr_init(&attr);
  ::posix_spawn_file_actions_init(&actions);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  ::posix_spawnattr_setsigmask(&attr, &none);
  ::posix_spawnattr_setsigdefault(&attr, &all);
  ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  // Players chatter on standard output; the command-line tool's output is ours.
  ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);

  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, program.c_str(), &actions, &attr, args.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::posix_spawnattr_destroy(&attr);
  if (error != 0) return {nullptr, error};

  const int pidfd = PidfdOpen(pid);
  if (pidfd < 0) {
    // Without a pidfd the child cannot be watched safely: end it and report.
    const int e = errno;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return {nullptr, e};
  }
  ::fcntl(pidfd, F_SETFD, FD_CLOEXEC);
  return {std::shared_ptr<SpawnedPlayer>(new SpawnedPlayer(pid, pidfd)), 0};
}

SpawnedPlayer::SpawnedPlayer(pid_t pid, int pidfd) : pid_(pid), pidfd_(pidfd) {
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  watcher_ = std::thread([this] { Watch(); });
}

SpawnedPlayer::~SpawnedPlayer() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  const uint64_t one = 1;
  if (wakeFd_ >= 0 && ::write(wakeFd_, &one, sizeof one) < 0) {
    // The watcher still ends when the process does.
  }
  if (watcher_.joinable()) watcher_.join();
  if (wakeFd_ >= 0) ::close(wakeFd_);
  ::close(pidfd_);
}

void SpawnedPlayer::ReapLocked() {
  siginfo_t info{};
  int status = 0;
  if (::waitid(static_cast<idtype_t>(P_PIDFD), static_cast<id_t>(pidfd_), &info, WEXITED) == 0) {
    status = info.si_code == CLD_EXITED ? W_EXITCODE(info.si_status, 0) : info.si_status;
    status_ = status;
  }
  ended_ = true;
  endedAt_ = Clock::now();
}

void SpawnedPlayer::Watch() {
  for (;;) {
    int timeout = -1;
    {
      std::lock_guard lock(mutex_);
      const std::optional<Clock::time_point> next = termAt_ ? termAt_ : killAt_;
      if (next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*next - Clock::now()).count();
        timeout = left > 0 ? static_cast<int>(left) + 1 : 0;
      }
    }
    pollfd fds[2] = {{pidfd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    const int n = ::poll(fds, wakeFd_ >= 0 ? 2 : 1, timeout);
    if (n < 0 && errno == EINTR) continue;
    std::function<void()> handler;
    {
      std::lock_guard lock(mutex_);
      if (n > 0 && (fds[0].revents & POLLIN)) {
        // The leader is a zombie until reaped, so the group id is still ours: helpers it
        // left behind while we were closing it go with it.
        if (stopping_) ::kill(-pid_, SIGKILL);
        ReapLocked();
        handler = std::move(onEnd_);
      } else if (n == 0) {
        const auto now = Clock::now();
        if (termAt_ && now >= *termAt_) {
          termAt_.reset();
          SendTermLocked();
        } else if (!termAt_ && killAt_ && now >= *killAt_) {
          killAt_.reset();
          PidfdSendSignal(pidfd_, SIGKILL);
          ::kill(-pid_, SIGKILL);
        }
        continue;
      } else if (n > 0 && (fds[1].revents & POLLIN)) {
        uint64_t count = 0;
        if (::read(wakeFd_, &count, sizeof count) < 0) {
        }
        if (quit_) return;  // dropped while still running: nothing is signalled
        continue;
      } else {
        continue;
      }
    }
    endedCv_.notify_all();
    if (handler) handler();
    return;
  }
}

bool SpawnedPlayer::Ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}

std::optional<int> SpawnedPlayer::WaitStatus() const {
  std::lock_guard lock(mutex_);
  return status_;
}

std::optional<SpawnedPlayer::Clock::time_point> SpawnedPlayer::EndedAt() const {
  std::lock_guard lock(mutex_);
  return endedAt_;
}

bool SpawnedPlayer::WaitForExit(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return endedCv_.wait_for(lock, timeout, [this] { return ended_; });
}

bool SpawnedPlayer::SignalGroup(int signal) {
  std::lock_guard lock(mutex_);
  // Reaping happens only under this lock, so an unreaped leader keeps the group id ours.
  if (ended_) return false;
  PidfdSendSignal(pidfd_, signal);
  ::kill(-pid_, signal);
  return true;
}

bool SpawnedPlayer::Stopped() const {
  if (Ended()) return false;
  std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && (stat[close + 2] == 'T' || stat[close + 2] == 't');
}

void SpawnedPlayer::SendTermLocked() {
  PidfdSendSignal(pidfd_, SIGTERM);
  ::kill(-pid_, SIGTERM);
  // A stopped player would keep the SIGTERM pending for ever.
  ::kill(-pid_, SIGCONT);
}

void SpawnedPlayer::Terminate(std::chrono::milliseconds delay, std::chrono::milliseconds grace) {
  {
    std::lock_guard lock(mutex_);
    if (ended_ || stopping_) return;
    stopping_ = true;
    const auto now = Clock::now();
    if (delay.count() > 0) termAt_ = now + delay;
    else SendTermLocked();
    killAt_ = now + delay + grace;
  }
  const uint64_t one = 1;
  // Wakes the watcher so that it takes the new deadlines.
  if (::write(wakeFd_, &one, sizeof one) < 0) {
  }
}

void SpawnedPlayer::SetEndHandler(std::function<void()> handler) {
  bool runNow = false;
  {
    std::lock_guard lock(mutex_);
    if (ended_) runNow = true;
    else onEnd_ = std::move(handler);
  }
  if (runNow && handler) handler();
}

}  // namespace kadrel
