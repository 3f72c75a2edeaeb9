// LZH extraction against lhasa's `lha x` (the baseline, run in the same program), and
// the folder scan's way of reading members (first 512 bytes into memory) against
// extracting every member to disk.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/bench_main.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

// The real archives of tests/data, so that every clone measures the same files.
std::string Corpus(const std::string& rel) { return std::string(KADREL_TEST_DATA_DIR) + "/lzh/" + rel; }

// Member bytes (header + data) of the first member of a real archive, renamed.
std::string MemberBytes(const std::string& archive, const std::string& newName) {
  const std::string bytes = test::ReadFileBytes(Corpus(archive));
  MemoryByteSource src(bytes);
  const LzhMember m = ListLzhArchive(src).members.at(0);
  const std::string one = bytes.substr(m.headerOffset, m.headerSize + m.compressedSize) + std::string(1, '\0');
  std::string renamed;
  RenameLzhMembersInMemory(one, m.name, newName, renamed);
  return renamed.substr(0, renamed.size() - 1);
}

struct Archives {
  test::TempDir dir;
  std::string largestCorpus;  // the largest real .lzh whose members all decode
  std::string lh5Twenty;      // 16 x the 1.24 MB -lh5- text: ~20 MB out
  std::string storedTwenty;   // 64 x 320 KiB stored: 20 MB
  std::string twoHundred;     // 200 x the GPL text, -lh5-, distinct names

  Archives() {
    uintmax_t best = 0;
    for (const auto& e : fs::recursive_directory_iterator(Corpus(""))) {
      if (e.path().extension() != ".lzh" || e.file_size() <= best) continue;
      auto src = FileByteSource::Open(e.path().string());
      LzhListing l = ListLzhArchive(*src);
      bool ok = !l.damaged && !l.members.empty();
      for (const auto& m : l.members) {
        std::string d;
        // A small archive declaring a member of gigabytes is not decoded into memory.
        ok = ok && (m.IsDirectory() || (m.originalSize <= (64u << 20) && DecodeLzhMember(*src, m, d) == LzhDecodeStatus::Ok));
      }
      if (ok) {
        best = e.file_size();
        largestCorpus = e.path().string();
      }
    }
    std::string a;
    for (int i = 0; i < 16; ++i) a += MemberBytes("lha213/lh5_long.lzh", "LONG" + std::to_string(i) + ".TXT");
    lh5Twenty = dir.Write("lh5_20mb.lzh", a + std::string(1, '\0'));
    std::vector<StoredMember> stored;
    for (int i = 0; i < 64; ++i) stored.push_back({"S" + std::to_string(i) + ".BIN", std::string(320 << 10, char('a' + i % 26))});
    storedTwenty = dir.Write("stored_20mb.lzh", BuildStoredArchive(stored, 2));
    std::string b;
    for (int i = 0; i < 200; ++i) b += MemberBytes("explzh_723/h1_lh5.lzh", "F" + std::to_string(i) + ".TXT");
    twoHundred = dir.Write("members_200.lzh", b + std::string(1, '\0'));
  }
};

const Archives& Get() {
  static const Archives a;
  return a;
}

const std::string& Pick(int which) {
  const Archives& a = Get();
  return which == 0 ? a.largestCorpus : which == 1 ? a.lh5Twenty : a.storedTwenty;
}

void ClearFolder(const std::string& folder) {
  for (const auto& e : fs::directory_iterator(folder)) fs::remove_all(e.path());
}

void BM_OurExtract(benchmark::State& state) {
  const std::string& path = Pick(static_cast<int>(state.range(0)));
  test::TempDir out;
  for (auto _ : state) {
    auto src = FileByteSource::Open(path);
    for (const auto& m : ListLzhArchive(*src).members)
      if (m.IsRegularFile()) ExtractLzhMember(*src, m, out.path());
    state.PauseTiming();
    ClearFolder(out.path());
    state.ResumeTiming();
  }
  state.SetLabel(fs::path(path).filename().string());
}

// Baseline: lhasa's command-line tool, quiet, forced, into a temporary folder.
void BM_BaselineLhaX(benchmark::State& state) {
  const std::string& path = Pick(static_cast<int>(state.range(0)));
  test::TempDir out;
  for (auto _ : state) {
    test::RunProcess({"lha", "xqfw=" + out.path(), path});
    state.PauseTiming();
    ClearFolder(out.path());
    state.ResumeTiming();
  }
  state.SetLabel(fs::path(path).filename().string());
}

// The scan's header read: first 512 bytes of every member of a 200-member archive.
void BM_First512BytesOf200Members(benchmark::State& state) {
  const std::string& path = Get().twoHundred;
  std::string data;
  for (auto _ : state) {
    auto src = FileByteSource::Open(path);
    for (const auto& m : ListLzhArchive(*src).members) DecodeLzhMember(*src, m, data, 512);
    benchmark::DoNotOptimize(data);
  }
}

// Baseline for it: extracting all 200 members to disk.
void BM_Extract200Members(benchmark::State& state) {
  const std::string& path = Get().twoHundred;
  test::TempDir out;
  for (auto _ : state) {
    auto src = FileByteSource::Open(path);
    for (const auto& m : ListLzhArchive(*src).members) ExtractLzhMember(*src, m, out.path());
    state.PauseTiming();
    ClearFolder(out.path());
    state.ResumeTiming();
  }
}

BENCHMARK(BM_OurExtract)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineLhaX)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_First512BytesOf200Members)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Extract200Members)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
