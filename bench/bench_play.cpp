// Playing: the time from a play command to the player's exec (the designed 250 ms wait
// before a new player left out), how soon a player's end is seen, how long closing a
// cooperating player takes, and whether 500 plays leave zombies, descriptors or memory.
//
// The player is this program itself: with KADREL_BENCH_PLAYER set it waits that many
// milliseconds, writes the monotonic time of its end to KADREL_BENCH_PLAYER_END and exits.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/heap_settings.h"
#include "catalog/format_table.h"
#include "playback/player_engine.h"
#include "support/temp_dir.h"

namespace {

using namespace kadrel;
using namespace std::chrono;

class NoWaitClock final : public IPlayClock {
 public:
  bool Wait(int) override { return true; }
  bool Closing() const override { return false; }
};

std::string SelfPath() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

int64_t MonotonicNs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

struct SilentBox final : IMessageBox {
  MessageAnswer Show(const MessageRequest&) override { return MessageAnswer::Cancel; }
  void Beep(BeepKind) override {}
};

struct Bench {
  test::TempDir dir;
  std::string temp = dir.MakeFolder("tmp") + "/";
  std::string endFile = dir.path() + "end";
  TMusicFileInfo item;
  SilentBox box;
  NoWaitClock clock;
  NullWindowWatcher windows;
  std::unique_ptr<PlayerEngine> engine;

  explicit Bench(const char* playMs) {
    ::chmod(temp.c_str(), 0700);
    ::setenv("KADREL_BENCH_PLAYER", playMs, 1);
    ::setenv("KADREL_BENCH_PLAYER_END", endFile.c_str(), 1);
    test::WriteFileBytes(dir.path() + "song.mid", "MThd");
    item.ItemKind = kLooseFile;
    item.FileName = "song";
    item.FileExt = ".mid";
    item.FileType = kRowMID;
    PlayerEngineSettings s;
    s.tempFolder = temp;
    s.playerSlots[0].ExePath = SelfPath();
    s.playerSlots[0].InUse = true;
    s.playerSlots[0].Formats[kRowMID] = true;
    s.pwCheckTime = 400;
    engine = std::make_unique<PlayerEngine>(s, box, clock, windows);
  }
  ~Bench() {
    engine->ClosePlayer();
    for (int i = 0; i < 300 && engine->PendingProcesses() > 0; ++i) std::this_thread::sleep_for(10ms);
  }
  PlayOutcome Play() { return engine->PlayItem(item, dir.path(), 1); }
};

void BM_PlayToExec(benchmark::State& state) {
  Bench b("0");
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = steady_clock::now();
    PlayOutcome out = b.Play();  // posix_spawn returns once the player has been exec'd
    const double took = duration<double, std::milli>(steady_clock::now() - start).count();
    state.SetIterationTime(took / 1000);
    ms.push_back(took);
    if (out.process) out.process->WaitForExit(5s);
  }
  state.counters["p50_ms"] = Percentile(ms, 0.5);
  state.counters["p95_ms"] = Percentile(ms, 0.95);
}
BENCHMARK(BM_PlayToExec)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_EndSeen(benchmark::State& state) {
  Bench b("20");
  std::vector<double> ms;
  for (auto _ : state) {
    PlayOutcome out = b.Play();
    if (!out.process || !out.process->WaitForExit(5s)) continue;
    std::ifstream in(b.endFile);
    int64_t endedNs = 0;
    in >> endedNs;
    const int64_t seenNs = duration_cast<nanoseconds>(out.process->EndedAt()->time_since_epoch()).count();
    const double late = static_cast<double>(seenNs - endedNs) / 1e6;
    state.SetIterationTime(late / 1000);
    ms.push_back(late);
  }
  state.counters["p50_ms"] = Percentile(ms, 0.5);
  state.counters["p95_ms"] = Percentile(ms, 0.95);
}
BENCHMARK(BM_EndSeen)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_CloseCooperatingPlayer(benchmark::State& state) {
  Bench b("60000");
  std::vector<double> ms;
  for (auto _ : state) {
    PlayOutcome out = b.Play();
    if (!out.process) continue;
    std::this_thread::sleep_for(5ms);
    const auto start = steady_clock::now();
    b.engine->ClosePlayer();
    out.process->WaitForExit(5s);
    const double took = duration<double, std::milli>(*out.process->EndedAt() - start).count();
    state.SetIterationTime(took / 1000);
    ms.push_back(took);
  }
  state.counters["p95_ms"] = Percentile(ms, 0.95);
  state.counters["max_ms"] = Percentile(ms, 1.0);
}
BENCHMARK(BM_CloseCooperatingPlayer)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
    ::closedir(d);
  }
  return n;
}

int Zombies() {
  int n = 0;
  const std::string self = std::to_string(::getpid());
  if (DIR* d = ::opendir("/proc")) {
    while (dirent* e = ::readdir(d)) {
      if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
      std::ifstream in(std::string("/proc/") + e->d_name + "/stat");
      std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const size_t close = stat.rfind(')');
      if (close == std::string::npos || close + 4 >= stat.size()) continue;
      char state = stat[close + 2];
      std::string ppid = stat.substr(close + 4, stat.find(' ', close + 4) - close - 4);
      n += state == 'Z' && ppid == self;
    }
    ::closedir(d);
  }
  return n;
}

long ResidentKb() {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key)
    if (key == "VmRSS:" && in >> value) return value;
  return 0;
}

void BM_FiveHundredPlays(benchmark::State& state) {
  Bench b("0");
  for (int i = 0; i < 20; ++i) b.Play();  // warm up
  std::this_thread::sleep_for(100ms);
  const int fdsBefore = OpenDescriptors();
  const long rssBefore = ResidentKb();
  for (auto _ : state) {
    for (int i = 0; i < 500; ++i) {
      PlayOutcome out = b.Play();
      if (out.process) out.process->WaitForExit(5s);
    }
  }
  std::this_thread::sleep_for(100ms);
  state.counters["zombies"] = Zombies();
  state.counters["fd_delta"] = OpenDescriptors() - fdsBefore;
  state.counters["rss_delta_kb"] = static_cast<double>(ResidentKb() - rssBefore);
}
BENCHMARK(BM_FiveHundredPlays)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  kadrel::KeepFreedHeapForReuse();  // as both programs do at start
  if (const char* playMs = std::getenv("KADREL_BENCH_PLAYER"); playMs && argc == 2 && argv[1][0] == '/') {
    std::this_thread::sleep_for(milliseconds(std::atol(playMs)));
    if (const char* end = std::getenv("KADREL_BENCH_PLAYER_END")) std::ofstream(end) << MonotonicNs();
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
