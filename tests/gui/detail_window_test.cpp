// The detail window: files beside a music file found without regard to letter case,
// an archive's members, several independent windows, and a rename in the window's
// own folder.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QMenu>
#include <QTimer>
#include <QAction>

#include "catalog/format_table.h"
#include "scan/detail_entries.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/detail_window.h"
#include "ui/rename_dialog.h"

namespace kadrel::test {
namespace {

std::vector<std::string> Names(DetailWindow& w) {
  std::vector<std::string> names;
  for (int i = 0; i < w.Entries().Count(); ++i) names.push_back(w.Entries().Record(i).FullName());
  std::sort(names.begin(), names.end());
  return names;
}

const TMusicFileInfo* Find(DetailWindow& w, const std::string& name) {
  for (int i = 0; i < w.Entries().Count(); ++i)
    if (w.Entries().Record(i).FullName() == name) return &w.Entries().Record(i);
  return nullptr;
}

}  // namespace

class DetailWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void findsCompanionsWithoutLetterCase() {
    QTemporaryDir dir;
    for (const char* name : {"SONG.MID", "song.doc", "Song.wrd", "SONGS.MID", "OTHER.MID"}) {
      QFile f(dir.path() + QLatin1Char('/') + QString::fromLatin1(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("MThd");
    }
    QDir(dir.path()).mkdir(QStringLiteral("SONG.DIR"));
    TMusicFileInfo item;
    item.FileName = "SONG";
    item.FileExt = ".MID";
    item.FileType = kRowMID;
    item.ItemKind = kLooseFile;
    item.Title = "kept";
    DetailContext context;
    context.columns = {1, 2, 5};
    context.infoGetTypes = ".TXT,.DOC";
    auto* w = new DetailWindow(item, Bytes(dir.path()), context);
    w->show();
    QCOMPARE(w->windowTitle(), QString::fromUtf8("詳細情報 [SONG.MID]"));
    QCOMPARE(Names(*w), (std::vector<std::string>{"SONG.MID", "Song.wrd", "song.doc"}));
    QCOMPARE(Find(*w, "SONG.MID")->Title, std::string("kept"));
    QCOMPARE(Find(*w, "song.doc")->FileType, kDetailDocumentRow);
    QCOMPARE(Find(*w, "Song.wrd")->FileType, kDetailOtherRow);
    QVERIFY(!Find(*w, "Song.wrd")->Detail.empty());  // the desktop's type name
    QVERIFY(w->List().currentIndex().isValid());
    w->close();
  }

  void listsAnArchiveAndKeepsWindowsApart() {
    WindowFixture f;
    MainWindow& main = f.Open();
    main.FileListWidget().setCurrentIndex(main.FileList().index(f.RowOf("HARU", "HARUKAZE.LZH"), 0));
    DetailWindow* archive = main.OpenDetailWindow();
    QVERIFY(archive);
    QCOMPARE(archive->windowTitle(), QString::fromUtf8("詳細情報 [HARUKAZE.LZH]"));
    QCOMPARE(archive->Entries().Count(), 4);
    QCOMPARE(archive->Entries().Record(0).Archiver, std::string("HARUKAZE.LZH"));

    main.FileListWidget().setCurrentIndex(main.FileList().index(f.RowOf("SONG2"), 0));
    DetailWindow* loose = main.OpenDetailWindow();
    QVERIFY(loose && loose != archive);
    QCOMPARE(Names(*loose), (std::vector<std::string>{"SONG2.DOC", "SONG2.MID", "SONG2.WRD"}));
    QCOMPARE(archive->Entries().Count(), 4);
    QCOMPARE(main.DetailWindows().size(), 2);

    const QString text = QStringLiteral("status text");
    main.SetStatus(&text, nullptr, nullptr);
    QCOMPARE(archive->StatusPanel(0).text(), text);
    QCOMPARE(loose->StatusPanel(0).text(), text);

    // A folder or the parent entry opens nothing.
    main.FileListWidget().setCurrentIndex(main.FileList().index(f.RowOf("Extra"), 0));
    QVERIFY(!main.OpenDetailWindow());

    // The main window moves on; a rename in the detail window stays in its own folder.
    main.OpenPath(Bytes(f.folder + QStringLiteral("/Extra")));
    QVERIFY(f.NextPass());
    loose->List().setCurrentIndex(loose->Entries().index(0, 0));
    const std::string first = loose->Entries().Record(0).FileName;
    QTimer::singleShot(0, [] {
      auto* dialog = qobject_cast<RenameDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->FileNameField().setText(QStringLiteral("RENAMED"));
      dialog->Ok();
    });
    loose->RenameFocused();
    QVERIFY(QFile::exists(f.folder + QStringLiteral("/RENAMED") +
                          QString::fromStdString(loose->Entries().Record(0).FileExt)));
    QCOMPARE(loose->Entries().Record(0).FileName, std::string("RENAMED"));
    QVERIFY(first != "RENAMED");
    archive->close();
    loose->close();
  }

  // The player pop-up's documents: those inside the archive first, marked "* ", then the
  // loose ones; the place is in the action's data, not read back from the caption.
  void playerPopupListsTheDocuments() {
    WindowFixture f;
    MainWindow& w = f.Open();
    const TMusicFileInfo member = w.FileList().Record(f.RowOf("SONG2", "OLDSONG.LZH"));
    QMenu documents;
    QVERIFY(w.FillDocumentMenu(documents, member, Bytes(f.folder)));
    QStringList captions;
    for (QAction* a : documents.actions()) captions << a->text();
    QVERIFY2(captions.size() >= 2 && captions.first().startsWith(QStringLiteral("* ")), qPrintable(captions.join(u'|')));
    QVERIFY2(captions.contains(QStringLiteral("* song2.doc"), Qt::CaseInsensitive), qPrintable(captions.join(u'|')));
    QVERIFY(captions.contains(QStringLiteral("SONG2.DOC")));
    for (QAction* a : documents.actions())
      if (a->text() == QStringLiteral("SONG2.DOC")) QCOMPARE(a->data().toList().value(0).toInt(), 0);
    QVERIFY(documents.isEnabled());

    // A file without documents leaves the submenu off.
    QMenu none;
    QVERIFY(w.FillDocumentMenu(none, w.FileList().Record(f.RowOf("TRACKER")), Bytes(f.folder)));
    QVERIFY(!none.isEnabled());
  }

  // Keys and menu items of a detail window run their commands on that window's own
  // entries, in its own folder, after the main window has moved on.
  void commandsActOnTheWindowsOwnEntries() {
    WindowFixture f;
    MainWindow& main = f.Open();
    main.FileListWidget().setCurrentIndex(main.FileList().index(f.RowOf("SONG2"), 0));
    DetailWindow* detail = main.OpenDetailWindow();
    QVERIFY(detail);
    main.OpenPath(Bytes(f.folder + QStringLiteral("/Extra")));
    QVERIFY(f.NextPass());

    auto focus = [&](const char* name) {
      for (int i = 0; i < detail->Entries().Count(); ++i)
        if (detail->Entries().Record(i).FullName() == name) detail->List().setCurrentIndex(detail->Entries().index(i, 0));
    };
    // No player is registered: playing names the format of the entry it was asked for.
    focus("SONG2.MID");
    f.messages.texts.clear();
    QTest::keyClick(&detail->List(), Qt::Key_Return);
    QVERIFY(WaitUntil([&] { return !f.messages.texts.empty(); }));
    QVERIFY2(f.messages.texts.back().find("MID") != std::string::npos, f.messages.texts.back().c_str());

    f.messages.texts.clear();
    detail->UpdatePopupState();
    for (QAction* a : detail->Popup().actions())
      if (a->text().startsWith(QString::fromUtf8("最適な方法で開く"))) a->trigger();
    QVERIFY(WaitUntil([&] { return !f.messages.texts.empty(); }));
    QVERIFY2(f.messages.texts.back().find("MID") != std::string::npos, f.messages.texts.back().c_str());
    QCOMPARE(main.CommandDetail(), detail);

    // Backspace closes the detail window it was pressed in; the main window stays.
    QTest::keyClick(&detail->List(), Qt::Key_Backspace);
    QVERIFY(WaitUntil([&] { return main.DetailWindows().isEmpty() || !main.DetailWindows().front(); }));
    QVERIFY(main.isVisible());
  }
};

QObject* NewDetailWindowTest() { return new DetailWindowTest; }

}  // namespace kadrel::test

#include "detail_window_test.moc"
