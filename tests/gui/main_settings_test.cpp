// "基本設定": enable rules, the choosers (answered by the test), the sound-module page,
// the player details, checking and saving on OK, the store that cannot be written, and
// the refusal during ListPlay.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

#include "base/encoding.h"
#include "screenshots.h"
#include "test_support.h"
#include "ui/main_settings_dialog.h"
#include "ui/player_detail_dialog.h"

namespace kadrel::test {
namespace {

// Answers the folder and file dialogs from a queue (an empty queue is Cancel) and
// records each question.
struct FakeChoosers {
  struct Asked {
    QString title;
    std::string start;
    QStringList filters;
  };
  std::vector<std::optional<std::string>> answers;
  std::vector<Asked> asked;

  MainChoosers Make() {
    MainChoosers c;
    c.folder = [this](const QString& title, const std::string& start, QWidget*) { return Next({title, start, {}}); };
    c.file = [this](const QString& title, const QStringList& filters, const std::string& start, QWidget*) {
      return Next({title, start, filters});
    };
    return c;
  }
  std::optional<std::string> Next(Asked a) {
    asked.push_back(std::move(a));
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

MainSettingsValues Defaults() {
  MainSettingsValues v;
  v.main.Smfk.Items = DefaultSoundModules();
  v.main.Smfk.ExePath = "W95SMFK.EXE";
  return v;
}

struct DialogFixture {
  explicit DialogFixture(MainSettingsValues values = Defaults(), SupportLibraries libs = {})
      : dialog(std::move(values), libs,
               [this](const MainSettingsValues& v) {
                 saved.push_back(v);
                 return saveWorks;
               },
               box, choosers.Make(), Bytes(dir.path()) + "program/") {
    dialog.show();
  }
  QTemporaryDir dir;
  RecordingMessageBox box;
  FakeChoosers choosers;
  std::vector<MainSettingsValues> saved;
  bool saveWorks = true;
  TSet_MainForm dialog;
};

std::string MakeFile(const QTemporaryDir& dir, const QString& name) {
  QDir().mkpath(QFileInfo(dir.filePath(name)).path());
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly)) qWarning("cannot make %s", qPrintable(name));
  return Bytes(dir.path()).append(name.toStdString());
}

}  // namespace

class MainSettingsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsFollowTheirChoices() {
    DialogFixture f;
    TSet_MainForm& d = f.dialog;
    // A folder box and its button only while "指定するフォルダ" is chosen.
    QVERIFY(!Find<QLineEdit>(d, "TempFolder_Path")->isEnabled());
    Find<QRadioButton>(d, "TempFolder_Chosen")->setChecked(true);
    QVERIFY(Find<QLineEdit>(d, "TempFolder_Path")->isEnabled());
    QVERIFY(Find<QPushButton>(d, "TempFolder_Browse")->isEnabled());
    // Archives: the title choices and the group "圧縮ファイルの扱い" follow the box.
    auto* lzh = Find<QCheckBox>(d, "LzhSearch");
    QVERIFY(lzh->isChecked());
    lzh->setChecked(false);
    QVERIFY(!Find<QRadioButton>(d, "LzhAllTitles")->isEnabled());
    QVERIFY(Find<QGroupBox>(d, "LzhMelt")->isHidden());
    lzh->setChecked(true);
    QVERIFY(!Find<QGroupBox>(d, "LzhMelt")->isHidden());
    Find<QCheckBox>(d, "ShowWhileScanning")->setChecked(false);
    QVERIFY(!Find<QRadioButton>(d, "ScanSortEnd")->isEnabled());
    QVERIFY(!Find<QCheckBox>(d, "MgsMusicInVisible")->isEnabled());
    Find<QCheckBox>(d, "FType_MGS")->setChecked(true);
    QVERIFY(Find<QCheckBox>(d, "MgsMusicInVisible")->isEnabled());
    // Index: removable drives not saved clears and disables both places; they exclude each other.
    auto* perFolder = Find<QCheckBox>(d, "RemovablePerFolder");
    auto* inRoot = Find<QCheckBox>(d, "RemovableInRoot");
    QVERIFY(inRoot->isChecked());
    perFolder->setChecked(true);
    QVERIFY(!inRoot->isChecked());
    Find<QCheckBox>(d, "NoRemovableIndex")->setChecked(true);
    QVERIFY(!perFolder->isChecked() && !perFolder->isEnabled() && !inRoot->isEnabled());
    Find<QCheckBox>(d, "UseIndex")->setChecked(false);
    QVERIFY(!Find<QCheckBox>(d, "SkipPlainFolders")->isEnabled());
    QCOMPARE(d.Values().main.Main.IndexMode, 0);
    // Text viewer only with "指定したビュアーで開く".
    QVERIFY(!Find<QLineEdit>(d, "TextViewer")->isEnabled());
    Find<QRadioButton>(d, "TextOpenViewer")->setChecked(true);
    QVERIFY(Find<QPushButton>(d, "TextViewerBrowse")->isEnabled());
    // The knife: no library here; the program box only with the program; modules hidden when unused.
    QVERIFY(!Find<QRadioButton>(d, "SMFK_UseDll")->isEnabled());
    QVERIFY(!Find<QLineEdit>(d, "SMFK_ExePath")->isEnabled());
    Find<QRadioButton>(d, "SMFK_UseExe")->setChecked(true);
    QVERIFY(Find<QLineEdit>(d, "SMFK_ExePath")->isEnabled());
    QVERIFY(!Find<QGroupBox>(d, "SMFK_Modules")->isHidden());
    Find<QRadioButton>(d, "SMFK_UseNone")->setChecked(true);
    QVERIFY(Find<QGroupBox>(d, "SMFK_Modules")->isHidden());
    QCOMPARE(d.Values().main.Smfk.Use, 0);
  }

  void withoutTheArchiveReaderBothArchiveGroupsAreHidden() {
    SupportLibraries libs;
    libs.lzh = false;
    DialogFixture f(Defaults(), libs);
    auto* lzh = Find<QCheckBox>(f.dialog, "LzhSearch");
    QVERIFY(!lzh->isChecked() && !lzh->isEnabled());
    QVERIFY(Find<QGroupBox>(f.dialog, "LzhTitles")->isHidden());
    QVERIFY(Find<QGroupBox>(f.dialog, "LzhMelt")->isHidden());
    QCOMPARE(f.dialog.Values().main.Main.LzhStyle, 0);
  }

  void aSlotCanBeOnOnlyWithItsProgramAndListPlayPlayersShowBlue() {
    QTemporaryDir dir;
    const std::string timidity = MakeFile(dir, QStringLiteral("bin/timidity"));
    const std::string other = MakeFile(dir, QStringLiteral("bin/myplayer"));
    MainSettingsValues v = Defaults();
    v.main.Players[0] = {true, false, timidity, "TiMidity", {}, false, false, false};
    v.main.Players[1] = {true, false, Bytes(dir.path()) + "gone/vlc", "vlc", {}, false, false, false};
    v.main.Players[2] = {false, false, other, "mine", {}, false, false, false};
    DialogFixture f(v);
    TSet_MainForm& d = f.dialog;
    auto* use1 = Find<QCheckBox>(d, "PlayerUse1");
    QVERIFY(use1->isChecked() && use1->isEnabled() && use1->font().underline());
    auto* use2 = Find<QCheckBox>(d, "PlayerUse2");
    QVERIFY(!use2->isChecked() && !use2->isEnabled());
    QVERIFY(!Find<QPushButton>(d, "PlayerDetail2")->isEnabled());
    QVERIFY(!d.Values().main.Players[1].InUse);
    auto* use3 = Find<QCheckBox>(d, "PlayerUse3");
    QVERIFY(!use3->isChecked() && use3->isEnabled() && !use3->font().underline());  // stored off stays off
    // Typing a path that names a program switches the slot on.
    Find<QLineEdit>(d, "PlayerPath2")->setText(QString::fromStdString(other));
    QVERIFY(use2->isChecked() && use2->isEnabled() && !use2->font().underline());
    Find<QLineEdit>(d, "PlayerPath1")->clear();
    QVERIFY(!use1->isChecked() && !use1->font().underline());
    QVERIFY(!d.Values().main.Players[0].InUse);
  }

  void choosersFillTheirBoxesAndCancelChangesNothing() {
    DialogFixture f;
    TSet_MainForm& d = f.dialog;
    auto* path = Find<QLineEdit>(d, "PlayerPath2");
    auto* name = Find<QLineEdit>(d, "PlayerName2");
    name->setText(U8("旧名"));
    Find<QPushButton>(d, "PlayerBrowse2")->click();  // cancelled
    QCOMPARE(path->text(), QString());
    QCOMPARE(name->text(), U8("旧名"));
    QCOMPARE(f.choosers.asked.back().title, U8("Player2 の選択"));
    QCOMPARE(f.choosers.asked.back().start, Bytes(f.dir.path()) + "program/");  // no folder in the box

    f.choosers.answers = {std::string("/usr/local/bin/smplayer.bin")};
    Find<QPushButton>(d, "PlayerBrowse2")->click();
    QCOMPARE(path->text(), QStringLiteral("/usr/local/bin/smplayer.bin"));
    QCOMPARE(name->text(), QStringLiteral("smplayer"));

    // A folder chooser starts in the folder the box names when it exists.
    Find<QRadioButton>(d, "IndexFolder_Chosen")->setChecked(true);
    Find<QLineEdit>(d, "IndexFolder_Path")->setText(f.dir.path());
    f.choosers.answers = {Bytes(f.dir.path()) + "index/"};
    Find<QPushButton>(d, "IndexFolder_Browse")->click();
    QCOMPARE(f.choosers.asked.back().title, U8("インデックスフォルダを選択してください."));
    QCOMPARE(f.choosers.asked.back().start, Bytes(f.dir.path()));
    QCOMPARE(d.Values().folders.Index, Bytes(f.dir.path()) + "index/");
    QCOMPARE(d.Values().folders.Info & 2, 0);
    Find<QPushButton>(d, "IndexFolder_Browse")->click();  // cancelled
    QCOMPARE(d.Values().folders.Index, Bytes(f.dir.path()) + "index/");

    // The module's CFG file starts in "CFGの場所"; the default texts come back.
    Find<QLineEdit>(d, "SMFK_CfgDir")->setText(f.dir.path());
    f.choosers.answers = {std::string("/cfg/gs.cfg")};
    Find<QPushButton>(d, "SMFK_CfgBrowse")->click();
    QCOMPARE(f.choosers.asked.back().title, U8("SMFナイフのCFGファイルの選択"));
    QCOMPARE(f.choosers.asked.back().filters.first(), U8("CFGファイル(*.cfg *.CFG)"));
    QCOMPARE(f.choosers.asked.back().start, Bytes(f.dir.path()));
    QCOMPARE(d.Values().main.Smfk.Items[0].Cfg, std::string("/cfg/gs.cfg"));
    Find<QLineEdit>(d, "InfoGetTypeEdit")->clear();
    Find<QPushButton>(d, "InfoGetTypeDefault")->click();
    QCOMPARE(d.Values().main.Main.InfoGetType, Cp932("ﾎｿｸ,UP,HED,DOC,TXT"));
    Find<QPushButton>(d, "TextViewTypeDefault")->click();
    QCOMPARE(d.Values().main.Main.TextViewType, Cp932("DOC,TXT,HED,WRD,UP,ﾎｿｸ"));
  }

  void theJumpGridPicksByEnterMovesByLetterAndClears() {
    MainSettingsValues v = Defaults();
    v.main.JumpFolders[2] = "/old/c/";
    DialogFixture f(v);
    auto* grid = Find<QTableWidget>(f.dialog, "JF_Grid");
    f.dialog.ShowPage(TSet_MainForm::JumpFolders);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_D);
    QCOMPARE(grid->currentRow(), 3);
    f.choosers.answers = {std::string("/music/d/")};
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(f.choosers.asked.back().title, U8("ジャンプフォルダを選択してください."));
    QVERIFY(f.dialog.isVisible());  // Enter on the grid is not OK
    f.choosers.answers = {std::string(".")};  // the dialog's "nothing chosen"
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_C);
    QTest::keyClick(grid, Qt::Key_Delete);
    const auto jump = f.dialog.Values().main.JumpFolders;
    QCOMPARE(jump[3], std::string("/music/d/"));
    QCOMPARE(jump[2], std::string());
  }

  void renamingRefusesNamesThatExistInAnyLetterCase() {
    DialogFixture f;
    SoundModulePage& page = f.dialog.Modules();
    f.dialog.ShowPage(TSet_MainForm::SmfKnife);
    page.SelectModule(1);  // "GS"
    auto* name = Find<QLineEdit>(f.dialog, "SMFK_Name");
    for (const char* taken : {"GS", "gs", "xg", "default"}) {
      name->setText(U8(taken));
      page.RenameModule();
      QCOMPARE(QString::fromStdString(f.box.texts.back()), U8(taken) + U8(" が既に存在します.\n名前の変更に失敗しました."));
    }
    QCOMPARE(page.Tabs().tabText(1), QStringLiteral("GS"));
    // Enter in the name box renames and leaves the dialog open.
    name->setFocus();
    name->setText(QStringLiteral("GS-1"));
    QTest::keyClick(name, Qt::Key_Return);
    QVERIFY(f.dialog.isVisible());
    QCOMPARE(page.Tabs().tabText(1), QStringLiteral("GS-1"));
    QVERIFY(f.saved.empty());
  }

  void addDeleteAddGivesEqualNamesWhichOkRefusesByName() {
    DialogFixture f;
    SoundModulePage& page = f.dialog.Modules();
    QCOMPARE(page.Tabs().count(), 10);
    page.AddModule();
    QCOMPARE(page.Tabs().tabText(10), U8("新規ｱｲﾃﾑ10"));
    QCOMPARE(Find<QSpinBox>(f.dialog, "SMFK_Priority")->value(), 50);
    page.SelectModule(2);
    page.DeleteModule();  // answered OK: not "No"
    QCOMPARE(QString::fromStdString(f.box.texts.back()), U8("[XG] を削除します.\nよろしいですか？"));
    QCOMPARE(page.Tabs().currentIndex(), 1);
    page.AddModule();
    QCOMPARE(page.Tabs().tabText(9), U8("新規ｱｲﾃﾑ10"));
    QCOMPARE(page.Tabs().tabText(10), U8("新規ｱｲﾃﾑ10"));
    auto* name = Find<QLineEdit>(f.dialog, "SMFK_Name");
    name->setText(U8("新規ｱｲﾃﾑ10"));
    page.RenameModule();
    QVERIFY(QString::fromStdString(f.box.texts.back()).contains(U8("が既に存在します.")));

    // OK names the two equal modules, an empty name and one with "\", and keeps the dialog.
    page.SelectModule(3);
    name->setText(QString());
    page.RenameModule();
    page.SelectModule(4);
    name->setText(QStringLiteral("MU\\80"));
    page.RenameModule();
    f.dialog.accept();
    QVERIFY(f.saved.empty());
    QVERIFY(f.dialog.isVisible());
    const QString problem = QString::fromStdString(f.box.texts.back());
    QVERIFY(problem.contains(U8("[新規ｱｲﾃﾑ10], [新規ｱｲﾃﾑ10]")));
    QVERIFY(problem.contains(U8("[MU\\80]")));
    QVERIFY(problem.contains(U8("名前の無い音源 : 1")));

    // Renaming one of the pair to a third name mends it.
    page.SelectModule(10);
    name->setText(QStringLiteral("SC8850"));
    page.RenameModule();
    page.SelectModule(3);
    name->setText(QStringLiteral("MU80"));
    page.RenameModule();
    page.SelectModule(4);
    name->setText(QStringLiteral("MU90"));
    page.RenameModule();
    f.dialog.accept();
    QCOMPARE(f.saved.size(), std::size_t{1});
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.saved[0].main.Smfk.Items.back().Name, std::string("SC8850"));
  }

  void theDefaultModuleKeepsItsKeywordsAndAnswerNoKeepsAModule() {
    MainSettingsValues v = Defaults();
    v.main.Smfk.Items[1].Priority = 900;  // damaged
    DialogFixture f(v);
    SoundModulePage& page = f.dialog.Modules();
    for (const char* locked : {"SMFK_Name", "SMFK_FindStr", "SMFK_FindStr2"})
      QVERIFY(!Find<QLineEdit>(f.dialog, locked)->isEnabled());
    QVERIFY(!Find<QSpinBox>(f.dialog, "SMFK_Priority")->isEnabled());
    QVERIFY(!Find<QPushButton>(f.dialog, "SMFK_Delete")->isEnabled());
    QVERIFY(Find<QLineEdit>(f.dialog, "SMFK_Cfg")->isEnabled());
    Find<QLineEdit>(f.dialog, "SMFK_Cfg")->setText(QStringLiteral("/cfg/default.cfg"));
    page.SelectModule(1);
    QCOMPARE(Find<QSpinBox>(f.dialog, "SMFK_Priority")->value(), 300);
    Find<QLineEdit>(f.dialog, "SMFK_FindStr")->setText(QStringLiteral("GS,GM2"));
    f.box.answer = MessageAnswer::No;
    page.DeleteModule();
    QCOMPARE(page.Tabs().count(), 10);
    const TSmfkInfo smfk = page.Values();
    QCOMPARE(smfk.Items[0].Cfg, std::string("/cfg/default.cfg"));
    QCOMPARE(smfk.Items[1].FindStr, std::string("GS,GM2"));
    QCOMPARE(smfk.Items[1].Priority, 300);
  }

  void playerDetailsGroupFormatsAndShowTheProgramsOptions() {
    MainSettingsValues v = Defaults();
    TPlayer_data& slot = v.main.Players[0];
    slot.ExePath = "/opt/win/WFP.EXE";
    slot.DisplayName = "WFP";
    slot.Formats.fill(false);
    slot.Formats[kRowMPL] = true;
    v.main.PlayerDetailInfo = 0;
    DialogFixture f(v);
    f.dialog.detailOpened = [](QDialog& detail) {
      auto& d = static_cast<TSet_PDetailForm&>(detail);
      QCOMPARE(d.windowTitle(), U8("Player1 [WFP] の詳細設定"));
      QCOMPARE(d.ShownGroup(), PlayerOptionGroup::Wfp);
      QVERIFY(!d.findChild<QCheckBox*>(QStringLiteral("PSET_Miyap_0")));
      d.findChild<QCheckBox*>(QStringLiteral("PSET_WFP_3"))->setChecked(true);
      d.findChild<QCheckBox*>(QStringLiteral("PSET_SMF"))->setChecked(true);
      d.findChild<QCheckBox*>(QStringLiteral("PSET_WAV"))->setChecked(true);
      auto* g = d.findChild<QCheckBox*>(QStringLiteral("PSET_G"));
      d.findChild<QCheckBox*>(QStringLiteral("PSET_RCPCV2"))->setChecked(true);
      QVERIFY(g->isChecked() && !g->isEnabled());
      QVERIFY(!d.findChild<QCheckBox*>(QStringLiteral("PSET_SMFknife"))->isEnabled());
      d.accept();
    };
    f.dialog.OpenPlayerDetail(1);
    const MainSettingsValues out = f.dialog.Values();
    const TPlayer_data& s = out.main.Players[0];
    for (int row : {kRowMID, kRowSTD, kRowMFF, kRowG18, kRowG36, kRowWAV, kRowAIF, kRowMPL}) QVERIFY(s.Formats[row]);
    for (int row : {kRowMGS, kRowRCP, kRowMP3, kRowVQF}) QVERIFY(!s.Formats[row]);
    QVERIFY(s.RcpcvG && !s.RcpcvRcp);
    QCOMPARE(out.main.PlayerDetailInfo, 8);

    // Cancel keeps everything; a Linux player has no option group.
    Find<QLineEdit>(f.dialog, "PlayerPath1")->setText(QStringLiteral("/usr/bin/vlc"));
    f.dialog.detailOpened = [](QDialog& detail) {
      QCOMPARE(static_cast<TSet_PDetailForm&>(detail).ShownGroup(), PlayerOptionGroup::None);
      detail.findChild<QCheckBox*>(QStringLiteral("PSET_MGS"))->setChecked(true);
      detail.reject();
    };
    f.dialog.OpenPlayerDetail(1);
    QVERIFY(!f.dialog.Values().main.Players[0].Formats[kRowMGS]);
  }

  void aFailedSaveIsReportedAndNewFoldersCountFromTheNextStart() {
    DialogFixture f;
    f.saveWorks = false;
    f.dialog.accept();
    QCOMPARE(f.saved.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(f.box.texts.back()).contains(U8("保存に失敗")));
    QVERIFY(f.dialog.isVisible());
    f.saveWorks = true;
    Find<QRadioButton>(f.dialog, "TempFolder_Chosen")->setChecked(true);
    Find<QLineEdit>(f.dialog, "TempFolder_Path")->setText(QStringLiteral("/srv/tmp"));
    f.dialog.accept();
    QVERIFY(!f.dialog.isVisible());
    QVERIFY(QString::fromStdString(f.box.texts.back()).contains(U8("次回の起動時から有効")));
  }

  void okSavesTheStoreAndTheWindowFollowsAtOnce() {
    WindowFixture f;
    MainWindow& w = f.OpenOnStore();
    FakeChoosers choosers;
    w.settingsChoosers = choosers.Make();
    f.messages.texts.clear();
    QVERIFY(w.Actions().mainSettings->isEnabled());
    QVERIFY(!w.Actions().jumpMenu->isEnabled());

    w.Actions().mainSettings->trigger();
    auto* dialog = w.findChild<TSet_MainForm*>();
    QVERIFY(dialog);
    dialog->findChild<QTableWidget*>(QStringLiteral("JF_Grid"))->item(1, 1)->setText(f.folder);
    dialog->findChild<QLineEdit*>(QStringLiteral("PlayerName1"))->setText(U8("再生機"));
    dialog->findChild<QCheckBox*>(QStringLiteral("FType_MGS"))->setChecked(true);
    dialog->Modules().AddModule();
    dialog->accept();
    QVERIFY(f.messages.texts.empty());

    MainSettings stored;
    LoadMainSettings(f.session->Reg(), DetectSupportLibraries(), stored);
    QCOMPARE(stored.JumpFolders[1], QFile::encodeName(f.folder).toStdString());
    QCOMPARE(stored.Players[0].DisplayName, Cp932("再生機"));
    QVERIFY(stored.Main.Formats.Enabled(kRowMGS));
    QCOMPARE(stored.Smfk.Items.size(), std::size_t{11});
    QVERIFY(w.Actions().jumpMenu->isEnabled());
    QVERIFY(w.Actions().playSlot[0]->text().contains(U8(") : 再生機")));
    QVERIFY(w.Scan().Settings().main.Formats.Enabled(kRowMGS));

    // During ListPlay the dialog does not open.
    w.listPlayRunning = [] { return true; };
    w.Actions().mainSettings->trigger();
    QTRY_VERIFY(!w.findChild<TSet_MainForm*>());
    QCOMPARE(QString::fromStdString(f.messages.texts.back()),
             U8("現在ListPlay中です.\nListPlayを終了させてから作業を行ってください."));
  }

  void scanValuesChangedDuringAPassTakeEffectAfterIt() {
    WindowFixture f(400);
    MainWindow& w = f.MakeFromStore(f.root.filePath(QStringLiteral("config")));
    f.Open(false);
    if (!w.Scan().ScanRunning()) QSKIP("the pass ended before the settings changed");
    MainSettings main;
    LoadMainSettings(f.session->Reg(), DetectSupportLibraries(), main);
    main.Main.Formats = FormatFilter(main.Main.Formats.Mask() | 1u);
    main.JumpFolders[0] = "/music/";
    w.ApplyMainSettings(main);
    QVERIFY(w.Actions().jumpMenu->isEnabled());  // the menus follow at once
    QVERIFY(!w.Scan().Settings().main.Formats.Enabled(kRowMGS));
    QVERIFY(f.NextPass());
    QVERIFY(w.Scan().Settings().main.Formats.Enabled(kRowMGS));
  }

  void aStoreThatCannotBeWrittenKeepsTheDialogOpenAndTheWindowAsItWas() {
    WindowFixture f;
    MainWindow& w = f.OpenOnStore(true);
    f.messages.texts.clear();
    w.Hooks().dialogs[Dialog::MainSettings](CommandList::FileList);
    auto* dialog = w.findChild<TSet_MainForm*>();
    QVERIFY(dialog);
    dialog->findChild<QTableWidget*>(QStringLiteral("JF_Grid"))->item(0, 1)->setText(f.folder);
    dialog->accept();
    QCOMPARE(f.messages.texts.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(f.messages.texts[0]).contains(U8("保存に失敗")));
    QVERIFY(dialog->isVisible());
    QVERIFY(!w.Actions().jumpMenu->isEnabled());
    dialog->reject();
  }

  void pictures() {
    QTemporaryDir dir;
    MainSettingsValues v = Defaults();
    v.main.Players[0] = {true, false, MakeFile(dir, QStringLiteral("timidity")), "timidity", {}, false, false, false};
    v.main.Players[1] = {true, false, MakeFile(dir, QStringLiteral("MPLAYER2.EXE")), "MediaPlayer", {}, false, false, false};
    v.main.Players[2] = {true, false, MakeFile(dir, QStringLiteral("myplayer")), "myplayer", {}, false, false, false};
    v.main.JumpFolders[0] = "/home/user/music/";
    v.main.JumpFolders[12] = "/usr/share/sounds/";
    v.main.Smfk.Use = 2;
    DialogFixture f(v);
    const char* names[] = {"players", "folders", "jump-folders", "file-types", "file-search",
                           "info-search", "index", "smf-knife", "programs"};
    for (int page = 0; page < 9; ++page) {
      f.dialog.ShowPage(static_cast<TSet_MainForm::Page>(page));
      SaveShot(f.dialog, QStringLiteral("main-settings-") + QLatin1String(names[page]));
    }
    TPlayer_data wfp;
    wfp.Formats.fill(true);
    TSet_PDetailForm detail(4, wfp, 15, "/opt/win/WFP.EXE", "WFP", true, false);
    detail.show();
    SaveShot(detail, QStringLiteral("player-detail"));
  }
};

QObject* NewMainSettingsTest() { return new MainSettingsTest; }

}  // namespace kadrel::test

#include "main_settings_test.moc"
