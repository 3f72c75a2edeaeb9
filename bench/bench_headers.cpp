// Reading the headers of 10,000 generated files of mixed formats, against a baseline
// that only opens each file and reads as many bytes as the readers read.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "core/format_table.h"
#include "core/read_header_info.h"
#include "core/text_helpers.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

std::string Be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string SampleFile(int i, std::string& name) {
  const std::string n = std::to_string(i);
  std::string body(2000 + (i % 7) * 300, '\x11');
  switch (i % 6) {
    case 0: {
      std::string track = std::string("\0\xFF\x03\x08", 4) + "Title " + n.substr(0, 2) + body;
      name = "S" + n + ".MID";
      return "MThd" + Be32(6) + std::string("\0\1\0\2\1\xE0", 6) + "MTrk" + Be32(static_cast<uint32_t>(track.size())) + track;
    }
    case 1: {
      std::string rcp(2400, ' ');
      rcp.replace(0, 28, "RCM-PC98V2.0(C)COME ON MUSIC");
      rcp.replace(32, 10, "RCP song " + n.substr(0, 1));
      rcp.replace(433, 15, std::string(15, '@'));
      name = "R" + n + ".RCP";
      return rcp;
    }
    case 2: {
      name = "M" + n + ".MP3";
      std::string tag = "TAG" + std::string("Mp3 ") + n;
      tag.resize(128, '\0');
      return std::string("\xFF\xFB\x90\x64", 4) + body + tag;
    }
    case 3:
      name = "W" + n + ".WAV";
      return "RIFF" + std::string(4, '\0') + "WAVEfmt " + body;
    case 4:
      name = "D" + n + ".MOD";
      return ("Mod " + n).append(16, '\0').substr(0, 20) + body;
    default: {
      name = "V" + n + ".VQF";
      std::string chunk = "NAME" + Be32(6) + "VqSong";
      return "TWIN97012000" + Be32(static_cast<uint32_t>(chunk.size())) + chunk + body;
    }
  }
}

// Counts the bytes a reader takes from its source.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(const ByteSource& inner) : inner_(inner) {}
  uint64_t Size() const override { return inner_.Size(); }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override {
    size_t got = inner_.ReadAt(offset, out, n);
    bytes += got;
    return got;
  }
  mutable size_t bytes = 0;

 private:
  const ByteSource& inner_;
};

struct Collection {
  test::TempDir dir;
  std::vector<std::string> names;
  std::vector<size_t> bytesRead;
  Collection() {
    for (int i = 0; i < 10000; ++i) {
      std::string name;
      std::string data = SampleFile(i, name);
      dir.Write(name, data);
      names.push_back(name);
      MemoryByteSource memory(data);
      CountingSource counting(memory);
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
