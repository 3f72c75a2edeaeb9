// Continuous play: preparing an archive member (a 20 KB Recomposer song) and converting
// it, against lhasa's `lha x` of the same member followed by `kadrel-cli convert` (the
// baseline, run in the same program); and, through the real engine and launcher, the
// time from one player's exit to the next player's exec with the next item prepared, from
// a "Next" request to the new player, and a soak of 200 short pieces.
//
// The player of the second benchmark is this program itself: with KADREL_BENCH_LP_PLAYER
// set it waits that many milliseconds, appends the monotonic time of its end to the file
// KADREL_BENCH_LP_END and exits.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/heap_settings.h"
#include "archive/lzh_writer.h"
#include "catalog/format_table.h"
#include "playback/listplay_engine.h"
#include "playback/listplay_launcher.h"
#include "playback/lp_convert_for_play.h"
#include "playback/lp_item_preparation.h"
#include "listplay/listplay_fakes.h"
#include "rcpcv/rcp_fixture.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

using namespace kadrel;
using namespace std::chrono;

int64_t MonotonicNs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec;
}

std::string SelfPath() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

struct SilentBox final : IMessageBox {
  MessageAnswer Show(const MessageRequest&) override { return MessageAnswer::No; }
  void Beep(BeepKind) override {}
};

// A song of four tracks of notes, about 20 KB.
std::string TwentyKilobyteSong() {
  test::Fixture f;
  for (int t = 0; t < 4; ++t) {
    test::FixtureTrack track;
    track.channel = t;
    for (int i = 0; i < 1150; ++i) track.units += test::U(48 + (i * 7 + t * 5) % 36, 12, 10, 64 + i % 60);
    f.tracks.push_back(std::move(track));
  }
  return f.Build();
}

PlayerSlots ConvertingSlot(const std::string& program) {
  PlayerSlots slots;
  slots[0].InUse = true;
  slots[0].ExePath = program;
  slots[0].Formats.fill(true);
  slots[0].RcpcvRcp = true;
  return slots;
}

struct Archive {
  test::TempDir dir;
  std::string path = dir.path() + "SONGS.LZH";
  Archive() {
    const std::string song = TwentyKilobyteSong();
    WriteStoredArchive(path, {{"README.TXT", std::string(3000, 'r')}, {"SONG.RCP", song}, {"OTHER.MID", "MThd"}}, 2,
                       nullptr);
  }
};

void BM_PrepareAndConvert(benchmark::State& state) {
  Archive a;
  const std::string temp = a.dir.MakeFolder("tmp") + "/";
  TUnLhaManagement turns;
  SilentBox box;
  ConvertForPlaySettings settings;
  settings.playerSlots = ConvertingSlot("/bin/true");
  LpItemPreparation prep({temp, 0}, turns, MakeListPlayConversion(settings, box));
  TPLMusicInfo item;
  item.Folder = a.dir.path();
  item.Music.FileName = "SONG";
  item.Music.FileExt = ".RCP";
  item.Music.FileType = kRowRCP;
  item.Music.ItemKind = kArchiveMember;
  item.Music.Archiver = "SONGS.LZH";
  for (auto _ : state) {
    ListPlayPrepared out;
    if (prep.Prepare(item, 1, out, [] { return false; }) != kPrepareOk) state.SkipWithError("not prepared");
    prep.Stage(out);
  }
}
BENCHMARK(BM_PrepareAndConvert)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_PrepareAndConvert_Baseline(benchmark::State& state) {
  Archive a;
  const std::string out = a.dir.MakeFolder("x") + "/";
  for (auto _ : state) {
    test::RunProcess({"lha", "xqfw=" + out, a.path, "SONG.RCP"});
    test::RunProcess({KADREL_CLI_PATH, "convert", out + "SONG.RCP"});
  }
}
BENCHMARK(BM_PrepareAndConvert_Baseline)->Unit(benchmark::kMillisecond)->MinTime(2);

// The engine's waits, 50 times shorter: the delayed preparation of the next item
// (8.2 s) then ends while the 300 ms piece still plays, as it does with real songs.
class ShortWaitClock final : public IListPlayClock {
 public:
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, milliseconds period,
               const std::function<bool()>& wake) override {
    return cv.wait_for(lock, period / 50, wake);
  }
  steady_clock::time_point Now() override { return steady_clock::now(); }
};

// Notes when each player has been exec'd (the spawn returns after the exec).
class TimedPlayers final : public IListPlayPlayers {
 public:
  explicit TimedPlayers(IListPlayPlayers& inner) : inner_(inner) {}
  int ChooseSlot(const TPLMusicInfo& item, int lastSlot) override { return inner_.ChooseSlot(item, lastSlot); }
  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override {
    ListPlayLaunchOutcome outcome = inner_.Launch(launch, std::move(onEnded));
    std::lock_guard lock(mutex_);
    execs.push_back(MonotonicNs());
    return outcome;
  }
  size_t Execs() {
    std::lock_guard lock(mutex_);
    return execs.size();
  }
  int64_t ExecAt(size_t i) {
    std::lock_guard lock(mutex_);
    return execs.at(i);
  }
  std::vector<int64_t> execs;  // read without the lock only once the engine has ended

 private:
  IListPlayPlayers& inner_;
  std::mutex mutex_;
};

// One ListPlay run over `items` loose songs through the real engine and launcher, the
// player being this program waiting `playerMs`. `during` runs on the calling thread
// while the engine plays; the run ends when the list has been played or after 60 s.
struct ListPlayRun {
  std::vector<int64_t> execs;  // monotonic ns of each player's exec
  std::vector<int64_t> ends;   // monotonic ns of each player's own end
};

ListPlayRun RunListPlay(int items, int playerMs, const std::function<void(ListPlayEngine&, TimedPlayers&)>& during) {
  test::TempDir dir;
  const std::string temp = dir.MakeFolder("tmp") + "/";
  const std::string endFile = dir.path() + "ends";
  ::setenv("KADREL_BENCH_LP_PLAYER", std::to_string(playerMs).c_str(), 1);
  ::setenv("KADREL_BENCH_LP_END", endFile.c_str(), 1);
  TPLInfo list;
  for (int i = 0; i < items; ++i) {
    const std::string name = "S" + std::to_string(i);
    test::WriteFileBytes(dir.path() + name + ".MID", "MThd");
    auto item = std::make_unique<TPLMusicInfo>();
    item->Folder = dir.path();
    item->Slot = 1;
    item->Music.FileName = name;
    item->Music.FileExt = ".MID";
    item->Music.FileType = kRowMID;
    item->Music.ItemKind = kLooseFile;
    list.Items.push_back(std::move(item));
  }
  ListPlayLauncherSettings launcherSettings;
  launcherSettings.playerSlots = ConvertingSlot(SelfPath());
  launcherSettings.tempFolder = temp;
  ListPlayLauncher launcher(launcherSettings);
  TimedPlayers players(launcher);
  TUnLhaManagement turns;
  SilentBox box;
  ConvertForPlaySettings conversion;
  conversion.playerSlots = launcherSettings.playerSlots;
  LpItemPreparation prep({temp, 0}, turns, MakeListPlayConversion(conversion, box));
  test::SerialBridge bridge;  // the engine's calls "on the window's thread", one at a time
  ShortWaitClock clock;
  std::mutex m;
  std::condition_variable cv;
  bool finished = false;
  ListPlayEngine engine({list, bridge, box, players, prep, clock, [&] {
                           std::lock_guard l(m);
                           finished = true;
                           cv.notify_all();
                         }});
  engine.Start(0, 10, 1);
  if (during) during(engine, players);
  {
    std::unique_lock l(m);
    cv.wait_for(l, 60s, [&] { return finished; });
  }
  engine.Stop();
  engine.Join();
  ListPlayRun run;
  run.execs = players.execs;
  std::ifstream in(endFile);
  for (int64_t t; in >> t;) run.ends.push_back(t);
  return run;
}

void BM_PlayerExitToNextExec(benchmark::State& state) {
  std::vector<double> gaps;
  for (auto _ : state) {
    const ListPlayRun run = RunListPlay(12, 300, {});
    for (size_t i = 0; i + 1 < run.execs.size() && i < run.ends.size(); ++i)
      gaps.push_back(static_cast<double>(run.execs[i + 1] - run.ends[i]) / 1e6);
  }
  state.counters["p50_ms"] = Percentile(gaps, 0.5);
  state.counters["p95_ms"] = Percentile(gaps, 0.95);
  state.counters["max_ms"] = Percentile(gaps, 1.0);
  state.counters["gaps"] = static_cast<double>(gaps.size());
}
BENCHMARK(BM_PlayerExitToNextExec)->Iterations(2)->Unit(benchmark::kMillisecond);

// "Next" pressed while a long piece plays, the next item already prepared: from the
// request to the next player's exec (the playing one is closed first).
void BM_NextRequestToNewPlayer(benchmark::State& state) {
  constexpr int kItems = 8;
  std::vector<double> delays;
  for (auto _ : state) {
    RunListPlay(kItems, 20000, [&](ListPlayEngine& engine, TimedPlayers& players) {
      for (size_t played = 1; played < kItems; ++played) {
        while (players.Execs() < played) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(400ms);  // the next item's delayed preparation ends
        const int64_t asked = MonotonicNs();
        engine.RequestNext();
        while (players.Execs() < played + 1) std::this_thread::sleep_for(100us);
        delays.push_back(static_cast<double>(players.ExecAt(played) - asked) / 1e6);
      }
      engine.Stop();
    });
  }
  state.counters["p50_ms"] = Percentile(delays, 0.5);
  state.counters["p95_ms"] = Percentile(delays, 0.95);
  state.counters["max_ms"] = Percentile(delays, 1.0);
  state.counters["nexts"] = static_cast<double>(delays.size());
}
BENCHMARK(BM_NextRequestToNewPlayer)->Iterations(1)->Unit(benchmark::kMillisecond);

int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) (void)entry, ++count;
  return count;
}

// Children of this process that have ended and were not reaped.
int Zombies() {
  int count = 0;
  const std::string self = std::to_string(::getpid());
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    std::string state, parent;
    rest >> state >> parent;
    if (state == "Z" && parent == self) ++count;
  }
  return count;
}

double ProcessCpuMs() {
  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  return (self.ru_utime.tv_sec + self.ru_stime.tv_sec) * 1e3 + (self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e3;
}

// 200 pieces of 50 ms in a row: nothing may pile up (descriptors, unreaped players,
// memory), and the engine's own CPU share stays small (the players' CPU is theirs).
void BM_Soak200ShortPieces(benchmark::State& state) {
  for (auto _ : state) {
    const int fdsBefore = OpenDescriptors();
    const double cpuBefore = ProcessCpuMs();
    const int64_t start = MonotonicNs();
    const ListPlayRun run = RunListPlay(200, 50, {});
    const double wallMs = static_cast<double>(MonotonicNs() - start) / 1e6;
    state.counters["played"] = static_cast<double>(run.execs.size());
    state.counters["fd_growth"] = OpenDescriptors() - fdsBefore;
    state.counters["zombies"] = Zombies();
    state.counters["cpu_percent"] = 100.0 * (ProcessCpuMs() - cpuBefore) / wallMs;
    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);
    state.counters["peak_rss_MB"] = static_cast<double>(self.ru_maxrss) / 1024.0;
  }
}
BENCHMARK(BM_Soak200ShortPieces)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  kadrel::KeepFreedHeapForReuse();  // as both programs do at start
  if (const char* ms = std::getenv("KADREL_BENCH_LP_PLAYER")) {
    std::this_thread::sleep_for(milliseconds(std::atoi(ms)));
    if (const char* file = std::getenv("KADREL_BENCH_LP_END")) std::ofstream(file, std::ios::app) << MonotonicNs() << "\n";
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
