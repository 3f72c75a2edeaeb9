// The rename window over the sample collection: its fields, the OK rule, a refused
// name, and an archive with a member renamed in one go reaching the file list.

#include <QFile>
#include <QTest>

#include "archive/lzh_archive.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/rename_dialog.h"

namespace kadrel::test {

class RenameWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fieldsFollowTheKindOfEntry() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const TMusicFileInfo member = w.FileList().Record(f.RowOf("HARU", "HARUKAZE.LZH"));
    RenameDialog d(member, Bytes(f.folder), f.messages, &w);
    QCOMPARE(d.windowTitle(), QString::fromUtf8("名前の変更 [圧縮ファイル名の変更]"));
    QCOMPARE(d.FileNameField().text(), QStringLiteral("HARU"));
    QVERIFY(!d.FileTypeField().isEnabled());
    QVERIFY(d.ArcNameField().isEnabled());
    QVERIFY(!d.ArcTypeField().isEnabled());
    QCOMPARE(d.OldArchiveLabel().text(), QString::fromUtf8("元の圧縮ファイル名 : HARUKAZE.LZH"));

    const TMusicFileInfo loose = w.FileList().Record(f.RowOf("SONG1"));
    RenameDialog file(loose, Bytes(f.folder), f.messages, &w);
    QCOMPARE(file.windowTitle(), QString::fromUtf8("名前の変更 [ファイル名の変更]"));
    QCOMPARE(file.ArcNameField().text(), QString::fromUtf8("(圧縮ファイルではありません) "));
    QVERIFY(!file.ArcNameField().isEnabled());
    QCOMPARE(file.OldNameLabel().text(), QString::fromUtf8("元の名前 : SONG1.MID"));

    // OK follows the field just edited.
    file.FileNameField().selectAll();
    QTest::keyClick(&file.FileNameField(), Qt::Key_Delete);
    QVERIFY(!file.OkButton().isEnabled());
    QTest::keyClicks(&file.FileNameField(), QStringLiteral("x"));
    QVERIFY(file.OkButton().isEnabled());

    TMusicFileInfo folder = w.FileList().Record(f.RowOf("Extra"));
    QCOMPARE(*RenameDialog::CaptionFor(folder), QString::fromUtf8("名前の変更 [フォルダ名の変更]"));
    QVERIFY(RenameDialog(folder, Bytes(f.folder), f.messages, &w).FileTypeField().isEnabled());
  }

  void refusedNameBringsTheOldNamesBack() {
    WindowFixture f;
    MainWindow& w = f.Open();
    RenameDialog d(w.FileList().Record(f.RowOf("SONG1")), Bytes(f.folder), f.messages, &w);
    d.FileNameField().setText(QStringLiteral("what?"));
    d.Ok();
    QCOMPARE(d.Outcome().status, RenameStatus::Refused);
    QCOMPARE(d.FileNameField().text(), QStringLiteral("SONG1"));
    QCOMPARE(QString::fromStdString(f.messages.texts.back()),
             QString::fromUtf8("ファイル名に不適切な文字が含まれています.\n名前の変更に失敗しました."));
    QVERIFY(QFile::exists(f.folder + QStringLiteral("/SONG1.MID")));
  }

  void archiveAndMemberRenamedReachTheList() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const int row = f.RowOf("HARU", "HARUKAZE.LZH");
    RenameDialog d(w.FileList().Record(row), Bytes(f.folder), f.messages, &w);
    d.ArcNameField().setText(QStringLiteral("SPRING"));
    d.FileNameField().setText(QStringLiteral("HARU2"));
    d.Ok();
    QCOMPARE(d.Outcome().status, RenameStatus::Renamed);
    QVERIFY(d.result() == QDialog::Accepted);
    w.ApplyRename(d.Outcome(), Bytes(f.folder));
    QCOMPARE(f.RowOf("HARU", "HARUKAZE.LZH"), -1);
    QVERIFY(f.RowOf("HARU2", "SPRING.LZH") >= 0);
    QCOMPARE(f.RowOf("HARU2", "SPRING.LZH"), row);
    for (int i = 0; i < w.FileList().Count(); ++i)
      QVERIFY(w.FileList().Record(i).Archiver != "HARUKAZE.LZH");
    QVERIFY(!QFile::exists(f.folder + QStringLiteral("/HARUKAZE.LZH")));
    const LzhListing listing = ListLzhFile(Bytes(f.folder) + "SPRING.LZH");
    QCOMPARE(QString::fromStdString(listing.members.back().Path()), QStringLiteral("HARUKAZE/RCP/HARU2.RCP"));
  }
};

QObject* NewRenameWindowTest() { return new RenameWindowTest; }

}  // namespace kadrel::test

#include "rename_window_test.moc"
