// Reading the headers of 10,000 generated files of mixed formats, against a baseline
// that only opens each file and reads as many bytes as the readers read. Both know the
// names up front: the reading side takes them from the folder listing the scan makes
// (listed once, before the measurement), as the scan reads its files.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/bench_main.h"
#include "catalog/format_table.h"
#include "scan/folder_listing.h"
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
    ::sync();  // the new files' writeback is not to overlap a measurement
  }
};

Collection& Files() {
  static Collection c;
  return c;
}

void BM_ReadHeaderInfo(benchmark::State& state) {
  Collection& c = Files();
  const std::optional<FolderListing> listing = FolderListing::Read(c.dir.path());
  if (!listing || listing->Entries().size() != c.names.size()) return state.SkipWithError("listing failed");
  for (auto _ : state) {
    for (const DirEntry& e : listing->Entries()) {
      TMusicFileInfo r;
      r.FileName = NameWithoutExtension(e.name);
      r.FileExt = ExtensionWithDot(e.name);
      r.FileType = FormatRowForFileName(e.name);
      const std::optional<uint64_t> size =
          e.listedRegular ? std::optional<uint64_t>(static_cast<uint64_t>(e.size)) : std::nullopt;
      ReadHeaderInfoAt(listing->Fd(), e.name, size, r, {});
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

KADREL_BENCHMARK_MAIN()
