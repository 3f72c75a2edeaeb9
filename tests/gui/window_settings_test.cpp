// The main window on the user's settings store: what one run saves at the close the
// next run restores; deleting every setting writes nothing more; the command line's
// configuration folder.

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include "catalog/column_text.h"
#include "settings/user_settings.h"
#include "test_objects.h"
#include "test_support.h"

namespace kadrel::test {

class WindowSettingsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void stateSurvivesARestart() {
    QTemporaryDir config;
    WindowFixture first, second;  // the first run's folder stays for the second
    MainWindow& one = first.MakeFromStore(config.path());
    // A fresh store: the launcher question once, then the manual.
    QCOMPARE(first.messages.texts.size(), size_t(1));
    QCOMPARE(first.helpContexts, std::vector<int>{kUpgradeHelpContext});
    QCOMPARE(one.Actions().playSlot[0]->text(), QStringLiteral("(&1) : MediaPlayer\tCtrl+1"));  // with its key
    QVERIFY(one.Actions().playSlot[0]->isVisible() && !one.Actions().playSlot[1]->isVisible());
    first.Open();
    QHeaderView* header = one.FileListWidget().header();
    header->resizeSection(first.Section(kColFileName), 187);
    header->resizeSection(first.Section(kColTitle), 241);
    Q_EMIT header->sectionClicked(first.Section(kColTitle));
    Q_EMIT header->sectionClicked(first.Section(kColTitle));  // second click: descending
    one.Actions().viewStatusBar->trigger();
    one.addToolBar(Qt::LeftToolBarArea, one.Actions().bars[1]);
    QVERIFY(one.close());
    QCOMPARE(first.saves, 1);

    MainWindow& w = second.MakeFromStore(config.path());
    QVERIFY(second.messages.texts.empty());  // same version: no question, no manual
    QVERIFY(second.helpContexts.empty());
    QCOMPARE(second.settings.scan.main.StartFolder, Bytes(first.folder));  // the folder of the last exit
    header = w.FileListWidget().header();
    QCOMPARE(header->sectionSize(second.Section(kColFileName)), 187);
    QCOMPARE(header->sectionSize(second.Section(kColTitle)), 241);
    QCOMPARE(header->sortIndicatorSection(), second.Section(kColTitle));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(w.Status().isHidden() && !w.Actions().viewStatusBar->isChecked());
    QCOMPARE(w.toolBarArea(w.Actions().bars[1]), Qt::LeftToolBarArea);
    QCOMPARE(w.toolBarArea(w.Actions().bars[0]), Qt::TopToolBarArea);
    QVERIFY(w.Actions().viewAllFolders->isChecked());

    // The list opens by title, descending: 春の小川 before Placeholder Melody.
    second.Open();
    QCOMPARE(second.RowOf(".."), 0);
    QVERIFY(second.RowOf("SONG1") < second.RowOf("PLACEHOLDER"));
  }

  // The window shows the stored columns in the stored order, as the command-line tool
  // lists them, each with its own width.
  void storedColumnOrderIsKept() {
    struct Case {
      std::vector<int> stored, shown;  // FLitem1.. (ending in 0), the columns shown
    };
    const Case cases[] = {
        {{kColTitle, kColFileName, 0}, {kColTitle, kColFileName}},
        {{kColType, kColTitle, kColInfo, 0}, {kColType, kColTitle, kColInfo}},  // no file-name column at all
        {{kColFileName, kColDataMaker, 0}, {kColFileName, kColDataMaker}},
    };
    for (const Case& c : cases) {
      QTemporaryDir config;
      {
        WindowFixture install;  // a first run sets the store up
        install.MakeFromStore(config.path());
        for (size_t i = 0; i < c.stored.size(); ++i)
          install.session->Reg().RegWriteInt("FLitem" + std::to_string(i + 1), c.stored[i], "\\ListView");
      }
      WindowFixture run;
      MainWindow& w = run.MakeFromStore(config.path());
      std::vector<int> tool;
      for (int32_t id : LoadUserListSettings(Bytes(config.path())).columns) tool.push_back(id);
      QCOMPARE(tool, c.shown);
      QCOMPARE(w.FileList().Columns(), c.shown);
      for (size_t i = 0; i < c.shown.size(); ++i)
        QCOMPARE(w.FileListWidget().header()->sectionSize(int(i)), run.settings.columnWidths[size_t(c.shown[i])]);
    }
  }

  // A window placed on a screen that is gone comes back onto the desktop.
  void windowOffTheDesktopIsBroughtBack() {
    RecordingMessageBox messages;
    WindowSettings s = DefaultWindowSettings();
    std::tie(s.left, s.top, s.width, s.height) = std::tuple(30000, -20000, 50, 20000);
    MainWindow w(s, &messages);
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->availableGeometry();
    QVERIFY(desktop.intersects(w.geometry()));
    QVERIFY(w.geometry().width() >= 200);
    QVERIFY(w.geometry().height() <= desktop.height());
  }

  void deletingTheSettingsWritesNothingMore() {
    QTemporaryDir config;
    WindowFixture f;
    f.MakeFromStore(config.path());
    MainWindow& w = f.Open();
    f.messages.answer = MessageAnswer::Cancel;
    w.Actions().deleteSettings->trigger();
    QVERIFY(w.isVisible());
    QVERIFY(!f.session->Deleted());

    f.messages.answer = MessageAnswer::Ok;
    w.Actions().deleteSettings->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.Phase(), MainWindow::LifePhase::Closing);
    QCOMPARE(f.saves, 0);
    QVERIFY(f.session->Deleted());
    QVERIFY(!f.session->Save(w.CurrentStartupState(), f.messages));
    for (const StoredKey& key : f.session->Store().Snapshot()) QVERIFY(key.values.empty());
  }

  void configFolderArgumentIsTakenOut() {
    struct Case {
      QStringList in;
      std::string folder;
      QStringList rest;
    };
    const QString music = QStringLiteral("/music");
    const Case cases[] = {
        {{QStringLiteral("--config-dir"), QStringLiteral("/c"), music}, "/c", {music}},
        {{music, QStringLiteral("--config-dir=/c d")}, "/c d", {music}},
        {{QStringLiteral("--config-dir")}, "", {}},  // no value: nothing is opened by mistake
        {{QStringLiteral("--config-directory"), music}, "", {QStringLiteral("--config-directory"), music}},
    };
    for (const Case& c : cases) {
      QStringList arguments = c.in;
      QCOMPARE(TakeConfigDirArgument(arguments), c.folder);
      QCOMPARE(arguments, c.rest);
    }
  }
};

QObject* NewWindowSettingsTest() { return new WindowSettingsTest; }

}  // namespace kadrel::test

#include "window_settings_test.moc"
