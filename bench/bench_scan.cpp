// Opening a generated collection folder.
//
// BM_FullScan: the whole scan as `kadrel-cli list --no-index` runs it (controller,
// worker thread, direct bridge, list over a vector, real archive port and document
// step) over 10,000 loose files of six formats, with companions and documents beside
// them, and 300 LZH archives of 10 members (a third of them with a document).
// BM_FullScan_Baseline, in the same run: opening each loose file and reading the bytes
// its reader reads, reading the documents the scan reads, and listing each archive and
// decoding its music and document members with the LZH layer, without any record logic.
//
// BM_FillFromIndex: filling the list of a folder of 20,000 entries (half of them
// archive members) from its index block, through the store as the scan does (a fresh
// store loads the index file each time); BM_FillFromIndex_Baseline is the full scan of
// the same folder.
//
// BM_FullScan100k (only with KADREL_BENCH_LARGE=1 in the environment): the full scan
// of 100,000 loose files, a quarter of them with a document beside them, written once
// into a temporary folder; run alone, its peak_rss_MB is the process's peak while
// writing and scanning that folder.
//
// Each benchmark reports rows per second and the process's peak resident size.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "support/bench_main.h"
#include "base/encoding.h"
#include "catalog/format_table.h"
#include "formats/read_header_info.h"
#include "scan/document_step.h"
#include "scan/folder_index_port.h"
#include "scan/folder_scan_controller.h"
#include "scan/vector_scan_view.h"
#include "scan/lzh_archive_port.h"
#include "base/text_helpers.h"
#include "sorting/sort_list.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "support/generated_files.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {
using bench::CountingSource;
using bench::MusicFile;


std::string Document(int i) {
  std::string text = Cp932("曲名：ドキュメントの曲 ") + std::to_string(i) + "\r\n" + Cp932("作曲：山田\r\n");
  for (int line = 0; line < 25; ++line) text += Cp932("　この曲について、ひとこと。") + std::to_string(line) + "\r\n";
  return text;
}


// What the baseline reads: per loose file the bytes its reader takes, and the document
// when the scan reads it; per archive the members the scan decodes.
struct LooseRead {
  std::string name;
  size_t bytes = 0;
  std::string document;  // empty: none read
};

struct ArchiveRead {
  std::string name;
  std::vector<std::string> members;  // base names
};

struct Collection {
  test::TempDir dir;
  std::string folder;
  std::vector<LooseRead> loose;
  std::vector<ArchiveRead> archives;
  int rows = 0;  // file rows the scan lists

  Collection(int looseFiles, int archiveCount, int membersPerArchive) {
    folder = dir.MakeFolder("collection") + "/";
    for (int i = 0; i < looseFiles; ++i) {
      const bool documented = i % 4 == 0;
      std::string name;
      const std::string data = MusicFile(i, !documented, name);
      dir.Write("collection/" + name, data);
      LooseRead read{name, 0, {}};
      MemoryByteSource memory(data);
      CountingSource counting(memory);
      TMusicFileInfo r;
      r.FileType = FormatRowForFileName(name);
      r.FileExt = ExtensionWithDot(name);
      ReadHeaderInfoFrom(counting, r, {});
      read.bytes = counting.bytes;
      const std::string stem = NameWithoutExtension(name);
      if (documented) {
        dir.Write("collection/" + stem + ".TXT", Document(i));
        if (r.Title.empty()) read.document = stem + ".TXT";
      }
      if (i % 10 == 1) dir.Write("collection/" + stem + ".WRD", "lyrics");
      loose.push_back(std::move(read));
    }
    for (int a = 0; a < archiveCount; ++a) {
      ArchiveRead read{"PACK" + std::to_string(a) + ".LZH", {}};
      std::vector<StoredMember> members;
      const bool documented = a % 3 == 0;
      for (int m = 0; m < membersPerArchive; ++m) {
        std::string name;
        // Members 0 and 1 of a documented archive take their title from its document.
        const std::string data = MusicFile(a * membersPerArchive + m, !(documented && m < 2), name);
        members.push_back({"DATA/" + name, data, 1000000000, false});
        read.members.push_back(name);
        if (documented && m < 2) read.members.push_back("README.TXT");
      }
      if (documented) members.push_back({"README.TXT", Document(a), 1000000000, false});
      if (a % 5 == 0) members.push_back({NameWithoutExtension(read.members[0]) + ".WRD", "lyrics", 1000000000, false});
      std::string error;
      if (!WriteStoredArchive(folder + read.name, members, 2, &error)) std::abort();
      archives.push_back(std::move(read));
    }
    rows = looseFiles + archiveCount * membersPerArchive;
    // Written back before anything is measured: the system's writeback of thousands of
    // new files would otherwise compete with whichever benchmark runs first.
    ::sync();
  }
};

VolumeInfo FixedVolume(const std::string&) { return VolumeInfo{"/", "ext4", "8:1", VolumeKind::Fixed}; }

// Opens the folder as `kadrel-cli list` does and waits for the end of the pass.
// Returns the number of entries listed.
int OpenFolder(const std::string& folder, const std::string& work, TFolderIndex* index) {
  DirectWindowBridge bridge;
  VectorScanView view;
  SilentMessageBox messages;
  LzhArchivePort archives;
  std::unique_ptr<FolderIndexPort> indexPort;
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  {
    FolderScanController controller(bridge, view, view, messages);
    ScanSettings settings;
    settings.workFolder = work;
    settings.useIndex = index != nullptr;
    controller.SetSettings(settings);
    controller.SetArchivePort(&archives);
    if (index) {
      indexPort = std::make_unique<FolderIndexPort>(*index);
      controller.SetIndexPort(indexPort.get());
    }
    controller.SetDocumentStep(MakeDocumentStep(settings.main, messages));
    controller.onPassFinished = [&](bool) {
      std::lock_guard lock(mutex);
      finished = true;
      done.notify_all();
    };
    controller.ShowFolder(folder, {});
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return finished; });
  }
  return view.Count();
}

double Ms(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3; }

// User and system time of the whole process (the scan worker included).
struct ProcessCpu {
  double user = 0, system = 0, faults = 0, switches = 0;
  static ProcessCpu Now() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return {Ms(u.ru_utime), Ms(u.ru_stime), static_cast<double>(u.ru_minflt),
            static_cast<double>(u.ru_nvcsw + u.ru_nivcsw)};
  }
};

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ReportRows(benchmark::State& state, int rows, ProcessCpu atStart) {
  const ProcessCpu now = ProcessCpu::Now();
  const double iterations = static_cast<double>(state.iterations());
  state.counters["rows"] = rows;
  state.counters["user_ms"] = (now.user - atStart.user) / iterations;
  state.counters["system_ms"] = (now.system - atStart.system) / iterations;
  state.counters["faults"] = (now.faults - atStart.faults) / iterations;
  state.counters["switches"] = (now.switches - atStart.switches) / iterations;
  state.counters["process_cpu_ms"] = (now.user + now.system - atStart.user - atStart.system) / iterations;
  state.counters["rows_per_s"] =
      benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ReportPeakMemory(state);
}

Collection& Mixed() {
  static Collection c(10'000, 300, 10);
  return c;
}

void BM_FullScan(benchmark::State& state) {
  Collection& c = Mixed();
  test::TempDir work;
  int listed = 0;
  const ProcessCpu cpu = ProcessCpu::Now();
  for (auto _ : state) listed = OpenFolder(c.folder, work.path(), nullptr);
  if (listed != c.rows + 1) state.SkipWithError("the scan listed an unexpected number of entries");
  ReportRows(state, c.rows, cpu);
}
BENCHMARK(BM_FullScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void ReadBytes(const std::string& path, size_t bytes, std::vector<char>& buffer) {
  if (buffer.size() < bytes) buffer.resize(bytes);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  const ssize_t got = ::pread(fd, buffer.data(), bytes, 0);
  benchmark::DoNotOptimize(got);
  ::close(fd);
}

void BM_FullScan_Baseline(benchmark::State& state) {
  Collection& c = Mixed();
  std::vector<char> buffer(1 << 16);
  std::string data;
  const ProcessCpu cpu = ProcessCpu::Now();
  for (auto _ : state) {
    for (const LooseRead& f : c.loose) {
      ReadBytes(c.folder + f.name, f.bytes, buffer);
      if (!f.document.empty()) ReadBytes(c.folder + f.document, 8192, buffer);
    }
    for (const ArchiveRead& a : c.archives) {
      auto source = FileByteSource::Open(c.folder + a.name);
      if (!source) continue;
      const LzhListing listing = ListLzhArchive(*source);
      for (const std::string& wanted : a.members)
        for (const LzhMember& m : listing.members)
          if (m.name == wanted) {
            DecodeLzhMember(*source, m, data);
            benchmark::DoNotOptimize(data.data());
            break;
          }
    }
  }
  ReportRows(state, c.rows, cpu);
}
BENCHMARK(BM_FullScan_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

// 100,000 loose files written straight to disk, nothing kept in memory.
struct LargeFolder {
  static constexpr int kFiles = 100'000;
  test::TempDir dir;
  std::string folder;

  LargeFolder() {
    folder = dir.MakeFolder("large") + "/";
    for (int i = 0; i < kFiles; ++i) {
      std::string name;
      const bool documented = i % 4 == 0;
      const std::string data = MusicFile(i, !documented, name);
      dir.Write("large/" + name, data);
      if (documented) dir.Write("large/" + NameWithoutExtension(name) + ".TXT", Document(i));
    }
    ::sync();
  }
};

void BM_FullScan100k(benchmark::State& state) {
  static LargeFolder f;
  test::TempDir work;
  int listed = 0;
  const ProcessCpu cpu = ProcessCpu::Now();
  for (auto _ : state) listed = OpenFolder(f.folder, work.path(), nullptr);
  if (listed != LargeFolder::kFiles + 1) state.SkipWithError("the scan listed an unexpected number of entries");
  ReportRows(state, LargeFolder::kFiles, cpu);
}

[[maybe_unused]] const bool kLargeRegistered = [] {
  const char* large = std::getenv("KADREL_BENCH_LARGE");
  if (large && std::string(large) == "1")
    benchmark::RegisterBenchmark("BM_FullScan100k", BM_FullScan100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
  return true;
}();

// 20,000 entries: 10,000 loose files and 1,000 archives of 10 members.
struct IndexedFolder {
  Collection collection{10'000, 1'000, 10};
  test::TempDir places;
  TMainOption options;
  SilentMessageBox messages;

  IndexedFolder() {
    options.IndexFolder = places.MakeFolder("index") + "/";
    options.IndexMode = 2;
    TFolderIndex index(options, messages, {}, FixedVolume);
    OpenFolder(collection.folder, places.path(), &index);  // writes the folder's block
  }
};

IndexedFolder& Indexed() {
  static IndexedFolder f;
  return f;
}

void BM_FillFromIndex(benchmark::State& state) {
  IndexedFolder& f = Indexed();
  std::atomic<bool> stop{false};
  int listed = 0;
  const ProcessCpu cpu = ProcessCpu::Now();
  for (auto _ : state) {
    auto index = std::make_unique<TFolderIndex>(f.options, f.messages, StatusCallback{}, FixedVolume);
    auto view = std::make_unique<VectorScanView>();
    FolderIndexPort port(*index);
    std::vector<std::unique_ptr<TMusicFileInfo>> records;
    port.ReadFolder(f.collection.folder, {}, stop, records);
    view->AddRecords(std::move(records));
    listed = view->Count();
    // Freeing the list belongs to the next folder's opening, not to this one.
    state.PauseTiming();
    view.reset();
    index.reset();
    state.ResumeTiming();
  }
  if (listed != f.collection.rows) state.SkipWithError("the index did not give every entry");
  ReportRows(state, listed, cpu);
}
BENCHMARK(BM_FillFromIndex)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FillFromIndex_Baseline(benchmark::State& state) {
  IndexedFolder& f = Indexed();
  int listed = 0;
  const ProcessCpu cpu = ProcessCpu::Now();
  for (auto _ : state) listed = OpenFolder(f.collection.folder, f.places.path(), nullptr);
  if (listed != f.collection.rows + 1) state.SkipWithError("the scan listed an unexpected number of entries");
  ReportRows(state, f.collection.rows, cpu);
}
BENCHMARK(BM_FillFromIndex_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
