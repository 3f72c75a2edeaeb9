// The main window on the user's settings store: what one run saves at the close the
// next run restores; deleting every setting writes nothing more; the command line's
// configuration folder.

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "catalog/column_text.h"
#include "sorting/sort_list.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "ui/texts.h"
#include "ui/window_settings.h"
#include "settings/user_settings.h"

namespace kadrel::test {
namespace {

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString() + "/"; }

int SectionOf(MainWindow& w, int column) {
  const auto& ids = w.FileList().Columns();
  return int(std::find(ids.begin(), ids.end(), column) - ids.begin());
}

// One run of the program on the store in `config`: the settings pass, the window, the
// folder opened, and the state saved when the window closes.
struct Run {
  Run(const QString& config, RecordingMessageBox& messages)
      : session(DefaultPlatformFolders(Bytes(config)), messages) {
    env.desktopFolder = Bytes(config) + "desktop/";
    // A player on the search path for the fresh installation's first slot.
    QDir().mkpath(config + QStringLiteral("/bin"));
    QFile player(config + QStringLiteral("/bin/mpv"));
    if (player.open(QIODevice::WriteOnly)) player.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    env.pathList = Bytes(config) + "bin";
    env.openHelp = [this](int context) { helpContexts.push_back(context); };
    settings = session.Start(messages, env, {1024, 768});
    settings.statusIntervalMs = 3600 * 1000;
    window = std::make_unique<MainWindow>(settings, &messages);
    window->onSaveState = [this, &messages](const StartupState& state) {
      ++saves;
      session.Save(state, messages);
    };
    window->onDeleteSettings = [this] { session.Delete(); };
  }
  bool Open(const QString& folder) {
    window->show();
    QSignalSpy finished(window.get(), &MainWindow::passFinished);
    window->Start(Bytes(folder));
    return WaitUntil([&] { return finished.count() >= 1; });
  }

  SettingsSession session;
  UpgradeEnvironment env;
  std::vector<int> helpContexts;
  WindowSettings settings;
  std::unique_ptr<MainWindow> window;
  int saves = 0;
};

}  // namespace

class WindowSettingsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void stateSurvivesARestart() {
    QTemporaryDir dir, config;
    CopySamples(dir.path());
    RecordingMessageBox firstMessages;
    {
      Run first(config.path(), firstMessages);
      // A fresh store: the launcher question once, then the manual.
      QCOMPARE(firstMessages.texts.size(), size_t(1));
      QCOMPARE(first.helpContexts, std::vector<int>{kUpgradeHelpContext});
      QCOMPARE(first.window->Actions().playSlot[0]->text(), QStringLiteral("(&1) : MediaPlayer"));
      QVERIFY(first.window->Actions().playSlot[0]->isVisible());
      QVERIFY(!first.window->Actions().playSlot[1]->isVisible());
      QVERIFY(first.Open(dir.path()));
      MainWindow& w = *first.window;
      QHeaderView* header = w.FileListWidget().header();
      header->resizeSection(SectionOf(w, kColFileName), 187);
      header->resizeSection(SectionOf(w, kColTitle), 241);
      Q_EMIT header->sectionClicked(SectionOf(w, kColTitle));
      Q_EMIT header->sectionClicked(SectionOf(w, kColTitle));  // second click: descending
      QCOMPARE(w.Scan().Sort().Direction, 1);
      w.Actions().viewStatusBar->trigger();
      QVERIFY(!w.Actions().viewStatusBar->isChecked());
      w.addToolBar(Qt::LeftToolBarArea, w.Actions().bars[1]);
      QVERIFY(w.close());
      QCOMPARE(first.saves, 1);
    }
    RecordingMessageBox messages;
    Run second(config.path(), messages);
    QVERIFY(messages.texts.empty());  // same version: no question, no manual
    QVERIFY(second.helpContexts.empty());
    QCOMPARE(second.settings.columnWidths[kColFileName], 187);
    QCOMPARE(second.settings.columnWidths[kColTitle], 241);
    QCOMPARE(second.settings.sortKey, int(kColTitle));
    QCOMPARE(second.settings.sortDirection, 1);
    QCOMPARE(second.settings.scan.main.StartFolder, Bytes(dir.path()));  // the folder of the last exit

    MainWindow& w = *second.window;
    QHeaderView* header = w.FileListWidget().header();
    QCOMPARE(header->sectionSize(SectionOf(w, kColFileName)), 187);
    QCOMPARE(header->sectionSize(SectionOf(w, kColTitle)), 241);
    QCOMPARE(header->sortIndicatorSection(), SectionOf(w, kColTitle));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(w.Status().isHidden());
    QVERIFY(!w.Actions().viewStatusBar->isChecked());
    QCOMPARE(w.toolBarArea(w.Actions().bars[1]), Qt::LeftToolBarArea);
    QCOMPARE(w.toolBarArea(w.Actions().bars[0]), Qt::TopToolBarArea);
    QVERIFY(w.Actions().viewAllFolders->isChecked());

    // The list opens in the restored order.
    QVERIFY(second.Open(dir.path()));
    const FileListModel& list = w.FileList();
    std::vector<std::unique_ptr<TMusicFileInfo>> expected;
    for (int i = 0; i < list.Count(); ++i) expected.push_back(std::make_unique<TMusicFileInfo>(list.Record(i)));
    QVERIFY(SortList(expected, w.Scan().Sort(), true));
    for (int i = 0; i < list.Count(); ++i) QCOMPARE(list.Record(i).FileName, expected[size_t(i)]->FileName);
  }

  // The window shows the stored columns in the stored order, as the command-line tool
  // lists them, each with its own width.
  void storedColumnOrderIsKept() {
    struct Case {
      std::vector<std::pair<const char*, int32_t>> stored;
      std::vector<int> shown;
    };
    const Case cases[] = {
        {{{"FLitem1", kColTitle}, {"FLitem2", kColFileName}, {"FLitem3", 0}}, {kColTitle, kColFileName}},
        {{{"FLitem1", kColType}, {"FLitem2", kColTitle}, {"FLitem3", kColInfo}, {"FLitem4", 0}},
         {kColType, kColTitle, kColInfo}},  // no file-name column at all
        {{{"FLitem1", kColFileName}, {"FLitem2", kColDataMaker}, {"FLitem3", 0}}, {kColFileName, kColDataMaker}},
    };
    for (const Case& c : cases) {
      QTemporaryDir config;
      RecordingMessageBox messages;
      {
        Run install(config.path(), messages);  // a first run sets the store up
        for (const auto& [name, id] : c.stored) install.session.Reg().RegWriteInt(name, id, "\\ListView");
      }
      Run run(config.path(), messages);
      MainWindow& w = *run.window;
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
    s.left = 30000;
    s.top = -20000;
    s.width = 50;
    s.height = 20000;
    MainWindow w(s, &messages);
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->availableGeometry();
    QVERIFY(desktop.intersects(w.geometry()));
    QVERIFY(w.geometry().width() >= 200);
    QVERIFY(w.geometry().height() <= desktop.height());
  }

  void deletingTheSettingsWritesNothingMore() {
    QTemporaryDir dir, config;
    CopySamples(dir.path());
    RecordingMessageBox messages;
    Run run(config.path(), messages);
    QVERIFY(run.Open(dir.path()));
    MainWindow& w = *run.window;

    messages.answer = MessageAnswer::Cancel;
    w.Actions().deleteSettings->trigger();
    QVERIFY(w.isVisible());
    QVERIFY(!run.session.Deleted());

    messages.answer = MessageAnswer::Ok;
    w.Actions().deleteSettings->trigger();
    QCOMPARE(messages.texts.back(), std::string("レジストリを削除後、Kadrelを終了します.\nPlayerの設定など、全ての設定が削除されますが\nよろしいですか？"));
    QVERIFY(!w.isVisible());
    QCOMPARE(w.Phase(), MainWindow::LifePhase::Closing);
    QCOMPARE(run.saves, 0);
    QVERIFY(run.session.Deleted());
    for (const StoredKey& key : run.session.Store().Snapshot()) QVERIFY(key.values.empty());
    QVERIFY(!run.session.Save(w.CurrentStartupState(), messages));
    for (const StoredKey& key : run.session.Store().Snapshot()) QVERIFY(key.values.empty());
  }

  void configFolderArgumentIsTakenOut() {
    struct Case {
      QStringList in;
      std::string folder;
      QStringList rest;
    };
    const Case cases[] = {
        {{QStringLiteral("--config-dir"), QStringLiteral("/c"), QStringLiteral("/music")}, "/c", {QStringLiteral("/music")}},
        {{QStringLiteral("/music"), QStringLiteral("--config-dir=/c d")}, "/c d", {QStringLiteral("/music")}},
        {{QStringLiteral("--config-dir")}, "", {}},  // no value: nothing is opened by mistake
        {{QStringLiteral("--config-directory"), QStringLiteral("/m")}, "",
         {QStringLiteral("--config-directory"), QStringLiteral("/m")}},
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
