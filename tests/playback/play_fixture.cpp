#include "play_fixture.h"

#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace kadrel::test {

namespace {

std::string FromHex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

std::vector<int> Numbers(std::istringstream& in) {
  std::vector<int> out;
  int n;
  while (in >> n) out.push_back(n);
  return out;
}

}  // namespace

std::vector<FakeStart> ReadFakeStarts(const std::string& log) {
  std::vector<FakeStart> starts;
  std::ifstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "begin") {
      starts.emplace_back();
      std::sscanf(line.c_str(), "begin pid=%ld sid=%ld pgid=%ld", &starts.back().pid, &starts.back().sid,
                  &starts.back().pgid);
    } else if (starts.empty()) {
      continue;
    } else if (key == "arg") {
      std::string hex;
      words >> hex;
      starts.back().args.push_back(FromHex(hex));
    } else if (key == "fds") {
      starts.back().fds = Numbers(words);
    } else if (key == "blocked") {
      starts.back().blocked = Numbers(words);
    } else if (key == "ignored") {
      starts.back().ignored = Numbers(words);
    } else if (key == "stdin") {
      std::string v;
      words >> v;
      starts.back().stdinTty = v == "tty";
    }
  }
  return starts;
}

std::vector<FakeStart> WaitForFakeStarts(const std::string& log, size_t count) {
  for (int i = 0; i < 500; ++i) {
    auto starts = ReadFakeStarts(log);
    if (starts.size() >= count) return starts;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadFakeStarts(log);
}

FakeProgramsOnPath::FakeProgramsOnPath(const std::vector<std::string>& names) {
  for (const std::string& name : names) ::symlink(KADREL_FAKE_PLAYER, Path(name).c_str());
  const char* path = std::getenv("PATH");
  oldPath_ = path ? path : "";
  ::setenv("PATH", (dir.path() + ":" + oldPath_).c_str(), 1);
}

FakeProgramsOnPath::~FakeProgramsOnPath() { ::setenv("PATH", oldPath_.c_str(), 1); }

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  if (const char* v = std::getenv(name)) {
    had_ = true;
    old_ = v;
  }
  ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_) ::setenv(name_.c_str(), old_.c_str(), 1);
  else ::unsetenv(name_.c_str());
}

bool ProcessGone(long pid) {
  // A zombie counts as gone: only its parent's reaping is missing.
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  return stat.empty() || (close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z');
}

}  // namespace kadrel::test
