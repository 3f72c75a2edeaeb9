// The main window over real folders: listing, opening and leaving folders, Break,
// the index, the folder watcher, the drive-not-ready status and the close.

#include <map>
#include <optional>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
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
  bool ForgetFolder(const std::string& folder) override {
    blocks.erase(folder);
    return true;
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
                                   IFolderIndexPort* index = nullptr, bool wait = true,
                                   std::optional<WindowSettings> settings = std::nullopt) {
    auto w = std::make_unique<MainWindow>(settings ? *settings : Settings(), &messages);
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
    QCOMPARE(win.FileList().rowCount(), 19);
    // Folders, then loose files and archive members by name (members with Shift-JIS
    // names last), a member right after the loose file of the same name.
    const char* order[] = {"..",      "Extra",       "BROKEN",  "CHIME", "DAWN",  "EVENING", "HARU",    "HARU",
                           "NAGAI",   "PLACEHOLDER", "SAMPLES", "SONG1", "SONG2", "SONG2",   "TRACKER", "TWIN"};
    for (int i = 0; i < 16; ++i) QCOMPARE(win.FileList().Record(i).FileName, std::string(order[i]));
    QCOMPARE(Cell(win, 0, kColTitle), QString::fromUtf8("１つ上のフォルダへ移動します"));
    QCOMPARE(Cell(win, 1, kColType), QStringLiteral("<Dir>"));
    QCOMPARE(Cell(win, 11, kColTitle), QString::fromUtf8("春の小川"));
    QCOMPARE(Cell(win, 11, kColType), QStringLiteral(".MID"));
    QCOMPARE(Cell(win, 11, kColArchiver), QStringLiteral("."));
    QCOMPARE(Cell(win, 12, kColInfo), QStringLiteral("Wrd "));
    QCOMPARE(Cell(win, 7, kColArchiver), QStringLiteral("HARUKAZE.LZH"));
    QCOMPARE(Cell(win, 18, kColTitle), QString::fromUtf8("表紙"));
    QCOMPARE(Cell(win, 2, kColTitle), QString::fromUtf8(" // Formatが拡張子と一致しません //"));
    QCOMPARE(win.Status().Panel(0), QString::fromUtf8("検索完了しました.."));
    QCOMPARE(win.windowTitle(), QString::fromUtf8("Kadrel ～TrackChooser～  [ ") +
                                    QString::fromStdString(DisplayText(ShortenPath(Bytes(dir.path()), 40))) +
                                    QStringLiteral(" ]"));
    QVERIFY(win.Actions().update->isEnabled());
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
    QVERIFY(!win.Actions().reReadAll->isEnabled());
    win.UpdateFileInformation();  // refused while the list is being filled
    win.ReReadAllFileInformation();
    QCOMPARE(messages.texts, (std::vector<std::string>{text::kIndexBusy, text::kIndexBusy}));

    int seen = win.FileList().Count();
    win.Actions().breakButton->trigger();
    QVERIFY(WaitUntil([&] { return finished.count() == 1; }));
    QVERIFY(win.FileList().rowCount() >= seen);
    QVERIFY(win.FileList().rowCount() < 4000);
    QVERIFY(!win.Busy());
    QVERIFY(win.Actions().update->isEnabled());
    QVERIFY(win.Actions().reReadAll->isEnabled());
    QVERIFY(win.Watcher().Active());
  }

  // Re-reading drops what the index holds (here an edited title) and lists the files;
  // a block that cannot be deleted is not read back either.
  void reReadAllListsTheFilesAnew() {
    QTemporaryDir dir, indexDir;
    CopySamples(dir.path());
    WindowSettings s = Settings();
    s.scan.main.IndexFolder = Bytes(indexDir.path());
    s.scan.main.SaveIndexRam = true;
    RecordingMessageBox messages;
    auto w = Open(dir.path(), messages, nullptr, true, s);
    MainWindow& win = *w;
    const std::string folder = Bytes(dir.path());
    const QString realTitle = Cell(win, RowOf(win, "SONG1"), kColTitle);

    // The index now says something else about SONG1.
    TFolderIndex& index = win.Index();
    std::vector<TMusicFileInfo> records;
    QVERIFY(index.OpenFolderIndex(folder, records));
    for (TMusicFileInfo& r : records)
      if (r.FileName == "SONG1") r.Title = "edited";
    QVERIFY(index.DeleteFolderBlock(folder, false));
    QVERIFY(index.WriteFolderBlock(records));
    QSignalSpy finished(&win, &MainWindow::passFinished);
    win.OpenPath(folder);
    QVERIFY(WaitUntil([&] { return finished.count() == 1; }));
    QCOMPARE(Cell(win, RowOf(win, "SONG1"), kColTitle), QStringLiteral("edited"));

    messages.answer = MessageAnswer::Cancel;
    win.Actions().reReadButton->trigger();
    QCOMPARE(messages.texts.back(), std::string(text::kReReadConfirm));
    QVERIFY(!win.Busy());

    messages.answer = MessageAnswer::Ok;
    win.Actions().reReadAll->trigger();
    QVERIFY(WaitUntil([&] { return finished.count() == 2; }));
    QCOMPARE(finished.at(1).at(0).toBool(), false);  // a full scan
    QCOMPARE(win.FileList().rowCount(), 19);
    QCOMPARE(Cell(win, RowOf(win, "SONG1"), kColTitle), realTitle);
    records.clear();
    QVERIFY(index.OpenFolderIndex(folder, records));  // the scan wrote the block again
    QCOMPARE(records.size(), size_t(17));

    // Damage the block's end: the delete is refused with its warning, and the folder is
    // still listed from its files, without the index this once.
    std::string& image = index.MutableImage();
    image.back() = 'X';
    QVERIFY(index.SaveImage());
    messages.texts.clear();
    win.ReReadAllFileInformation();
    QVERIFY(WaitUntil([&] { return finished.count() == 3; }));
    QCOMPARE(finished.at(2).at(0).toBool(), false);
    QCOMPARE(messages.texts.size(), size_t(2));
    QVERIFY(QString::fromStdString(messages.texts[1]).startsWith(QString::fromUtf8("Folder情報が正しくありません.")));
    QCOMPARE(Cell(win, RowOf(win, "SONG1"), kColTitle), realTitle);
    QVERIFY(win.Scan().Settings().useIndex);
  }

  void secondOpeningComesFromTheIndex() {
    QTemporaryDir dir;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    MemoryIndex index;
    auto w = Open(dir.path(), messages, &index);
    MainWindow& win = *w;
    QCOMPARE(index.blocks[Bytes(dir.path())].size(), size_t(11));  // no archives with this port set

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
    QCOMPARE(win.FileList().rowCount(), 18);
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
