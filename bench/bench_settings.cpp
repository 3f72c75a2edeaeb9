// The settings pass of a program start: a first start (empty store: upgrade and every
// loader writing its defaults) and a normal start (everything present). Baseline: the
// same number of value reads done with bare SQLite statements on the same database.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "support/bench_main.h"
#include "base/message_box.h"
#include "settings/key_path.h"
#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

PlatformFolders Folders(const test::TempDir& dir) {
  PlatformFolders f;
  f.config = dir.path();
  f.index = dir.path() + "index/";
  f.temp = dir.path() + "tmp/";
  f.home = dir.path();
  return f;
}

// Opens the store and runs the start-up pass; the store is closed outside the timing
// (the program keeps it open until it ends).
uint64_t StartOnce(const std::string& dbPath, const PlatformFolders& folders, benchmark::State* state = nullptr) {
  auto store = SettingsStore::Open(dbPath, nullptr);
  RegTreat reg(*store, folders.config);
  SilentMessageBox box(MessageAnswer::No);
  StartupSettings s = RunStartupSettings(reg, box, folders, UpgradeEnvironment{}, {1920, 1080});
  benchmark::DoNotOptimize(s);
  uint64_t lookups = store->lookups();
  if (state) state->PauseTiming();
  store.reset();
  if (state) state->ResumeTiming();
  return lookups;
}

void BM_FirstStart(benchmark::State& state) {
  test::TempDir dir;
  PlatformFolders folders = Folders(dir);
  int n = 0;
  for (auto _ : state) {
    StartOnce(dir.path() + "first" + std::to_string(n++) + ".db", folders, &state);
  }
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);

void BM_NormalStart(benchmark::State& state) {
  test::TempDir dir;
  PlatformFolders folders = Folders(dir);
  const std::string db = dir.path() + "settings.db";
  StartOnce(db, folders);
  uint64_t lookups = 0;
  for (auto _ : state) lookups = StartOnce(db, folders, &state);
  state.counters["values"] = static_cast<double>(lookups);
}
BENCHMARK(BM_NormalStart)->Unit(benchmark::kMillisecond);

// Open the same database and read as many values with one prepared statement.
void BM_RawSqliteReads(benchmark::State& state) {
  test::TempDir dir;
  PlatformFolders folders = Folders(dir);
  const std::string db = dir.path() + "settings.db";
  StartOnce(db, folders);
  const uint64_t count = StartOnce(db, folders);
  std::vector<std::pair<std::string, std::string>> names;
  {
    auto store = SettingsStore::Open(db, nullptr);
    for (const auto& k : store->Snapshot())
      for (const auto& v : k.values) names.emplace_back(FoldKeyPath(k.path), FoldName(v.name));
  }
  for (auto _ : state) {
    sqlite3* h = nullptr;
    sqlite3_open_v2(db.c_str(), &h, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(h, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT kind, ival, sval FROM vals WHERE key=?1 AND fold=?2", -1, &st, nullptr);
    int64_t sum = 0;
    for (uint64_t i = 0; i < count; ++i) {
      const auto& [key, name] = names[i % names.size()];
      sqlite3_bind_blob(st, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
      sqlite3_bind_blob(st, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
      if (sqlite3_step(st) == SQLITE_ROW) sum += sqlite3_column_int64(st, 1) + sqlite3_column_bytes(st, 2);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(sum);
    state.PauseTiming();
    sqlite3_close_v2(h);
    state.ResumeTiming();
  }
  state.counters["values"] = static_cast<double>(count);
}
BENCHMARK(BM_RawSqliteReads)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
