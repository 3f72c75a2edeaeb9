// Filling the file list from the index: a folder of 20,000 entries (half of them
// archive members) in an index file that holds 50 other folders before it. Measured
// from the file (a fresh store loads and searches the image) and from the loaded image;
// the baselines in the same run are reading the file's bytes and decoding the block's
// records without any of the list rules.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "support/bench_main.h"
#include "base/message_box.h"
#include "catalog/index_record.h"
#include "base/atomic_file.h"
#include "index/folder_index.h"
#include "index/index_format.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

constexpr int kEntries = 20'000;
constexpr int kScreenful = 40;

TMusicFileInfo Record(int i, bool member) {
  TMusicFileInfo r;
  r.FileName = "SONG" + std::to_string(i);
  r.FileExt = ".MID";
  r.FileType = kRowMID;
  r.ItemKind = member ? kArchiveMember : kLooseFile;
  r.Archiver = member ? "PACK" + std::to_string(i / 20) + ".LZH" : "";
  r.Detail = "SMF1";
  r.Title = "\x83\x5E\x83\x43\x83\x67\x83\x8B title " + std::to_string(i);
  r.Artist = "artist";
  r.Composer = "composer";
  r.Size = 12345 + i;
  r.DosDate = 0x2A21;
  return r;
}

class IndexFixture {
 public:
  IndexFixture() {
    options.IndexFolder = temp.path() + "index/";
    options.IndexMode = 2;
    TFolderIndex index = Make();
    std::vector<TMusicFileInfo> out;
    for (int f = 0; f < 50; ++f) {
      index.OpenFolderIndex(temp.MakeFolder("other" + std::to_string(f)), out);
      std::vector<TMusicFileInfo> list;
      for (int i = 0; i < 200; ++i) list.push_back(Record(i, i % 2 == 0));
      index.WriteFolderBlock(list);
    }
    folder = temp.MakeFolder("big");
    std::vector<TMusicFileInfo> list;
    for (int i = 0; i < kEntries; ++i) {
      list.push_back(Record(i, i % 2 == 0));
      // Only the first screenful is looked up on disk.
      if (i < kScreenful) temp.Write("big/" + (i % 2 ? list.back().FullName() : list.back().Archiver), "x");
    }
    index.OpenFolderIndex(folder, out);
    index.WriteFolderBlock(list);
    indexPath = index.IndexPath();
  }

  TFolderIndex Make() {
    return TFolderIndex(options, messages, {}, [](const std::string&) {
      return VolumeInfo{"/", "ext4", "8:1", VolumeKind::Fixed};
    });
  }

  test::TempDir temp;
  TMainOption options;
  SilentMessageBox messages;
  std::string folder;
  std::string indexPath;
};

IndexFixture& Fixture() {
  static IndexFixture fixture;
  return fixture;
}

void BM_FillListFromIndexFile(benchmark::State& state) {
  IndexFixture& f = Fixture();
  for (auto _ : state) {
    TFolderIndex index = f.Make();
    std::vector<TMusicFileInfo> out;
    out.reserve(kEntries);
    if (!index.OpenFolderIndex(f.folder, out, {1, kScreenful, {}}) || out.size() != kEntries)
      state.SkipWithError("the index did not give the folder's entries");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_FillListFromLoadedImage(benchmark::State& state) {
  IndexFixture& f = Fixture();
  TFolderIndex index = f.Make();
  std::vector<TMusicFileInfo> out;
  index.OpenFolderIndex(f.folder, out);
  for (auto _ : state) {
    out.clear();
    index.ReadFolderBlock(out, {1, kScreenful, {}});
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_BaselineReadFileBytes(benchmark::State& state) {
  IndexFixture& f = Fixture();
  for (auto _ : state) {
    auto bytes = ReadWholeFile(f.indexPath);
    benchmark::DoNotOptimize(bytes->data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(ReadWholeFile(f.indexPath)->size()));
}

void BM_BaselineDecodeRecordsOnly(benchmark::State& state) {
  IndexFixture& f = Fixture();
  const std::string image = *ReadWholeFile(f.indexPath);
  const auto block = FindFolderBlock(image, f.folder);
  for (auto _ : state) {
    size_t p = block->recordsOffset, next = 0, count = 0;
    while (auto r = DecodeIndexRecord(image, p, &next)) {
      benchmark::DoNotOptimize(r->FileName.data());
      p = next;
      ++count;
    }
    if (count != kEntries) state.SkipWithError("decode count");
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

BENCHMARK(BM_FillListFromIndexFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillListFromLoadedImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineReadFileBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineDecodeRecordsOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
