// Reading the headers of 10,000 generated files of mixed formats, against a baseline
// that only opens each file and reads as many bytes as the readers read.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "catalog/format_table.h"
#include "formats/read_header_info.h"
#include "base/text_helpers.h"
#include "support/generated_files.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

struct Collection {
  test::TempDir dir;
  std::vector<std::string> names;
  std::vector<size_t> bytesRead;
  Collection() {
    for (int i = 0; i < 10000; ++i) {
      std::string name;
      std::string data = bench::MusicFile(i, true, name);
      dir.Write(name, data);
      names.push_back(name);
      MemoryByteSource memory(data);
      bench::CountingSource counting(memory);
      TMusicFileInfo r;
      r.FileType = FormatRowForFileName(name);
      r.FileExt = ExtensionWithDot(name);
      ReadHeaderInfoFrom(counting, r, {});
      bytesRead.push_back(counting.bytes);
    }
  }
};

Collection& Files() {
  static Collection c;
  return c;
}

void BM_ReadHeaderInfo(benchmark::State& state) {
  Collection& c = Files();
  for (auto _ : state) {
    for (const std::string& name : c.names) {
      TMusicFileInfo r;
      r.FileName = NameWithoutExtension(name);
      r.FileExt = ExtensionWithDot(name);
      r.FileType = FormatRowForFileName(name);
      ReadHeaderInfo(c.dir.path(), r, {});
      benchmark::DoNotOptimize(r.InfoState);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.names.size()));
}
BENCHMARK(BM_ReadHeaderInfo)->Unit(benchmark::kMillisecond);

void BM_ReadHeaderInfo_Baseline(benchmark::State& state) {
  Collection& c = Files();
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    for (size_t i = 0; i < c.names.size(); ++i) {
      int fd = ::open((c.dir.path() + c.names[i]).c_str(), O_RDONLY | O_CLOEXEC);
      ssize_t got = ::pread(fd, buffer.data(), std::min(c.bytesRead[i], buffer.size()), 0);
      benchmark::DoNotOptimize(got);
      ::close(fd);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.names.size()));
}
BENCHMARK(BM_ReadHeaderInfo_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

BENCHMARK_MAIN();
