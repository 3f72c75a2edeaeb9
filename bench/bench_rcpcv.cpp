// Recomposer -> Standard MIDI conversion speed over the corpus songs (each converted 100
// times), with the time to merely read the same input files as the baseline.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/byte_source.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "formats/rcpcv/rcp_song.h"

namespace {

std::vector<std::string> SongPaths() {
  std::vector<std::string> paths;
  std::error_code ec;
  for (const char* folder : {"/rcp", "/g36"}) {
    for (auto it = std::filesystem::recursive_directory_iterator(std::string(KADREL_CORPUS_DIR) + folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_regular_file(ec)) paths.push_back(it->path().string());
    }
  }
  return paths;
}

std::string ReadAll(const std::string& path) {
  auto source = kadrel::FileByteSource::Open(path);
  return source ? source->Read(0, static_cast<size_t>(source->Size())) : std::string();
}

void BM_ReadInputs(benchmark::State& state) {
  const auto paths = SongPaths();
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

void BM_ConvertSongs(benchmark::State& state) {
  std::vector<std::string> songs;
  for (const auto& p : SongPaths()) {
    std::string data = ReadAll(p);
    if (kadrel::LooksLikeRcp(data) || kadrel::LooksLikeG(data)) songs.push_back(std::move(data));
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

}  // namespace

BENCHMARK(BM_ReadInputs)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertSongs)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
