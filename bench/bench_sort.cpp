// Sorting the file list: 100,000 records by title with Japanese collation, against a
// plain byte-order std::sort of the same records in the same run; and keeping a list
// sorted while 10,000 records arrive in random order.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/bench_main.h"
#include "base/encoding.h"
#include "sorting/sort_list.h"

namespace kadrel {
namespace {

using List = std::vector<std::unique_ptr<TMusicFileInfo>>;

// Titles mixing hiragana, katakana, kanji, full-width and plain Latin, with and without
// leading brackets, stored as CP932 like titles read from files.
std::string RandomTitle(std::mt19937& rng) {
  static const char* kPieces[] = {
      "あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ", "が", "ぱ", "っ", "ー",
      "ア", "カ", "サ", "タ", "ナ", "ハ", "マ", "ヤ", "ラ", "ワ", "ガ", "パ", "ッ", "ン",
      "夢", "空", "海", "風", "恋", "歌", "星", "月", "光", "春", "夏", "秋", "冬", "花",
      "Ａ", "Ｂ", "Ｍ", "Ｚ", "１", "２", "　",
  };
  static const char* kLatin = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -";
  std::string utf8;
  if (rng() % 8 == 0) utf8 += "「";
  const bool latin = rng() % 3 == 0;
  const int length = 4 + static_cast<int>(rng() % 16);
  for (int i = 0; i < length; ++i) {
    if (latin) utf8 += kLatin[rng() % 64];
    else utf8 += kPieces[rng() % std::size(kPieces)];
  }
  return Cp932(utf8);
}

List MakeRecords(size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  List list;
  list.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    auto r = std::make_unique<TMusicFileInfo>();
    r->ItemKind = i < 30 ? kFolderEntry : (rng() % 4 == 0 ? kArchiveMember : kLooseFile);
    r->FileName = "SONG" + std::to_string(rng() % 100000);
    r->FileExt = ".MID";
    r->Title = RandomTitle(rng);
    list.push_back(std::move(r));
  }
  return list;
}

constexpr size_t kSortCount = 100'000;
constexpr size_t kInsertCount = 10'000;

void BM_SortListByTitle(benchmark::State& state) {
  List list = MakeRecords(kSortCount, 1);
  std::mt19937 rng(2);
  const TSortState sort{8, kAscending};
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(list.begin(), list.end(), rng);
    state.ResumeTiming();
    bool ok = SortList(list, sort, true);
    benchmark::DoNotOptimize(ok);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kSortCount));
}

// Baseline: the same records, std::sort of the pointers by the title bytes.
void BM_BaselineByteSortByTitle(benchmark::State& state) {
  List records = MakeRecords(kSortCount, 1);
  std::vector<const TMusicFileInfo*> list;
  for (const auto& r : records) list.push_back(r.get());
  std::mt19937 rng(2);
  for (auto _ : state) {
    state.PauseTiming();
    std::shuffle(list.begin(), list.end(), rng);
    state.ResumeTiming();
    std::sort(list.begin(), list.end(),
              [](const TMusicFileInfo* a, const TMusicFileInfo* b) { return a->Title < b->Title; });
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kSortCount));
}

// 10,000 records arriving in random order into a growing list, with the list's key cache.
void BM_SortedInsert10k(benchmark::State& state) {
  const List arrivals = MakeRecords(kInsertCount, 3);
  const TSortState sort{8, kAscending};
  for (auto _ : state) {
    state.PauseTiming();
    List copies;
    for (const auto& r : arrivals) copies.push_back(std::make_unique<TMusicFileInfo>(*r));
    List list;
    TSortKeyCache cache;
    state.ResumeTiming();
    for (auto& r : copies) SortedInsert(list, std::move(r), sort, true, &cache);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kInsertCount));
}

// Baseline: the same arrivals inserted at their byte-order place found by binary search.
void BM_BaselineByteInsert10k(benchmark::State& state) {
  const List arrivals = MakeRecords(kInsertCount, 3);
  for (auto _ : state) {
    std::vector<const TMusicFileInfo*> list;
    for (const auto& r : arrivals) {
      auto at = std::upper_bound(list.begin(), list.end(), r.get(), [](const TMusicFileInfo* a, const TMusicFileInfo* b) {
        return a->Title < b->Title;
      });
      list.insert(at, r.get());
    }
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kInsertCount));
}

// The same byte-order insertion into the file list's own type (records owned by the
// list): moving owning pointers costs more than moving plain ones, and both sorted
// insertions pay it.
void BM_BaselineByteInsertOwned10k(benchmark::State& state) {
  const List arrivals = MakeRecords(kInsertCount, 3);
  for (auto _ : state) {
    state.PauseTiming();
    List copies;
    for (const auto& r : arrivals) copies.push_back(std::make_unique<TMusicFileInfo>(*r));
    List list;
    state.ResumeTiming();
    for (auto& r : copies) {
      auto at = std::upper_bound(list.begin(), list.end(), r,
                                 [](const auto& a, const auto& b) { return a->Title < b->Title; });
      list.insert(at, std::move(r));
    }
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kInsertCount));
}

BENCHMARK(BM_SortListByTitle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineByteSortByTitle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedInsert10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineByteInsert10k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineByteInsertOwned10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
