// The main window over real folders: listing, opening and leaving folders, Break,
// the index, the folder watcher, the drive-not-ready status and the close.

#include <map>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

#include <mutex>

#include "catalog/column_text.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/folder_tree_icons.h"
#include "ui/texts.h"

namespace kadrel::test {
namespace {

// An index that keeps the files of each folder in memory.
class MemoryIndex final : public IFolderIndexPort {
 public:
  bool ReadFolder(const std::string& folder, const IndexListPlace&, const std::atomic<bool>&,
                  std::vector<std::unique_ptr<TMusicFileInfo>>& out) override {
    std::lock_guard lock(mutex);
    auto it = blocks.find(folder);
    if (it == blocks.end() || it->second.empty()) return false;
    for (const TMusicFileInfo& r : it->second) out.push_back(std::make_unique<TMusicFileInfo>(r));
    return true;
  }
  // Read and written on the scan's worker.
  void SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override {
    std::unique_lock lock(mutex);
    if (blocks.count(folder)) return;
    lock.unlock();
    ReplaceFolder(folder, entries);
  }
  void ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override {
    std::lock_guard lock(mutex);
    auto& block = blocks[folder];
    block.clear();
    for (const TMusicFileInfo& e : entries)
      if (e.IsFile()) block.push_back(e);
  }
  bool ForgetFolder(const std::string& folder) override {
    std::lock_guard lock(mutex);
    return blocks.erase(folder), true;
  }
  std::mutex mutex;
  std::map<std::string, std::vector<TMusicFileInfo>> blocks;
};

const char* const kCover = "\x95\x5C\x8E\x86";  // 表紙 in CP932, a member of OKIBA.LZH

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Screen readers and UI tests find controls by name: every button, list and progress
  // bar has one (a tool-bar button takes its action's text).
  void everyControlHasAnAccessibleName() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const QStringList unnamed = UnnamedControls(w);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
  }

  void samplesAreListedWithTheirInformation() {
    WindowFixture f;
    MainWindow& w = f.Open();
    QCOMPARE(w.FileList().rowCount(), 19);
    // Folders first, then files by name, a member right after the loose file of the same
    // name, members with Shift-JIS names last.
    QCOMPARE(f.RowOf(".."), 0);
    QCOMPARE(f.RowOf("Extra"), 1);
    QCOMPARE(f.RowOf("HARU", "HARUKAZE.LZH"), f.RowOf("HARU") + 1);
    QCOMPARE(f.RowOf("SONG2", "OLDSONG.LZH"), f.RowOf("SONG2") + 1);
    QVERIFY(f.RowOf("BROKEN") < f.RowOf("TWIN") && f.RowOf("TWIN") < f.RowOf(kCover, "OKIBA.LZH"));

    QCOMPARE(f.Cell("Extra", kColType), QStringLiteral("<Dir>"));
    QCOMPARE(f.Cell("SONG1", kColTitle), QString::fromUtf8("春の小川"));
    QCOMPARE(f.Cell("SONG1", kColType), QStringLiteral(".MID"));
    QCOMPARE(f.Cell("SONG1", kColArchiver), QStringLiteral("."));
    QCOMPARE(f.Cell("SONG2", kColInfo), QStringLiteral("Wrd "));
    QCOMPARE(f.Cell(f.RowOf("HARU", "HARUKAZE.LZH"), kColArchiver), QStringLiteral("HARUKAZE.LZH"));
    QCOMPARE(f.Cell(f.RowOf(kCover, "OKIBA.LZH"), kColTitle), QString::fromUtf8("表紙"));
    QCOMPARE(f.Cell("BROKEN", kColTitle), QString::fromUtf8(" // Formatが拡張子と一致しません //"));
    QCOMPARE(w.Status().Panel(0), QString::fromUtf8("検索完了しました.."));
    QCOMPARE(w.windowTitle(), QString::fromUtf8("Kadrel ～TrackChooser～  [ /../samples/ ]"));
    QVERIFY(w.Actions().update->isEnabled());
    QVERIFY(f.messages.texts.empty());
  }

  void foldersOpenByKeyAndComeBackFocused() {
    WindowFixture f;
    MainWindow& w = f.Open();
    w.FileListWidget().setCurrentIndex(w.FileList().index(f.RowOf("Extra"), 0));
    QTest::keyClick(&w.FileListWidget(), Qt::Key_Return);
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder) + "Extra/");
    QVERIFY(f.RowOf("BONUS") > 0);
    QCOMPARE(w.FileListWidget().currentIndex().row(), 0);

    QTest::keyClick(&w.FileListWidget(), Qt::Key_Backspace);
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
    QCOMPARE(w.FileListWidget().currentIndex().row(), f.RowOf("Extra"));
    QCOMPARE(w.Folders().SelectedFolder(), f.folder);  // the tree follows

    QTest::keyClick(&w.FileListWidget(), Qt::Key_Backspace, Qt::ControlModifier);
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder) + "Extra/");
  }

  // Every folder on the way down to the shown one is drawn with the folder picture,
  // the root with the drive's; the tree's model never asks the MIME database (which
  // would open the files of every folder it lists on the window's thread).
  void folderTreeDrawsItsOwnFolderPictures() {
    WindowFixture f;
    MainWindow& w = f.Open();
    FolderTreeView& tree = w.Folders().Tree();
    const auto* model = qobject_cast<const QFileSystemModel*>(tree.model());
    QVERIFY(model && dynamic_cast<const FolderTreeIcons*>(model->iconProvider()));
    const QIcon folder = model->iconProvider()->icon(QAbstractFileIconProvider::Folder);
    const QIcon drive = model->iconProvider()->icon(QAbstractFileIconProvider::Drive);
    QVERIFY(!folder.isNull() && !drive.isNull() && folder.cacheKey() != drive.cacheKey());
    QModelIndex index = tree.currentIndex();
    QVERIFY(index.isValid());
    for (; index.parent().isValid(); index = index.parent()) {
      QTRY_VERIFY(!model->data(index, Qt::DecorationRole).value<QIcon>().isNull());
      QCOMPARE(model->data(index, Qt::DecorationRole).value<QIcon>().cacheKey(), folder.cacheKey());
    }
    QCOMPARE(model->filePath(index), QStringLiteral("/"));
    QTRY_COMPARE(model->data(index, Qt::DecorationRole).value<QIcon>().cacheKey(), drive.cacheKey());
  }

  // A drag over the folder tree shows the folder under the cursor but never drops
  // there: the shown folder changes only when the user picks one.
  void folderTreeHighlightsUnderADragAndTakesNoDrop() {
    WindowFixture f;
    MainWindow& w = f.Open();
    FolderTreeView& tree = w.Folders().Tree();
    const QModelIndex current = tree.currentIndex();
    QVERIFY(current.isValid());
    tree.scrollTo(current);
    QTRY_VERIFY(tree.visualRect(current).isValid());
    const QPoint at = tree.visualRect(current).center();
    QMimeData uris;
    uris.setUrls({QUrl::fromLocalFile(f.folder)});

    QDragEnterEvent enter(at, Qt::CopyAction, &uris, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &uris, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &move);
    QVERIFY(!move.isAccepted());
    QCOMPARE(tree.DragHighlight(), current.siblingAtColumn(0));

    QDropEvent drop(QPointF(at), Qt::CopyAction, &uris, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    QVERIFY(!drop.isAccepted());
    QVERIFY(!tree.DragHighlight().isValid());
    QCOMPARE(w.CurrentFolder(), Bytes(f.folder));
  }

  void breakKeepsRowsAndEnablesCommands() {
    WindowFixture f(4000);
    MainWindow& w = f.Open(false);
    QVERIFY(WaitUntil([&] { return w.FileList().Count() > 20; }));
    QVERIFY(w.Busy());
    QVERIFY(!w.Actions().update->isEnabled() && !w.Actions().reReadAll->isEnabled());
    w.UpdateFileInformation();  // refused while the list is being filled
    w.ReReadAllFileInformation();
    QCOMPARE(f.messages.texts, (std::vector<std::string>{text::kIndexBusy, text::kIndexBusy}));

    const int seen = w.FileList().Count();
    w.Actions().breakButton->trigger();
    QVERIFY(f.NextPass());
    QVERIFY(w.FileList().rowCount() >= seen && w.FileList().rowCount() < 4000);
    QVERIFY(!w.Busy());
    QVERIFY(w.Actions().update->isEnabled() && w.Actions().reReadAll->isEnabled());
    QVERIFY(w.Watcher().Active());
  }

  // Re-reading drops what the index holds (here an edited title) and lists the files;
  // a block that cannot be deleted is not read back either.
  void reReadAllListsTheFilesAnew() {
    QTemporaryDir indexDir;
    WindowFixture f;
    WindowSettings s = WindowFixture::QuietSettings();
    s.scan.main.IndexFolder = Bytes(indexDir.path());
    s.scan.main.SaveIndexRam = true;
    f.Make(s);
    MainWindow& w = f.Open();
    const std::string folder = Bytes(f.folder);
    const int rows = w.FileList().rowCount();

    // The index now says something else about SONG1.
    TFolderIndex& index = w.Index();
    std::vector<TMusicFileInfo> records;
    QVERIFY(index.OpenFolderIndex(folder, records));
    const size_t stored = records.size();
    for (TMusicFileInfo& r : records)
      if (r.FileName == "SONG1") r.Title = "edited";
    QVERIFY(index.DeleteFolderBlock(folder, false));
    QVERIFY(index.WriteFolderBlock(records));
    w.OpenPath(folder);
    QVERIFY(f.NextPass());
    QCOMPARE(f.Cell("SONG1", kColTitle), QStringLiteral("edited"));

    f.messages.answer = MessageAnswer::Cancel;
    w.Actions().reReadButton->trigger();
    QCOMPARE(f.messages.texts.back(), std::string(text::kReReadConfirm));
    QVERIFY(!w.Busy());

    f.messages.answer = MessageAnswer::Ok;
    w.Actions().reReadAll->trigger();
    QVERIFY(f.NextPass());
    QVERIFY(!f.FromIndex());  // a full scan
    QCOMPARE(w.FileList().rowCount(), rows);
    QCOMPARE(f.Cell("SONG1", kColTitle), QString::fromUtf8("春の小川"));
    records.clear();
    QVERIFY(index.OpenFolderIndex(folder, records));  // the scan wrote the block again
    QCOMPARE(records.size(), stored);

    // Damage the block's end: the delete is refused with its warning, and the folder is
    // still listed from its files, without the index this once.
    index.MutableImage().back() = 'X';
    QVERIFY(index.SaveImage());
    f.messages.texts.clear();
    w.ReReadAllFileInformation();
    QVERIFY(f.NextPass());
    QVERIFY(!f.FromIndex());
    QCOMPARE(f.messages.texts.size(), size_t(2));
    QVERIFY(QString::fromStdString(f.messages.texts[1]).startsWith(QString::fromUtf8("Folder情報が正しくありません.")));
    QCOMPARE(f.Cell("SONG1", kColTitle), QString::fromUtf8("春の小川"));
    QVERIFY(w.Scan().Settings().useIndex);
  }

  void secondOpeningComesFromTheIndex() {
    MemoryIndex index;
    WindowFixture f;
    f.Make().SetScanPorts(&index, nullptr, {});
    MainWindow& w = f.Open();
    const int rows = w.FileList().rowCount();
    QCOMPARE(index.blocks[Bytes(f.folder)].size(), size_t(11));  // the loose files: no archive port here

    w.OpenPath(Bytes(f.folder) + "Extra/");
    QVERIFY(f.NextPass());
    w.OpenPath(Bytes(f.folder));
    QVERIFY(f.NextPass());
    QVERIFY(f.FromIndex());
    QCOMPARE(w.Status().Panel(1), QString::fromUtf8("インデックスを使用しました.."));
    QCOMPARE(w.FileList().rowCount(), rows);
    QCOMPARE(f.Cell("SONG1", kColTitle), QString::fromUtf8("春の小川"));
  }

  void deletedFileLeavesTheList() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const int rows = w.FileList().rowCount();
    QVERIFY(f.RowOf("SONG1") >= 0);
    QVERIFY(QFile::remove(f.folder + QStringLiteral("/SONG1.MID")));
    QVERIFY(WaitUntil([&] { return f.RowOf("SONG1") < 0; }));
    QCOMPARE(w.FileList().rowCount(), rows - 1);
  }

  void driveNotReadyStaysOneMorePeriod() {
    WindowFixture f;
    MainWindow& w = f.Open();
    // (A volume that is not ready cannot be made here: the text is put up as it would be.)
    const QString notReady = text::U(text::kDriveNotReady);
    w.Status().SetPanel(1, notReady);
    w.StatusTick();
    QCOMPARE(w.Status().Panel(1), notReady + QLatin1Char(' '));
    w.StatusTick();
    QCOMPARE(w.Status().Panel(1), QStringLiteral(" "));
    QCOMPARE(w.Status().Panel(0), QStringLiteral("ready.."));
  }

  void headerClicksSortWithFoldersFirst() {
    WindowFixture f;
    MainWindow& w = f.Open();
    QHeaderView* header = w.FileListWidget().header();
    const int typeSection = f.Section(kColType);
    Q_EMIT header->sectionClicked(typeSection);
    QCOMPARE(w.Scan().Sort().Key, int(kColType));
    QCOMPARE(header->sortIndicatorSection(), typeSection);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    QCOMPARE(f.Cell(2, kColType), QStringLiteral(".MID"));
    Q_EMIT header->sectionClicked(typeSection);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(f.RowOf(".."), 0);
    QCOMPARE(f.RowOf("Extra"), 1);
    QCOMPARE(f.Cell(2, kColType), QStringLiteral(".WAV"));
  }

  void closingDuringAScanEndsWithinTheWait() {
    WindowFixture f(4000);
    MainWindow& w = f.Open(false);
    QVERIFY(WaitUntil([&] { return w.FileList().Count() > 20; }));
    QFile leftover(QFile::decodeName(QByteArray::fromStdString(w.Settings().scan.main.TempFolder + "OLE/member.mid")));
    QVERIFY(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    QElapsedTimer timer;
    timer.start();
    QVERIFY(w.close());
    QVERIFY(timer.elapsed() < 7010);
    QCOMPARE(w.Phase(), MainWindow::LifePhase::Closing);
    QVERIFY(!w.ForcedClose());
    QVERIFY(!leftover.exists());
  }
};

QObject* NewMainWindowTest() { return new MainWindowTest; }

}  // namespace kadrel::test

#include "main_window_test.moc"
