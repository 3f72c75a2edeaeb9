// The document step over a generated collection of read-me documents, against a
// baseline that loads the same lines and searches nothing.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "support/bench_main.h"
#include "formats/document/load_document.h"
#include "formats/document/read_document_info.h"
#include "base/encoding.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

constexpr int kDocumentCount = 5000;
constexpr int kLinesPerDocument = 30;

// A document of 30 CP932 lines: prose, blank lines and, at varying places, the lines
// that name the song. Every fourth document names nothing, so the readers go through
// all its lines.
std::string MakeDocument(int n, std::mt19937& rng) {
  static const std::vector<std::string> prose = {
      Cp932("　学校で習った懐かしい曲を打ち込んでみました。"),
      Cp932("テンポはゆっくりめです。Enjoy the music!"),
      Cp932("■ 転載について　個人で楽しむ範囲でご自由にどうぞ。"),
      Cp932("=================================================="),
      Cp932("ご意見・ご感想はパソコン通信のメールでお願いします。"),
      Cp932("This data was made with a sequencer on a PC-9801."),
      "",
  };
  std::vector<std::string> lines;
  for (int i = 0; i < kLinesPerDocument; ++i) lines.push_back(prose[rng() % prose.size()]);
  if (n % 4 != 3) {
    const int at = static_cast<int>(rng() % 20);
    lines[at] = Cp932("曲名　　　　：『春の小川 第") + std::to_string(n) + Cp932("番』");
    lines[at + 1] = Cp932("アーティスト：文部省唱歌");
    lines[at + 2] = Cp932("作詞・作曲　：高野辰之 ／ 岡野貞一");
    lines[at + 3] = Cp932("編曲　　　　：ＭＩＤＩ太郎");
    lines[at + 4] = Cp932("打ち込み　　：ＭＩＤＩ太郎");
  }
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

struct Collection {
  test::TempDir dir;
  std::vector<std::string> paths;

  Collection() {
    std::mt19937 rng(4711);
    for (int n = 0; n < kDocumentCount; ++n)
      paths.push_back(dir.Write("DOC" + std::to_string(n) + ".TXT", MakeDocument(n, rng)));
  }
};

const Collection& Documents() {
  static const Collection c;
  return c;
}

void RunDocumentStep(benchmark::State& state, int titleStyle, int others) {
  const Collection& c = Documents();
  DocumentReadOptions options;
  options.TitleGetstyle = titleStyle;
  options.OthersGetstyle = others;
  SilentMessageBox messages;
  DocumentText text;
  size_t titled = 0;
  for (auto _ : state) {
    titled = 0;
    for (const std::string& path : c.paths) {
      TMusicFileInfo r;
      r.FileName = "SONG";
      r.FileExt = ".MID";
      r.ItemKind = kLooseFile;
      r.DocFile = path;
      ReadDocumentInfo("", r, options, text, {}, messages);
      titled += r.InfoState == kInfoRead ? 1 : 0;
      benchmark::DoNotOptimize(r);
    }
  }
  state.counters["titled"] = static_cast<double>(titled);
  state.SetItemsProcessed(state.iterations() * kDocumentCount);
}

// Everything: document title first, artist, composer and lyricist, data maker.
void BM_DocumentStepAllFields(benchmark::State& state) { RunDocumentStep(state, 3, 7); }

// The default settings for items without a header title: the title only.
void BM_DocumentStepTitleOnly(benchmark::State& state) { RunDocumentStep(state, 2, 1); }

// Baseline: the same 30 lines of each document loaded by the step's loader, nothing
// searched.
void BM_BaselineLoadLines(benchmark::State& state) {
  const Collection& c = Documents();
  DocumentText text;
  for (auto _ : state) {
    for (const std::string& path : c.paths) {
      text.Load(path, kDocumentStepLines);
      benchmark::DoNotOptimize(text.Lines().data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kDocumentCount);
}

BENCHMARK(BM_DocumentStepAllFields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DocumentStepTitleOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineLoadLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

KADREL_BENCHMARK_MAIN()
