// The index search window over the index the main window wrote: a hit found as the
// user types, and an archive member opened in the main window with its row focused.

#include <QAction>
#include <QTest>

#include "search/index_snapshot.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/search_hookup.h"
#include "ui/search_window.h"

namespace kadrel::test {
namespace {

const char* const kCover = "\x95\x5C\x8E\x86";  // 表紙 in CP932, a member of OKIBA.LZH

// The row of the hit for `name` in `folder`; -1 if none.
int HitRow(SearchWindow& search, const std::string& folder, std::string_view name) {
  for (int row = 0; row < search.Model().Count(); ++row) {
    const SearchHit& h = search.Model().Hit(row);
    if (h.folder == folder && h.record.FileName == name) return row;
  }
  return -1;
}

}  // namespace

class SearchWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void aMemberHitOpensItsArchivesFolderWithTheMemberFocused() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const std::string samples = Bytes(f.folder);
    // Somewhere else first, so that opening the hit changes the folder.
    w.OpenListFolder("Extra", true);
    QVERIFY(f.NextPass());
    QVERIFY(w.CurrentFolder() != samples);

    QVERIFY(w.Actions().indexFind->isEnabled());
    QVERIFY(w.Actions().indexFindButton->isEnabled());
    w.Actions().indexFindButton->trigger();
    SearchWindow& search = IndexSearchWindow(w);
    QVERIFY(search.isVisible());
    for (QWidget* control : std::initializer_list<QWidget*>{&search.QueryField(), &search.FieldFilter(),
                                                            &search.FormatFilter(), &search.Results()})
      QVERIFY(!control->accessibleName().isEmpty());

    // Typed, not confirmed: the search starts by itself after the pause.
    QSignalSpy finished(&search, &SearchWindow::searchFinished);
    QTest::keyClicks(&search.QueryField(), QStringLiteral("hyoushi"));
    QVERIFY(WaitUntil([&] { return finished.count() > 0 && !search.Searching(); }));
    QCOMPARE(finished.count(), 1);  // one search for the whole word
    QCOMPARE(HitRow(search, samples, kCover), -1);
    search.QueryField().setText(QString::fromUtf8("表紙"));
    QVERIFY(WaitUntil([&] { return finished.count() > 1 && HitRow(search, samples, kCover) >= 0; }));
    const int hitRow = HitRow(search, samples, kCover);
    const SearchHit& hit = search.Model().Hit(hitRow);
    QCOMPARE(hit.record.Archiver, std::string("OKIBA.LZH"));
    QVERIFY(hit.folderExists);

    // Enter on the hit opens the archive's folder and focuses the member's row.
    search.Results().setCurrentIndex(search.Model().index(hitRow, 0));
    search.Results().setFocus();
    QTest::keyClick(&search.Results(), Qt::Key_Return);
    QVERIFY(WaitUntil([&] { return w.CurrentFolder() == samples && !w.Scan().ScanRunning(); }));
    const int row = f.RowOf(kCover, "OKIBA.LZH");
    QVERIFY(row >= 0);
    QVERIFY(WaitUntil([&] { return w.FileListWidget().currentIndex().row() == row; }));
    QVERIFY(w.FileListWidget().selectionModel()->isRowSelected(row, {}));
  }

  void aHitInAFolderThatIsGoneIsNotOpened() {
    WindowFixture f;
    MainWindow& w = f.Open();
    SearchHit gone;
    gone.folder = Bytes(f.root.path()) + "no-such-folder/";
    gone.record.FileName = "X";
    const std::string before = w.CurrentFolder();
    QVERIFY(!OpenHitInMainWindow(w, gone));
    QCOMPARE(w.CurrentFolder(), before);
  }
};

QObject* NewSearchWindowTest() { return new SearchWindowTest; }

}  // namespace kadrel::test

#include "search_window_test.moc"
