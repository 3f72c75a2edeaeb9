// The jump-folder dialog, the drive dialog, the sort window and the main window's
// drive commands.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "catalog/column_ids.h"
#include "sorting/sort_controls.h"
#include "test_support.h"
#include "ui/drive_dialog.h"
#include "ui/jump_folder_dialog.h"
#include "ui/sort_window.h"

namespace kadrel::test {
namespace {

constexpr int C = 2, D = 3, Q = 16;

std::string Folder(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A mount table of one fixed volume at `mountPoint`.
VolumeTable OneVolume(const QTemporaryDir& dir, const QString& mountPoint) {
  const QString table = dir.path() + QStringLiteral("/mountinfo");
  QFile file(table);
  if (file.open(QIODevice::WriteOnly))
    file.write("30 1 8:1 / " + QFile::encodeName(mountPoint) + " rw - ext4 /dev/sda1 rw\n");
  file.close();
  return VolumeTable::FromMountInfo(Folder(table), Folder(dir.path() + QStringLiteral("/no-sys")));
}

class DialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void sortWindowKeysAndListsSetTheSortState() {
    TSortState state{kColFileName, kDescending, true};
    int sorts = 0;
    RecordingMessageBox messages;
    {
      SortWindow window(state, [&] { return ++sorts, true; }, messages);
      QVERIFY(UnnamedControls(window).isEmpty());
      window.show();
      QCOMPARE(window.KeyList().currentRow(), 0);              // key - 1
      QVERIFY(window.DirectionList().selectedItems().isEmpty());  // no direction yet
      QTest::keyClick(&window.KeyList(), Qt::Key_Up);          // wraps to the last key
      QCOMPARE(window.KeyList().currentItem()->text(), QString::fromUtf8("12. データ作成者"));
      for (int i = 0; i < 5; ++i) QTest::keyClick(&window.KeyList(), Qt::Key_Down);
      QCOMPARE(window.KeyList().currentItem()->text(), QString::fromUtf8("05. 歌詞ファイル情報"));
      QTest::keyClick(&window.KeyList(), Qt::Key_Return);      // the current direction, focus moves on
      QCOMPARE(window.DirectionList().selectedItems().value(0)->text(), QString::fromUtf8("降 順"));
      QTest::keyClick(&window.DirectionList(), Qt::Key_Escape);  // clears it, the window stays
      QVERIFY(window.DirectionList().selectedItems().isEmpty());
      QVERIFY(window.isVisible());
      QTest::keyClick(&window.KeyList(), Qt::Key_Down);
      QTest::keyClick(&window.KeyList(), Qt::Key_Return);
      QTest::keyClick(&window.DirectionList(), Qt::Key_Down);  // wraps to ascending
      QTest::keyClick(&window.DirectionList(), Qt::Key_Return);
      QCOMPARE(window.result(), int(QDialog::Accepted));
    }
    QCOMPARE(state.Key, int(kColSize));
    QCOMPARE(state.Direction, kAscending);
    QCOMPARE(sorts, 1);

    {  // OK with a key picked by mouse and no direction: ascending, stored as -1
      SortWindow window(state, [&] { return ++sorts, true; }, messages);
      window.show();
      window.KeyList().setCurrentRow(6);
      window.OkButton().click();
    }
    QCOMPARE(state.Key, int(kColDate));
    QCOMPARE(state.Direction, kNoDirection);

    {  // Escape in the key list and Cancel change nothing
      SortWindow window(state, [&] { return ++sorts, true; }, messages);
      window.show();
      window.KeyList().setCurrentRow(1);
      QTest::keyClick(&window.KeyList(), Qt::Key_Escape);
      QCOMPARE(window.result(), int(QDialog::Rejected));
    }
    QCOMPARE(state.Key, int(kColDate));
    QCOMPARE(sorts, 2);
    QVERIFY(messages.texts.empty());
  }

  void sortWindowSortsTheFileListOrReportsTheFailure() {
    WindowFixture f;
    MainWindow& w = f.Open();
    WhenModal([](QWidget& modal) {
      auto& window = static_cast<SortWindow&>(modal);
      window.KeyList().setCurrentRow(kColTitle - 1);
      window.DirectionList().setCurrentRow(1);
      window.OkButton().click();
    });
    w.ShowSortWindow();
    QCOMPARE(w.Scan().Sort().Key, int(kColTitle));
    QCOMPARE(w.Scan().Sort().Direction, kDescending);
    QVERIFY(w.Scan().Sort().Sorted);
    QCOMPARE(f.RowOf(".."), 0);  // the parent and the folders stay in front
    QCOMPARE(f.RowOf("Extra"), 1);
    QCOMPARE(w.FileListWidget().header()->sortIndicatorOrder(), Qt::DescendingOrder);

    // Without a direction the list sorts ascending; a click on its header then reverses it.
    WhenModal([](QWidget& modal) {
      auto& window = static_cast<SortWindow&>(modal);
      window.KeyList().setCurrentRow(kColFileName - 1);
      window.OkButton().click();
    });
    w.ShowSortWindow();
    QCOMPARE(w.Scan().Sort().Direction, kNoDirection);
    QCOMPARE(f.RowOf("BROKEN"), 2);
    Q_EMIT w.FileListWidget().header()->sectionClicked(f.Section(kColFileName));
    QCOMPARE(w.Scan().Sort().Direction, kDescending);
    QCOMPARE(f.RowOf("BROKEN"), w.FileList().Count() - 1);

    // A sort that cannot be made leaves the list as it was and says so.
    const int titleRow = f.RowOf("SONG1");
    w.FileList().SetSortOrder([](std::span<const TMusicFileInfo* const>) { return std::nullopt; });
    WhenModal([](QWidget& modal) {
      auto& window = static_cast<SortWindow&>(modal);
      window.KeyList().setCurrentRow(kColFileName - 1);
      window.OkButton().click();
    });
    w.ShowSortWindow();
    QCOMPARE(f.messages.texts, std::vector<std::string>{sort_window::kFailedMessage});
    QCOMPARE(f.RowOf("SONG1"), titleRow);
    QVERIFY(!w.Scan().Sort().Sorted);
  }

  void jumpFolderDialogOpensByLetterAndReportsMissingFolders() {
    QTemporaryDir dir;
    std::array<std::string, 26> folders{};
    folders[C] = Folder(dir.path());
    folders[D] = Folder(dir.path() + QStringLiteral("/gone"));
    RecordingMessageBox messages;
    DialogListLook view;
    {
      JumpFolderDialog dialog(folders, view, messages);
      QVERIFY(UnnamedControls(dialog).isEmpty());
      dialog.show();
      QCOMPARE(dialog.List().topLevelItemCount(), 26);
      QCOMPARE(dialog.List().currentItem()->text(0), QStringLiteral("A"));
      QTest::keyClick(&dialog.List(), Qt::Key_Return);  // A is unset: nothing, still open
      QVERIFY(dialog.isVisible());
      QTest::keyClick(&dialog.List(), Qt::Key_D);       // D is gone: named, still open
      QCOMPARE(messages.texts.back(), folders[D] + " が存在しません.");
      QVERIFY(dialog.isVisible());
      QTest::keyClick(&dialog.List(), Qt::Key_C);       // C from any row
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.ChosenLetter(), C);
    }
    {
      JumpFolderDialog dialog(folders, view, messages);
      dialog.show();
      dialog.List().clearSelection();
      dialog.OkButton().click();
      QCOMPARE(messages.texts.back(), std::string("アイテムが選択されていません."));
      QVERIFY(dialog.isVisible());
    }
    QCOMPARE(messages.texts.size(), size_t(2));
  }

  void listsTakeTheFontGroupAndOpenOnOneClick() {
    QTemporaryDir dir;
    std::array<std::string, 26> folders{};
    folders[C] = Folder(dir.path());
    RecordingMessageBox messages;
    FontSetting font;
    font.Points = 14;
    font.Bold = true;
    font.Color = 0x0000FF;                           // 0x00BBGGRR: red
    font.BackColor = static_cast<int32_t>(0x80000005u);  // the system's window colour
    DialogListLook look;
    look.font = &font;
    look.view.SingleClickOpen = true;
    look.view.WholeRowHighlight = false;
    JumpFolderDialog dialog(folders, look, messages);
    dialog.show();
    QTreeWidget& list = dialog.List();
    QCOMPARE(list.font().pointSize(), 14);
    QVERIFY(list.font().bold());
    QCOMPARE(list.palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(list.palette().color(QPalette::Base), dialog.palette().color(QPalette::Base));
    QCOMPARE(list.selectionBehavior(), QAbstractItemView::SelectItems);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.topLevelItem(C)).center());
    QCOMPARE(dialog.ChosenLetter(), C);
  }

  void jumpFolderDialogOpensTheFolderInTheWindow() {
    WindowFixture f;
    WindowSettings settings = WindowFixture::QuietSettings();
    const QString extra = f.folder + QStringLiteral("/Extra");
    settings.jumpFolders[C] = Folder(extra);
    MainWindow& w = f.Make(settings);
    f.Open();
    WhenModal([](QWidget& modal) { QTest::keyClick(modal.findChild<QTreeWidget*>(), Qt::Key_C); });
    w.ShowJumpFolderDialog();
    QCOMPARE(w.CurrentFolder(), Bytes(extra));
  }

  void driveDialogListsDrivesAndGoesByLetter() {
    DriveRows drives;
    drives.rows = {{C, "/", VolumeKind::Fixed, "SYSTEM"}, {D, "/media/cd", VolumeKind::CdRom, ""},
                   {7, "/home/me", VolumeKind::Fixed, ""}};
    drives.current = 1;
    DialogListLook view;
    {
      DriveDialog dialog(drives, view);
      QVERIFY(UnnamedControls(dialog).isEmpty());
      dialog.show();
      QTreeWidget& list = dialog.List();
      QCOMPARE(list.topLevelItemCount(), 3);
      QCOMPARE(list.currentItem()->text(0), QStringLiteral("D"));  // the current folder's drive
      QCOMPARE(list.topLevelItem(1)->text(1), QStringLiteral("CD-ROM"));
      QCOMPARE(list.topLevelItem(0)->text(2), QStringLiteral("SYSTEM"));
      QTest::keyClick(&list, Qt::Key_Return);
      QCOMPARE(dialog.ChosenLetter(), D);
    }
    {
      DriveDialog dialog(drives, view);
      dialog.show();
      QTest::keyClick(&dialog.List(), Qt::Key_Q);  // a letter not listed goes too
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(dialog.ChosenLetter(), Q);
    }
  }

  void driveCommandsFollowTheLetterTable() {
    WindowFixture f;
    WindowSettings settings = WindowFixture::QuietSettings();
    MainWindow& w = f.Make(settings);
    // First start: "C" is the root and the new volume (the fixture's folder) gets "D".
    int saves = 0;
    w.onSaveDriveLetters = [&](const std::array<std::string, 26>&) { ++saves; };
    QTemporaryDir mounts;
    const QString volume = f.root.path();
    w.volumeSource = [&] { return OneVolume(mounts, volume); };
    f.Open();
    QCOMPARE(saves, 1);
    QCOMPARE(w.DriveLetters()[C], std::string("/"));
    QCOMPARE(w.DriveLetters()[D], Folder(volume));

    // The root command goes to the longest mapped prefix: D's folder, not "/".
    w.OpenDriveRoot();
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(volume));

    // D remembers the last folder visited on it; when that folder is gone, D's root.
    const QString inner = f.folder + QStringLiteral("/Extra");
    w.OpenPath(Bytes(inner));
    QVERIFY(f.NextPass());
    w.OpenPath(Bytes(mounts.path()));
    QVERIFY(f.NextPass());
    w.ChangeDrive(D);
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(inner));
    w.OpenPath(Bytes(mounts.path()));
    QVERIFY(f.NextPass());
    QVERIFY(QDir(inner).removeRecursively());
    w.ChangeDrive(D);
    QVERIFY(f.NextPass());
    QCOMPARE(w.CurrentFolder(), Bytes(volume));
    QCOMPARE(f.messages.texts.size(), size_t(1));
    QVERIFY(QString::fromStdString(f.messages.texts[0]).endsWith(
        QString::fromUtf8(" が存在しないので\n") + QString::fromStdString(Bytes(volume)) + QString::fromUtf8(" を開きます.")));
    QCOMPARE(saves, 1);  // nothing new to store

    // A letter that names no folder is a drive that is not ready.
    w.ChangeDrive(Q);
    QCOMPARE(w.CurrentFolder(), Bytes(volume));
    QCOMPARE(w.Status().Panel(1), QString::fromUtf8("ドライブの準備が出来ていません .."));
  }
};

}  // namespace

QObject* NewDialogsTest() { return new DialogsTest; }

}  // namespace kadrel::test

#include "dialogs_test.moc"
