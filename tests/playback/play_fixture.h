#pragma once
// Shared pieces of the playback tests: a clock that does not sleep, the fake player's
// record, and a folder of stand-in programs put first on PATH.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "playback/play_clock.h"
#include "support/temp_dir.h"

namespace kadrel::test {

class FakePlayClock final : public IPlayClock {
 public:
  bool Wait(int ms) override {
    waits.push_back(ms);
    if (onWait) onWait();
    return !closing;
  }
  bool Closing() const override { return closing; }
  std::vector<int> waits;
  std::function<void()> onWait;
  bool closing = false;
};

// One start of the fake player, read back from its log.
struct FakeStart {
  long pid = 0, sid = 0, pgid = 0;
  std::vector<std::string> args;  // bytes
  std::vector<int> fds;
  std::vector<int> blocked, ignored;
  bool stdinTty = false;
};

std::vector<FakeStart> ReadFakeStarts(const std::string& log);
// Waits (up to 5 s) until the log holds `count` starts.
std::vector<FakeStart> WaitForFakeStarts(const std::string& log, size_t count);

// A folder whose programs (links to the fake player) come first on PATH while it lives.
class FakeProgramsOnPath {
 public:
  explicit FakeProgramsOnPath(const std::vector<std::string>& names);
  ~FakeProgramsOnPath();
  std::string Path(const std::string& name) const { return dir.path() + name; }
  TempDir dir;

 private:
  std::string oldPath_;
};

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

bool ProcessGone(long pid);

}  // namespace kadrel::test
