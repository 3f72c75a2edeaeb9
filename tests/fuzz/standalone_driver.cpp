// Runs a fuzz target without libFuzzer: the files of the seed folders (--corpus=DIR, may
// be given more than once; a folder that is absent is reported and passed over), then
// random and mutated inputs for a bounded time. Used by the regular test build, where
// the sanitizers catch what the inputs provoke.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  double seconds = 3;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::atof(argv[i] + 10);
    else if (std::strncmp(argv[i], "--corpus=", 9) == 0) folders.emplace_back(argv[i] + 9);
  }
  // The folders overlap (tests/data holds copies of shared corpus files): each content once.
  constexpr size_t kMaxSeeds = 800;
  std::vector<std::string> seeds;
  std::unordered_set<std::string> seen;
  for (const auto& folder : folders) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      std::printf("seed folder %s is not here; passed over\n", folder.c_str());
      continue;
    }
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator() && seeds.size() < kMaxSeeds; it.increment(ec)) {
      if (!it->is_regular_file(ec) || it->file_size(ec) > (1u << 20)) continue;
      std::ifstream in(it->path(), std::ios::binary);
      std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      if (seen.insert(bytes).second) seeds.push_back(std::move(bytes));
    }
  }
  for (const auto& s : seeds) LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());

  std::mt19937_64 rng(12345);
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  size_t runs = 0;
  while (std::chrono::steady_clock::now() < end) {
    std::string input;
    if (!seeds.empty() && rng() % 4 != 0) {
      input = seeds[rng() % seeds.size()];
      if (input.size() > 4096 && rng() % 2) input.resize(rng() % 4096);
      size_t flips = 1 + rng() % 16;
      for (size_t k = 0; k < flips && !input.empty(); ++k) {
        size_t pos = rng() % input.size();
        switch (rng() % 4) {
          case 0: input[pos] = static_cast<char>(rng()); break;
          case 1: input[pos] = static_cast<char>(0xFF); break;
          case 2: input.resize(pos); break;
          default: input.insert(pos, std::string(1 + rng() % 8, static_cast<char>(rng()))); break;
        }
      }
    } else {
      input.resize(rng() % 2048);
      for (auto& c : input) c = static_cast<char>(rng());
    }
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
  }
  std::printf("%zu seeds, %zu generated inputs\n", seeds.size(), runs);
  return 0;
}
