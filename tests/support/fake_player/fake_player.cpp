// A stand-in for a player program. It appends what it was started with to the file
// named by FAKE_PLAYER_LOG: its argument bytes (hex), session and group, the open
// descriptors, the blocked and the ignored signals. Then it plays for FAKE_PLAYER_MS
// milliseconds (default 10000) and exits with FAKE_PLAYER_EXIT (default 0).
// FAKE_PLAYER_IGNORE_TERM=1 ignores SIGTERM; FAKE_PLAYER_FORK=1 leaves a child of the
// same group that plays as long (and logs "child <pid>").

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

std::string Hex(const char* s) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p; ++p) {
    out += digits[*p >> 4];
    out += digits[*p & 15];
  }
  return out;
}

void Append(const std::string& text) {
  const char* log = std::getenv("FAKE_PLAYER_LOG");
  if (!log) return;
  const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return;
  if (::write(fd, text.data(), text.size()) < 0) {
  }
  ::close(fd);
}

long EnvNumber(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v ? std::strtol(v, nullptr, 10) : fallback;
}

void Play(long ms) {
  timespec t{ms / 1000, (ms % 1000) * 1000000};
  while (::nanosleep(&t, &t) != 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string text = "begin pid=" + std::to_string(::getpid()) + " sid=" + std::to_string(::getsid(0)) +
                     " pgid=" + std::to_string(::getpgrp()) + "\n";
  for (int i = 0; i < argc; ++i) text += "arg " + Hex(argv[i]) + "\n";
  text += "fds";
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (dirent* e = ::readdir(dir))
      if (e->d_name[0] != '.' && std::atoi(e->d_name) != ::dirfd(dir)) text += std::string(" ") + e->d_name;
    ::closedir(dir);
  }
  sigset_t blocked;
  ::sigprocmask(SIG_SETMASK, nullptr, &blocked);
  text += "\nblocked";
  for (int s = 1; s < 32; ++s)
    if (::sigismember(&blocked, s)) text += " " + std::to_string(s);
  text += "\nignored";
  for (int s = 1; s < 32; ++s) {
    struct sigaction a {};
    if (s != SIGKILL && s != SIGSTOP && ::sigaction(s, nullptr, &a) == 0 && a.sa_handler == SIG_IGN)
      text += " " + std::to_string(s);
  }
  text += "\nstdin " + std::string(::isatty(0) ? "tty" : "other") + "\nend\n";
  Append(text);

  if (EnvNumber("FAKE_PLAYER_IGNORE_TERM", 0)) ::signal(SIGTERM, SIG_IGN);
  const long ms = EnvNumber("FAKE_PLAYER_MS", 10000);
  if (EnvNumber("FAKE_PLAYER_FORK", 0)) {
    const pid_t child = ::fork();
    if (child == 0) {
      Play(ms);
      return 0;
    }
    Append("child " + std::to_string(child) + "\n");
  }
  Play(ms);
  return static_cast<int>(EnvNumber("FAKE_PLAYER_EXIT", 0));
}
