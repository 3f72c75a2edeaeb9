// The file list model and view: row announcement, sorted insertion, sorting with
// selections following their rows, cell texts, and the drag threshold.

#include <QAbstractItemModelTester>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "catalog/column_text.h"
#include "sorting/compare_items.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

namespace kadrel::test {
namespace {

std::unique_ptr<TMusicFileInfo> File(const char* name, const char* title, int size = 100) {
  auto r = std::make_unique<TMusicFileInfo>();
  r->ItemKind = kLooseFile;
  r->FileName = name;
  r->FileExt = ".MID";
  r->FileType = 1;
  r->Title = title;
  r->Size = size;
  return r;
}

std::unique_ptr<TMusicFileInfo> Folder(const char* name, int kind = kFolderEntry) {
  auto r = std::make_unique<TMusicFileInfo>();
  r->ItemKind = kind;
  r->FileType = -1;
  r->FileName = name;
  return r;
}

// The file names in list order, joined by blanks.
std::string Names(const FileListModel& m) {
  std::string names;
  for (int i = 0; i < m.Count(); ++i) names += (i ? " " : "") + m.Record(i).FileName;
  return names;
}

}  // namespace

class FileListTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void rowsWaitForTheAnnouncement() {
    FileListModel m;
    m.SetAutoAnnounce(false);
    m.SetColumns({kColFileName, kColTitle});
    m.Append(File("A", "x"));
    m.Append(File("B", "y"));
    QCOMPARE(m.Count(), 2);
    QCOMPARE(m.rowCount(), 0);
    // Removing an unannounced record does not disturb the view's rows.
    m.Remove(1);
    QCOMPARE(m.rowCount(), 0);
    m.Announce();
    QCOMPARE(m.rowCount(), 1);
    m.SetAutoAnnounce(true);
    m.Append(File("C", "z"));
    QCOMPARE(m.rowCount(), 1);
    QVERIFY(WaitUntil([&] { return m.rowCount() == 2; }, 1000));

    // Rows arriving one per event-loop turn reach the view in a few batches, not one
    // notification (and repaint) per row.
    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 200; ++i) {
      m.Append(File("N", "n"));
      QCoreApplication::processEvents();
    }
    QVERIFY(WaitUntil([&] { return m.rowCount() == 202; }, 1000));
    QVERIFY2(inserted.count() < 20, qPrintable(QString::number(inserted.count())));
  }

  void sortedInsertionAndSortKeepKindsFirst() {
    FileListModel m;
    int direction = 1;
    m.SetCompare([&](const TMusicFileInfo& a, const TMusicFileInfo& b) {
      return CompareItems(a, b, TSortState{.Key = kColTitle, .Direction = direction}, true);
    });
    m.SetColumns({kColFileName});
    m.Append(Folder("..", kParentEntry));
    m.Append(Folder("Sub"));
    m.Announce();
    m.InsertSorted(File("B", "beta"));
    m.InsertSorted(File("A", "alpha"));
    m.InsertSorted(File("C", "gamma"));
    m.InsertSorted(File("D", "beta"));  // equal title: the file name decides, ascending in both directions
    QCOMPARE(Names(m), std::string(".. Sub C B D A"));
    QCOMPARE(m.rowCount(), 6);
    direction = 0;
    m.Sort();
    QCOMPARE(Names(m), std::string(".. Sub A B D C"));
  }

  // With the list's sort state: rows among the visible ones are reported where they go
  // (the model tester checks every notification), rows past them wait, and the key
  // cache keeps up with removals.
  void sortedInsertionByTheSortState() {
    FileListModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    m.SetAutoAnnounce(false);
    TSortState state{kColTitle, kAscending, true};
    m.SetSortState(&state, true);
    m.SetColumns({kColFileName, kColTitle});
    m.Append(Folder("..", kParentEntry));
    m.Append(File("M", "m"));
    m.Announce();
    m.Append(File("Y", "y"));  // not yet announced
    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    QCOMPARE(m.InsertSorted(File("A", "a")), 1);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 1);
    QCOMPARE(m.InsertSorted(File("Z", "z")), 4);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(m.rowCount(), 3);
    m.Remove(1);
    QCOMPARE(m.InsertSorted(File("B", "b")), 1);
    m.Announce();
    QCOMPARE(Names(m), std::string(".. B M Y Z"));
    state.Direction = kDescending;
    m.Sort();
    QCOMPARE(m.InsertSorted(File("N", "n")), 3);
    QCOMPARE(Names(m), std::string(".. Z Y N M B"));
  }

  void selectionFollowsItsRowThroughASort() {
    FileListModel m;
    m.SetColumns({kColFileName, kColTitle});
    m.Append(File("Z", "1"));
    m.Append(File("M", "2"));
    m.Append(File("A", "3"));
    m.Announce();
    FileListView view;
    view.setModel(&m);
    view.setCurrentIndex(m.index(0, 0));  // "Z"
    m.Sort();
    QCOMPARE(view.currentIndex().row(), 2);  // "Z" is last now
  }

  void cellsShowDecodedTextsAndAlignment() {
    FileListModel m;
    m.SetColumns({kColFileName, kColSize, kColTitle, kColInfo});
    auto r = File("SONG", "\x8f\x74\x82\xcc\x89\xcc", 2048);  // CP932 bytes of 春の歌
    r->Info = kCompanionWrd | kCompanionDv;
    r->IconIndex = 2;  // MIDI with the lyrics badge
    m.SetIcons(std::vector<QIcon>(17, QIcon()));
    m.Append(std::move(r));
    m.Announce();
    QCOMPARE(m.data(m.index(0, 2), Qt::DisplayRole).toString(), QString::fromUtf8("春の歌"));
    QCOMPARE(m.data(m.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("2KB"));
    QCOMPARE(m.data(m.index(0, 3), Qt::DisplayRole).toString(), QStringLiteral("Wrd DV "));
    QCOMPARE(m.data(m.index(0, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
    QCOMPARE(m.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Size"));
    QVERIFY(!m.data(m.index(5, 0), Qt::DisplayRole).isValid());
  }

  void dragStartsAtNinePixels_data() {
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<bool>("drag");
    QTest::newRow("8 right") << QPoint(8, 0) << false;
    QTest::newRow("8 up-left") << QPoint(-8, -8) << false;
    QTest::newRow("9 right") << QPoint(9, 0) << true;
    QTest::newRow("9 up") << QPoint(0, -9) << true;
  }
  void dragStartsAtNinePixels() {
    QFETCH(QPoint, move);
    QFETCH(bool, drag);
    FileListModel m;
    m.SetColumns({kColFileName});
    for (int i = 0; i < 20; ++i) m.Append(File("F", "t"));
    m.Announce();
    FileListView view;
    view.setModel(&m);
    view.resize(300, 300);
    view.show();
    QSignalSpy drags(&view, &FileListView::dragRequested);
    QPoint start = view.visualRect(m.index(5, 0)).center();
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, start);
    QMouseEvent moveEvent(QEvent::MouseMove, start + move, view.viewport()->mapToGlobal(start + move),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &moveEvent);
    QCOMPARE(drags.count(), drag ? 1 : 0);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, start + move);
  }
};

QObject* NewFileListTest() { return new FileListTest; }

}  // namespace kadrel::test

#include "file_list_test.moc"
