// The main window over real folders: listing, opening and leaving folders, Break,
// the index, the folder watcher, the drive-not-ready status and the close.

#include <map>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/column_text.h"
#include "core/encoding.h"
#include "core/text_helpers.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "ui/texts.h"

namespace kadrel::test {
namespace {

// An index that keeps the files of each folder in memory.
class MemoryIndex final : public IFolderIndexPort {
 public:
  bool LoadFolder(const std::string& folder, IScanView& view, const std::atomic<bool>&) override {
    auto it = blocks.find(folder);
    if (it == blocks.end() || it->second.empty()) return false;
    for (const TMusicFileInfo& r : it->second) view.AddRecord(std::make_unique<TMusicFileInfo>(r));
    return true;
  }
  void SaveFolder(const std::string& folder, const IScanView& view) override {
    if (!blocks.count(folder)) ReplaceFolder(folder, view);
  }
  void ReplaceFolder(const std::string& folder, const IScanView& view) override {
    auto& block = blocks[folder];
    block.clear();
    for (int i = 0; i < view.Count(); ++i)
      if (view.CopyEntry(i).IsFile()) block.push_back(view.CopyEntry(i));
  }
  std::map<std::string, std::vector<TMusicFileInfo>> blocks;
};

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString() + "/"; }

QString Cell(MainWindow& w, int row, int column) {
  const auto& ids = w.FileList().Columns();
  int section = int(std::find(ids.begin(), ids.end(), column) - ids.begin());
  return w.FileList().data(w.FileList().index(row, section), Qt::DisplayRole).toString();
}

int RowOf(MainWindow& w, const char* name) {
  for (int i = 0; i < w.FileList().Count(); ++i)
    if (w.FileList().Record(i).FileName == name) return i;
  return -1;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  WindowSettings Settings() {
    WindowSettings s = DefaultWindowSettings();
    s.statusIntervalMs = 3600 * 1000;  // ticks are driven by hand
    s.watcherDebounceMs = 100;
    s.watcherPollMs = 300;
    s.sortKey = kColFileName;
    return s;
  }

  // Opens `folder` in a new window and waits for the end of its first pass.
  std::unique_ptr<MainWindow> Open(const QString& folder, RecordingMessageBox& messages,
                                   IFolderIndexPort* index = nullptr, bool wait = true) {
    auto w = std::make_unique<MainWindow>(Settings(), &messages);
    if (index) w->SetScanPorts(index, nullptr, {});
    w->show();
    QSignalSpy finished(w.get(), &MainWindow::passFinished);
    w->Start(Bytes(folder));
    if (wait) WaitUntil([&] { return finished.count() >= 1; });
    return w;
  }

 private Q_SLOTS:
  void samplesAreListedWithTheirInformation() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages);
    MainWindow& win = *w;
    QCOMPARE(win.FileList().rowCount(), 13);
    const char* order[] = {"..",          "Extra",   "BROKEN", "CHIME", "DAWN",    "EVENING", "HARU",
                           "PLACEHOLDER", "SAMPLES", "SONG1",  "SONG2", "TRACKER", "TWIN"};
    for (int i = 0; i < 13; ++i) QCOMPARE(win.FileList().Record(i).FileName, std::string(order[i]));
    QCOMPARE(Cell(win, 0, kColTitle), QString::fromUtf8("１つ上のフォルダへ移動します"));
    QCOMPARE(Cell(win, 1, kColType), QStringLiteral("<Dir>"));
    QCOMPARE(Cell(win, 9, kColTitle), QString::fromUtf8("春の小川"));
    QCOMPARE(Cell(win, 9, kColType), QStringLiteral(".MID"));
    QCOMPARE(Cell(win, 9, kColArchiver), QStringLiteral("."));
    QCOMPARE(Cell(win, 10, kColInfo), QStringLiteral("Wrd "));
    QCOMPARE(Cell(win, 2, kColTitle), QString::fromUtf8(" // Formatが拡張子と一致しません //"));
    QCOMPARE(win.Status().Panel(0), QString::fromUtf8("検索完了しました.."));
    QCOMPARE(win.windowTitle(), QString::fromUtf8("Kadrel ～TrackChooser～  [ ") +
                                    QString::fromStdString(DisplayText(ShortenPath(Bytes(dir.path()), 40))) +
                                    QStringLiteral(" ]"));
    QVERIFY(win.Actions().update->isEnabled());
    QVERIFY(!win.Actions().reReadAll->isEnabled());  // belongs to the index commands
    QVERIFY(messages.texts.empty());
  }

  void foldersOpenByKeyAndComeBackFocused() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages);
    MainWindow& win = *w;
    QSignalSpy finished(&win, &MainWindow::passFinished);

    win.FileListWidget().setCurrentIndex(win.FileList().index(RowOf(win, "Extra"), 0));
    QTest::keyClick(&win.FileListWidget(), Qt::Key_Return);
    QVERIFY(WaitUntil([&] { return finished.count() == 1; }));
    QCOMPARE(win.CurrentFolder(), Bytes(dir.path()) + "Extra/");
    QCOMPARE(win.FileList().rowCount(), 2);
    QCOMPARE(win.FileList().Record(1).FileName, std::string("BONUS"));
    QCOMPARE(win.FileListWidget().currentIndex().row(), 0);

    QTest::keyClick(&win.FileListWidget(), Qt::Key_Backspace);
    QVERIFY(WaitUntil([&] { return finished.count() == 2; }));
    QCOMPARE(win.CurrentFolder(), Bytes(dir.path()));
    QCOMPARE(win.FileListWidget().currentIndex().row(), RowOf(win, "Extra"));
    QCOMPARE(win.Folders().SelectedFolder(), dir.path());  // the tree follows

    QTest::keyClick(&win.FileListWidget(), Qt::Key_Backspace, Qt::ControlModifier);
    QVERIFY(WaitUntil([&] { return finished.count() == 3; }));
    QCOMPARE(win.CurrentFolder(), Bytes(dir.path()) + "Extra/");
  }

  void breakKeepsRowsAndEnablesCommands() {
    QTemporaryDir dir;
    MakeMidiFiles(dir.path(), 4000);
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages, nullptr, false);
    MainWindow& win = *w;
    QSignalSpy finished(&win, &MainWindow::passFinished);
    QVERIFY(WaitUntil([&] { return win.FileList().Count() > 20; }));
    QVERIFY(win.Busy());
    QVERIFY(!win.Actions().update->isEnabled());
    win.UpdateFileInformation();  // refused while the list is being filled
    QCOMPARE(messages.texts, std::vector<std::string>{text::kIndexBusy});

    int seen = win.FileList().Count();
    win.Actions().breakButton->trigger();
    QVERIFY(WaitUntil([&] { return finished.count() == 1; }));
    QVERIFY(win.FileList().rowCount() >= seen);
    QVERIFY(win.FileList().rowCount() < 4000);
    QVERIFY(!win.Busy());
    QVERIFY(win.Actions().update->isEnabled());
    QVERIFY(win.Watcher().Active());
  }

  void secondOpeningComesFromTheIndex() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    MemoryIndex index;
    auto w = Open(dir.path(), messages, &index);
    MainWindow& win = *w;
    QCOMPARE(index.blocks[Bytes(dir.path())].size(), size_t(11));

    QSignalSpy finished(&win, &MainWindow::passFinished);
    win.OpenPath(Bytes(dir.path()) + "Extra/");
    QVERIFY(WaitUntil([&] { return finished.count() == 1; }));
    win.OpenPath(Bytes(dir.path()));
    QVERIFY(WaitUntil([&] { return finished.count() == 2; }));
    QCOMPARE(finished.at(1).at(0).toBool(), true);
    QCOMPARE(win.Status().Panel(1), QString::fromUtf8("インデックスを使用しました.."));
    QCOMPARE(win.FileList().rowCount(), 13);
    QCOMPARE(Cell(win, RowOf(win, "SONG1"), kColTitle), QString::fromUtf8("春の小川"));
  }

  void deletedFileLeavesTheList() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages);
    MainWindow& win = *w;
    QSignalSpy finished(&win, &MainWindow::passFinished);
    QVERIFY(RowOf(win, "SONG1") >= 0);
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("SONG1.MID"))));
    QVERIFY(WaitUntil([&] { return finished.count() >= 1 && RowOf(win, "SONG1") < 0; }));
    QCOMPARE(win.FileList().rowCount(), 12);
  }

  void driveNotReadyStaysOneMorePeriod() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages);
    MainWindow& win = *w;
    QString title = win.windowTitle();
    win.OpenPath("/nonexistent-kadrel-volume/music/");
    const QString notReady = text::U(text::kDriveNotReady);
    QCOMPARE(win.Status().Panel(1), notReady);
    QCOMPARE(win.FileList().rowCount(), 0);
    QCOMPARE(win.windowTitle(), title);
    QCOMPARE(win.CurrentFolder(), Bytes(dir.path()));
    QCOMPARE(messages.beeps, 1);
    win.StatusTick();
    QCOMPARE(win.Status().Panel(1), notReady + QLatin1Char(' '));
    win.StatusTick();
    QCOMPARE(win.Status().Panel(1), QStringLiteral(" "));
    QCOMPARE(win.Status().Panel(0), text::U(text::kReady));
  }

  void headerClicksSortWithFoldersFirst() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages);
    MainWindow& win = *w;
    QHeaderView* header = win.FileListWidget().header();
    const int sizeSection = 1;  // "Type"
    Q_EMIT header->sectionClicked(sizeSection);
    QCOMPARE(win.Scan().Sort().Key, int(kColType));
    QCOMPARE(header->sortIndicatorSection(), sizeSection);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(Cell(win, 2, kColType), QStringLiteral(".MID"));
    Q_EMIT header->sectionClicked(sizeSection);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(win.FileList().Record(0).FileName, std::string(".."));
    QCOMPARE(win.FileList().Record(1).FileName, std::string("Extra"));
    QCOMPARE(Cell(win, 2, kColType), QStringLiteral(".WAV"));
  }

  void closingDuringAScanEndsWithinTheWait() {
    QTemporaryDir dir;
    MakeMidiFiles(dir.path(), 4000);
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages, nullptr, false);
    MainWindow& win = *w;
    QVERIFY(WaitUntil([&] { return win.FileList().Count() > 20; }));
    const std::string temp = win.Settings().scan.main.TempFolder;
    QFile leftover(QFile::decodeName(QByteArray::fromStdString(temp + "OLE/member.mid")));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    QElapsedTimer timer;
    timer.start();
    QVERIFY(win.close());
    QVERIFY(timer.elapsed() < 7010);
    QCOMPARE(win.Phase(), MainWindow::LifePhase::Closing);
    QVERIFY(!win.ForcedClose());
    QVERIFY(!leftover.exists());
  }
};

QObject* NewMainWindowTest() { return new MainWindowTest; }

}  // namespace kadrel::test

#include "main_window_test.moc"
