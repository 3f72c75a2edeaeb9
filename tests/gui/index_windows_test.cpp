// The index refresh window and the title editor over an index in a temporary folder.

#include <unistd.h>

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/refresh_window.h"
#include "ui/title_editor.h"

namespace kadrel::test {
namespace {

TMusicFileInfo File(const std::string& name, int kind, const std::string& archive = {}) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileExt = ".MID";
  r.FileType = kRowMID;
  r.ItemKind = kind;
  r.Archiver = archive;
  r.Title = "T-" + name;
  return r;
}

// An index store over <temp>/index/ whose folders all sit on a fixed disk.
struct IndexSetup {
  IndexSetup() {
    options.IndexFolder = Bytes(dir.path()) + "index/";
    options.IndexMode = 2;
    QDir(dir.path()).mkdir(QStringLiteral("index"));
    index.SetOptions(options);
  }
  std::string Folder(const char* name) {
    QDir(dir.path()).mkdir(QString::fromLatin1(name));
    return Bytes(dir.path() + QLatin1Char('/') + QString::fromLatin1(name));
  }
  void Block(const std::string& folder, const std::vector<TMusicFileInfo>& list) {
    std::vector<TMusicFileInfo> scratch;
    index.OpenFolderIndex(folder, scratch);
    QVERIFY(index.WriteFolderBlock(list));
  }
  std::string IndexFile() const { return options.IndexFolder + "__index.dat"; }

  QTemporaryDir dir;
  TMainOption options;
  RecordingMessageBox messages;
  TFolderIndex index{options, messages, {}, [](const std::string&) { return VolumeInfo{"/", "ext4", "8:1", VolumeKind::Fixed}; }};
  std::atomic<bool> busy{false};
};

}  // namespace

class IndexWindowsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void refreshLevelsAndButtons() {
    IndexSetup s;
    const std::string kept = s.Folder("kept"), gone = s.Folder("gone");
    s.Block(gone, {File("x", kLooseFile)});
    s.Block(kept, {File("a", kLooseFile), File("b", kLooseFile)});
    QDir(QString::fromStdString(gone)).removeRecursively();
    int checks = 0;
    RefreshWindow w(s.index, s.busy, [&](const std::string&, const std::string&, const std::string&) { return ++checks == 1 ? 1 : 0; }, {});
    w.show();
    QVERIFY(w.LevelButton(1).isChecked());
    QVERIFY(!w.LevelButton(3).isEnabled());
    QVERIFY(!w.StopButton().isEnabled());
    QCOMPARE(w.height(), RefreshWindow::kInitialHeight);
    QCOMPARE(w.Results().headerItem()->text(3), QStringLiteral("Error"));

    bool sawBusy = false;
    w.onStep = [&] { sawBusy = sawBusy || s.busy; };
    w.Ok();
    QVERIFY(sawBusy);
    QVERIFY(!s.busy);
    QCOMPARE(w.height(), RefreshWindow::kResultHeight);
    QCOMPARE(w.Results().topLevelItemCount(), 1);
    QCOMPARE(w.Results().topLevelItem(0)->text(3), QString::fromUtf8("Lev.1 Folderが存在しません."));
    QCOMPARE(QString::fromStdString(s.messages.texts.front()),
             QString::fromUtf8("Indexをリフレッシュ Level 1 を開始します.\nよろしいですか？"));
    QVERIFY(w.OkButton().isEnabled() && w.CloseButton().isEnabled() && !w.StopButton().isEnabled());

    // Level 2 finds the first file gone.
    w.LevelButton(2).setChecked(true);
    w.Ok();
    QCOMPARE(w.LastResult(), RefreshResult::Done);
    QCOMPARE(w.Results().topLevelItemCount(), 1);
    QCOMPARE(w.Results().topLevelItem(0)->text(1), QStringLiteral("a.MID"));
  }

  void stopAndRefusedClose() {
    IndexSetup s;
    const std::string folder = s.Folder("m");
    s.Block(folder, {File("a", kLooseFile), File("b", kLooseFile), File("c", kLooseFile)});
    const std::string before = s.index.Image();
    RefreshWindow w(s.index, s.busy, [](const std::string&, const std::string&, const std::string&) { return 1; }, {});
    w.show();
    w.LevelButton(2).setChecked(true);
    int steps = 0;
    w.onStep = [&] {
      if (++steps != 3) return;
      QVERIFY(w.StopButton().isEnabled());
      QVERIFY(!w.close());
      w.StopButton().click();
    };
    w.Ok();
    QVERIFY(w.isVisible());
    QCOMPARE(QString::fromStdString(s.messages.texts.back()),
             QString::fromUtf8("Indexをリフレッシュ中はwindowを閉じることは出来ません."));
    QCOMPARE(w.StatusLine().text(), QString::fromUtf8("リフレッシュを中止しました.."));
    // The records cut before the stop are not kept for a later save.
    QCOMPARE(s.index.Image(), before);
    QVERIFY(w.close());
  }

  void failedSaveIsReported() {
    IndexSetup s;
    const std::string gone = s.Folder("gone");
    s.Block(gone, {File("x", kLooseFile)});
    QDir(QString::fromStdString(gone)).removeRecursively();
    // A second hard link makes the index file one we do not replace.
    QCOMPARE(::link(s.IndexFile().c_str(), (s.IndexFile() + ".other").c_str()), 0);
    RefreshWindow w(s.index, s.busy, {}, {});
    w.Ok();
    QCOMPARE(w.LastResult(), RefreshResult::SaveFailed);
    QCOMPARE(w.StatusLine().text(), QString::fromUtf8("Indexの保存に失敗しました.."));
    QVERIFY(QString::fromStdString(s.messages.texts.back()).startsWith(QString::fromUtf8("Indexファイルの保存に失敗しました.")));
  }

  void titleEditorKeepsUneditedBytesAndSavesTheLastRow() {
    IndexSetup s;
    const std::string folder = s.Folder("m");
    TMusicFileInfo parent;
    parent.ItemKind = kParentEntry;
    std::vector<TMusicFileInfo> list = {parent, File("a", kLooseFile), File("b", kArchiveMember, "X.LZH"),
                                        File("c", kLooseFile)};
    list[1].Title = "\x82\xA0\xFF";  // あ and a byte no decoding gives back
    s.Block(folder, list);
    TitleEditor editor(list, s.index, s.busy, folder, {}, QFont(), nullptr);
    editor.show();
    QVERIFY(editor.windowTitle().startsWith(QString::fromUtf8("Index情報の編集  [ ")));
    QCOMPARE(editor.Grid().rowCount(), 3);
    QVERIFY(!(editor.Grid().item(0, kTitleFileName)->flags() & Qt::ItemIsSelectable));
    QVERIFY(editor.Grid().item(0, kTitleTitle)->flags() & Qt::ItemIsEditable);

    // Over-long text is refused, not cut.
    editor.Grid().item(1, kTitleAlbum)->setText(QString(200, QChar(0x3042)));
    editor.Save();
    QVERIFY(!editor.Result());
    QVERIFY(QString::fromStdString(s.messages.texts.back()).contains(QStringLiteral("255")));
    editor.Grid().item(1, kTitleAlbum)->setText(QString());

    // The last row's cell is still in its editor when the save comes.
    editor.Grid().setCurrentCell(2, kTitleTitle);
    editor.Grid().editItem(editor.Grid().item(2, kTitleTitle));
    auto* field = editor.Grid().findChild<QLineEdit*>();
    QVERIFY(field);
    field->setText(QString::fromUtf8("最後"));
    editor.Save();
    QCOMPARE(editor.Result(), TitleSaveResult::Saved);
    QCOMPARE(list[3].Title, Cp932("最後"));
    QCOMPARE(list[1].Title, std::string("\x82\xA0\xFF"));
    std::vector<TMusicFileInfo> stored;
    s.index.OpenFolderIndex(folder, stored);
    QCOMPARE(stored.size(), size_t{3});
    QCOMPARE(stored[0].Title, std::string("\x82\xA0\xFF"));
    QCOMPARE(stored[2].Title, Cp932("最後"));
  }
};

QObject* NewIndexWindowsTest() { return new IndexWindowsTest; }

}  // namespace kadrel::test

#include "index_windows_test.moc"
