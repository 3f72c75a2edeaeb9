// The main window on a folder of 20,000 generated Standard MIDI files, on the
// offscreen platform: time from the window's construction to the first file rows
// painted and to the end of the pass, (a) when the folder comes from the index and
// (b) when it is scanned in full; and the longest gap between the ticks of a 10 ms
// timer while the pass runs (the window's longest stall). Baseline in the same run:
// the same window on an empty folder.
//
// Figures are counters in milliseconds: first_rows_ms, pass_end_ms, max_stall_ms.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "base/heap_settings.h"
#include "ui/main_window.h"

namespace kadrel {
namespace {

// KADREL_BENCH_WINDOW_FILES changes the count (for profiling runs).
int FileCount() {
  bool ok = false;
  const int n = qEnvironmentVariableIntValue("KADREL_BENCH_WINDOW_FILES", &ok);
  return ok && n > 0 ? n : 20000;
}
const int kFiles = FileCount();

std::string FolderBytes(const QString& path) { return QFile::encodeName(path).toStdString() + "/"; }

// Format 0 files, each with its own title, written once for the whole run.
void MakeMidiFolder(const QString& folder, int count) {
  QDir().mkpath(folder);
  for (int i = 0; i < count; ++i) {
    const QByteArray title = "Generated tune " + QByteArray::number(i);
    QByteArray track;
    track += QByteArray("\x00\xFF\x03", 3) + char(title.size()) + title;
    track += QByteArray("\x00\xFF\x2F\x00", 4);
    QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    file += "MTrk";
    file += QByteArray("\x00\x00\x00", 3) + char(track.size());
    file += track;
    QFile f(folder + QStringLiteral("/GEN%1.MID").arg(i, 5, 10, QLatin1Char('0')));
    if (f.open(QIODevice::WriteOnly)) f.write(file);
  }
}

// Notes the first paint of the list that shows a file row.
class PaintWatch : public QObject {
 public:
  PaintWatch(MainWindow& window, const QElapsedTimer& clock) : window_(window), clock_(clock) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ = true;
    if (event->type() == QEvent::Paint && firstRowsMs_ < 0) {
      const FileListModel& list = window_.FileList();
      for (int i = 0; i < list.Announced(); ++i)
        if (list.Record(i).IsFile()) {
          firstRowsMs_ = clock_.nsecsElapsed() / 1e6;
          break;
        }
    }
    return QObject::eventFilter(watched, event);
  }
  double firstRowsMs_ = -1;
  bool painted_ = false;

 private:
  MainWindow& window_;
  const QElapsedTimer& clock_;
};

struct Figures {
  double firstRowsMs = -1;
  double passEndMs = -1;
  double maxStallMs = 0;
  int rows = 0;
  bool fromIndex = false;
};

// Builds a window, opens `folder` and waits for the end of its first pass.
Figures OpenOnce(const QString& folder, const QString& indexFolder) {
  SilentMessageBox messages(MessageAnswer::Cancel);
  WindowSettings settings = DefaultWindowSettings();
  settings.scan.main.IndexFolder = FolderBytes(indexFolder);
  settings.scan.main.SaveIndexRam = true;  // a temporary folder may live in memory

  Figures f;
  QElapsedTimer clock;
  clock.start();
  MainWindow window(settings, &messages);
  PaintWatch paints(window, clock);
  window.FileListWidget().viewport()->installEventFilter(&paints);
  window.show();
  // The window's own first paint is not part of opening the folder.
  QElapsedTimer shown;
  shown.start();
  while (!paints.painted_ && shown.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    f.maxStallMs = std::max(f.maxStallMs, sinceTick.nsecsElapsed() / 1e6);
    sinceTick.restart();
  });
  QEventLoop loop;
  QObject::connect(&window, &MainWindow::passFinished, &loop, [&](bool fromIndex) {
    f.passEndMs = clock.nsecsElapsed() / 1e6;
    // A stall that lasts until the end of the pass has no tick after it.
    f.maxStallMs = std::max(f.maxStallMs, sinceTick.nsecsElapsed() / 1e6);
    f.fromIndex = fromIndex;
    loop.quit();
  });
  QTimer::singleShot(0, &window, [&] {
    sinceTick.start();
    ticker.start();
    window.Start(FolderBytes(folder));
  });
  QTimer::singleShot(300000, &loop, &QEventLoop::quit);
  loop.exec();
  ticker.stop();
  // The rows of the end are painted at the next turn.
  QElapsedTimer settle;
  settle.start();
  while (paints.firstRowsMs_ < 0 && settle.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  f.firstRowsMs = paints.firstRowsMs_;
  f.rows = window.FileList().rowCount();
  window.close();
  return f;
}

struct Scene {
  QTemporaryDir root;
  QString bigFolder;
  QString emptyFolder;
  QString filledIndex;  // holds the big folder's block
};
Scene* scene = nullptr;

void Report(benchmark::State& state, const Figures& f) {
  state.SetIterationTime(f.passEndMs / 1000.0);
  state.counters["first_rows_ms"] = f.firstRowsMs;
  state.counters["pass_end_ms"] = f.passEndMs;
  state.counters["max_stall_ms"] = f.maxStallMs;
  state.counters["rows"] = f.rows;
  state.counters["from_index"] = f.fromIndex ? 1 : 0;
}

void BM_BaselineEmptyFolder(benchmark::State& state) {
  for (auto _ : state) {
    QTemporaryDir index;
    Figures f = OpenOnce(scene->emptyFolder, index.path());
    f.firstRowsMs = -1;  // no file rows to paint
    Report(state, f);
  }
}

void BM_FullScan20k(benchmark::State& state) {
  for (auto _ : state) {
    QTemporaryDir index;  // nothing indexed yet
    Report(state, OpenOnce(scene->bigFolder, index.path()));
  }
}

void BM_FromIndex20k(benchmark::State& state) {
  for (auto _ : state) Report(state, OpenOnce(scene->bigFolder, scene->filledIndex));
}

BENCHMARK(BM_BaselineEmptyFolder)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullScan20k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromIndex20k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kadrel

int main(int argc, char** argv) {
  kadrel::KeepFreedHeapForReuse();  // as both programs do at start
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;  // settings, cache and temporary files of the run
  qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + QStringLiteral("/cache")));
  qputenv("KADREL_CONFIG_DIR", QFile::encodeName(home.path() + QStringLiteral("/config")));
  QDir().mkpath(home.path() + QStringLiteral("/run"));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + QStringLiteral("/run")));
  QApplication app(argc, argv);

  kadrel::Scene scene;
  kadrel::scene = &scene;
  scene.bigFolder = scene.root.path() + QStringLiteral("/big");
  scene.emptyFolder = scene.root.path() + QStringLiteral("/empty");
  scene.filledIndex = scene.root.path() + QStringLiteral("/index");
  QDir().mkpath(scene.emptyFolder);
  std::fprintf(stderr, "writing %d files...\n", kadrel::kFiles);
  kadrel::MakeMidiFolder(scene.bigFolder, kadrel::kFiles);
  ::sync();  // the new files' writeback is not to overlap a measurement
  // One full scan outside the measurements writes the index the index case reads.
  const kadrel::Figures prepared = kadrel::OpenOnce(scene.bigFolder, scene.filledIndex);
  if (prepared.rows < kadrel::kFiles) std::fprintf(stderr, "warning: only %d rows listed\n", prepared.rows);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
