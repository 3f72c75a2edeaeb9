// Continuous play: preparing an archive member (a 20 KB Recomposer song) and converting
// it, against lhasa's `lha x` of the same member followed by `kadrel-cli convert` (the
// baseline, run in the same program); and, through the real engine and launcher, the
// time from one player's exit to the next player's exec with the next item prepared.
//
// The player of the second benchmark is this program itself: with KADREL_BENCH_LP_PLAYER
// set it waits that many milliseconds, appends the monotonic time of its end to the file
// KADREL_BENCH_LP_END and exits.

#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "archive/lzh_writer.h"
#include "catalog/format_table.h"
#include "playback/listplay_engine.h"
#include "playback/listplay_launcher.h"
#include "playback/lp_convert_for_play.h"
#include "playback/lp_item_preparation.h"
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

// Serialises the engine's calls "on the window's thread".
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
    execs.push_back(MonotonicNs());
    return outcome;
  }
  std::vector<int64_t> execs;

 private:
  IListPlayPlayers& inner_;
};

void BM_PlayerExitToNextExec(benchmark::State& state) {
  constexpr int kItems = 12;
  test::TempDir dir;
  const std::string temp = dir.MakeFolder("tmp") + "/";
  const std::string endFile = dir.path() + "ends";
  ::setenv("KADREL_BENCH_LP_PLAYER", "300", 1);
  ::setenv("KADREL_BENCH_LP_END", endFile.c_str(), 1);
  std::vector<double> gaps;
  for (auto _ : state) {
    ::unlink(endFile.c_str());
    TPLInfo list;
    for (int i = 0; i < kItems; ++i) {
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
    SerialBridge bridge;
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
    {
      std::unique_lock l(m);
      cv.wait_for(l, 60s, [&] { return finished; });
    }
    engine.Stop();
    engine.Join();
    std::ifstream in(endFile);
    std::vector<int64_t> ends;
    for (int64_t t; in >> t;) ends.push_back(t);
    for (size_t i = 0; i + 1 < players.execs.size() && i < ends.size(); ++i)
      gaps.push_back(static_cast<double>(players.execs[i + 1] - ends[i]) / 1e6);
  }
  state.counters["p50_ms"] = Percentile(gaps, 0.5);
  state.counters["p95_ms"] = Percentile(gaps, 0.95);
  state.counters["max_ms"] = Percentile(gaps, 1.0);
  state.counters["gaps"] = static_cast<double>(gaps.size());
}
BENCHMARK(BM_PlayerExitToNextExec)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
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
