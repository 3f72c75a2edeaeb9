// Recomposer -> Standard MIDI conversion speed over real songs (each set converted 100
// times), with the time to merely read the same input files as the baseline. The small
// songs of tests/data run on every clone; the whole set, with the two large songs that
// only the shared corpus holds, runs where that corpus is present.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/heap_settings.h"
#include "base/byte_source.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "formats/rcpcv/rcp_song.h"

namespace {

namespace fs = std::filesystem;

// The song files under root's rcp/ and g36/ folders.
std::vector<std::string> SongPaths(const std::string& root) {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const char* folder : {"/rcp", "/g36"}) {
    for (auto it = fs::recursive_directory_iterator(root + folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      if (it->is_regular_file(ec)) paths.push_back(it->path().string());
    }
  }
  return paths;
}

std::string ReadAll(const std::string& path) {
  auto source = kadrel::FileByteSource::Open(path);
  return source ? source->Read(0, static_cast<size_t>(source->Size())) : std::string();
}

void BM_ReadInputs(benchmark::State& state, const std::string& root) {
  const auto paths = SongPaths(root);
  int64_t bytes = 0;
  for (auto _ : state) {
    for (const auto& p : paths) {
      std::string data = ReadAll(p);
      bytes += static_cast<int64_t>(data.size());
      benchmark::DoNotOptimize(data);
    }
  }
  state.SetBytesProcessed(bytes);
  state.counters["songs"] = static_cast<double>(paths.size());
}

void BM_ConvertSongs(benchmark::State& state, const std::string& root) {
  std::vector<std::string> songs;
  for (const auto& p : SongPaths(root)) {
    std::string data = ReadAll(p);
    if (kadrel::LooksLikeRcp(data) || kadrel::LooksLikeG(data)) songs.push_back(std::move(data));
  }
  if (songs.empty()) {
    state.SkipWithError(("no songs under " + root).c_str());
    return;
  }
  kadrel::RcpConvertOptions options;
  options.readControlFile = [](const std::string&) { return std::optional<std::string>(); };
  int64_t smfBytes = 0;
  for (auto _ : state) {
    for (const auto& song : songs) {
      kadrel::RcpConvertResult r = kadrel::ConvertRecomposer(song, options);
      smfBytes += static_cast<int64_t>(r.smf.size());
      benchmark::DoNotOptimize(r);
    }
  }
  state.SetBytesProcessed(smfBytes);  // SMF bytes written
  state.counters["songs"] = static_cast<double>(songs.size());
  state.counters["ms_per_song"] = benchmark::Counter(
      static_cast<double>(state.iterations() * songs.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Register(const std::string& set, const std::string& root) {
  benchmark::RegisterBenchmark(("BM_ReadInputs/" + set).c_str(), BM_ReadInputs, root)
      ->Iterations(100)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("BM_ConvertSongs/" + set).c_str(), BM_ConvertSongs, root)
      ->Iterations(100)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  kadrel::KeepFreedHeapForReuse();  // as both programs do at start
  benchmark::Initialize(&argc, argv);
  Register("test_data", KADREL_TEST_DATA_DIR);
  std::error_code ec;
  if (fs::is_directory(KADREL_CORPUS_DIR, ec))
    Register("shared_corpus", KADREL_CORPUS_DIR);
  else
    std::fprintf(stderr, "the shared corpus is not at %s: its songs are left out\n", KADREL_CORPUS_DIR);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
