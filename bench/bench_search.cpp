// The index search over 1,000,000 records in four index files (one per volume, 250
// records per folder): the first search, which reads and folds every file, then
// searches with the folded texts cached: the time to the first hit handed over and to
// the end. The records are encoded by the index record encoder and framed as folder
// blocks; the store reads a block of each file back before the run, as a check.

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "support/bench_main.h"
#include "base/atomic_file.h"
#include "base/byte_cursor.h"
#include "base/encoding.h"
#include "catalog/format_table.h"
#include "catalog/index_record.h"
#include "index/folder_index.h"
#include "index/index_format.h"
#include "search/index_search.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

constexpr int kFiles = 4;
constexpr int kRecords = 1'000'000;
constexpr int kPerFolder = 250;
// One title in this many holds the word searched for.
constexpr int kRareEvery = 1000;

const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> w;
    for (const char* utf8 : {"春", "夏", "秋", "冬", "の", "歌", "テーマ", "ステージ", "バトル", "エンディング",
                             "オープニング", "ＢＧＭ", "ﾒｲﾝ", "ﾀｲﾄﾙ", "さくら", "ゆめ", "そら", "Love", "Night",
                             "Song", "Dance", "Field", "Town", "Castle", "Boss", "Ver.2", "(GS)", "(MT-32)"})
      w.push_back(Cp932(utf8));
    return w;
  }();
  return words;
}

std::string Phrase(std::mt19937& rng, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    text += Words()[rng() % Words().size()];
  }
  return text;
}

TMusicFileInfo Record(int i, std::mt19937& rng) {
  static const int rows[] = {kRowMID, kRowRCP, kRowMP3, kRowG36, kRowWAV, kRowMOD};
  TMusicFileInfo r;
  r.FileName = "SONG" + std::to_string(i % 100000);
  r.FileType = rows[i % 6];
  r.ItemKind = i % 3 == 0 ? kArchiveMember : kLooseFile;
  r.Archiver = r.ItemKind == kArchiveMember ? "PACK" + std::to_string(i / 20 % 1000) + ".LZH" : "";
  r.Detail = "SMF1";
  r.Title = Phrase(rng, 3);
  if (i % kRareEvery == 500) r.Title += Cp932(" ﾄﾞﾗｺﾞﾝ");  // half-width: found as ドラゴン
  r.Artist = Phrase(rng, 1);
  r.Composer = Cp932("作曲") + std::to_string(i % 5000);
  r.DataMaker = "maker" + std::to_string(i % 700);
  r.Size = 12345 + i % 50000;
  r.DosDate = 0x2A21;
  return r;
}

class SearchFixture {
 public:
  SearchFixture() {
    std::mt19937 rng(7);
    const int perFile = kRecords / kFiles;
    for (int f = 0; f < kFiles; ++f) {
      std::string image(IndexHeader());
      for (int start = 0; start < perFile; start += kPerFolder) {
        const std::string folder = "/media/disk" + std::to_string(f) + "/music/" + std::to_string(start / kPerFolder) + "/";
        std::string block = "\xFF\x20";
        block.append(4, '\0');
        block.push_back(static_cast<char>(folder.size()));
        block += folder;
        for (int i = start; i < start + kPerFolder; ++i) block += EncodeIndexRecord(Record(f * perFile + i, rng));
        block += "\xFF\x29";
        StoreLe32(block, 2, static_cast<uint32_t>(block.size()));
        image += block;
      }
      const std::string path = temp.path() + "_media_disk" + std::to_string(f) + "_index.dat";
      ReplaceFileAtomically(path, image);
      files.push_back(path);
      bytes += image.size();
      // The store reads what was framed here.
      if (TFolderIndex::BlockRecords(image, kIndexHeaderSize).size() != kPerFolder) std::abort();
    }
  }
  test::TempDir temp;
  std::vector<std::string> files;
  size_t bytes = 0;
};

SearchFixture& Fixture() {
  static SearchFixture fixture;
  return fixture;
}

struct Timed {
  double firstMs = -1, totalMs = 0;
  size_t hits = 0;
};

Timed RunOnce(SearchCache& cache, const std::string& text) {
  using Clock = std::chrono::steady_clock;
  SearchQuery query;
  query.text = text;
  Timed t;
  const auto start = Clock::now();
  auto ms = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
  const SearchOutcome outcome = IndexSearch(cache).Run(query, Fixture().files, [&](std::vector<SearchHit>&& hits) {
    if (t.firstMs < 0 && !hits.empty()) t.firstMs = ms();
  });
  t.totalMs = ms();
  t.hits = outcome.hits;
  return t;
}

// Reading and folding every file, then searching.
void BM_FirstSearch(benchmark::State& state) {
  Fixture();
  for (auto _ : state) {
    SearchCache cache;
    const Timed t = RunOnce(cache, "ドラゴン");
    state.counters["hits"] = static_cast<double>(t.hits);
    state.counters["cache_MiB"] = static_cast<double>(cache.MemoryBytes()) / (1 << 20);
    state.counters["files_MiB"] = static_cast<double>(Fixture().bytes) / (1 << 20);
  }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond)->Iterations(1);

// With the folded texts cached: a rare word (1 in 1,000 records), two words, and a
// common one whose hits end at the window's limit of 10,000.
void BM_CachedSearch(benchmark::State& state, const char* text, size_t maxHits) {
  static SearchCache cache;
  RunOnce(cache, "x");
  double first = 0, total = 0;
  size_t hits = 0;
  for (auto _ : state) {
    using Clock = std::chrono::steady_clock;
    SearchQuery query;
    query.text = text;
    SearchRun run;
    run.maxHits = maxHits;
    const auto start = Clock::now();
    double firstMs = -1;
    const SearchOutcome outcome = IndexSearch(cache).Run(query, Fixture().files, [&](std::vector<SearchHit>&& h) {
      if (firstMs < 0 && !h.empty()) firstMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }, run);
    total = std::max(total, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    first = std::max(first, firstMs);
    hits = outcome.hits;
  }
  state.counters["worst_first_ms"] = first;
  state.counters["worst_total_ms"] = total;
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["cache_MiB"] = static_cast<double>(cache.MemoryBytes()) / (1 << 20);
}
BENCHMARK_CAPTURE(BM_CachedSearch, rare_word, "ドラゴン", SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CachedSearch, two_words, "どらごん song", SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CachedSearch, no_hit, "zzzq", SIZE_MAX)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CachedSearch, common_word_limited, "castle", 10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
