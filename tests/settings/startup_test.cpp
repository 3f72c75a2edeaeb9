#include <sys/stat.h>

#include <gtest/gtest.h>

#include "settings/setting_keys.h"
#include "settings/startup_settings.h"
#include "settings/window_places.h"
#include "settings_test_support.h"

namespace kadrel {
namespace {

using test::RecordingMessageBox;
using test::StoreFixture;

const std::string kQuestion =
    "Kadrelをダウンロードして頂き、ありがとうございました.\nデスクトップにショートカットを作成しますか？";

struct StartFixture : StoreFixture {
  PlatformFolders platform;
  UpgradeEnvironment env;
  std::vector<int> helpCalls;

  StartFixture() {
    platform.config = dir.path();
    platform.index = dir.path() + "cache/index/";
    platform.temp = dir.path() + "run/kadrel/";
    platform.home = dir.path() + "home/";
    dir.MakeFolder("home");
    env.programPath = dir.path() + "bin/kadrel";
    env.desktopFolder = dir.MakeFolder("Desktop");
    env.applicationsFolder = dir.path() + "share/applications/";
    env.launcherId = "io.example.Kadrel";
    env.launcherIcon = "io.example.Kadrel";
    env.pathList = dir.path() + "bin";
    env.openHelp = [this](int context) { helpCalls.push_back(context); };
  }
  StartupSettings Start(RecordingMessageBox& box) { return RunStartupSettings(reg, box, platform, env, {1280, 1024}); }
};

TEST(Startup, FirstStartWritesTheWholeTree) {
  StartFixture f;
  const std::string player = f.dir.Write("bin/audacious", "#!/bin/sh\n");
  ::chmod(player.c_str(), 0755);
  RecordingMessageBox box({MessageAnswer::Yes});
  StartupSettings s = f.Start(box);

  EXPECT_TRUE(s.upgrade.freshInstallation);
  EXPECT_EQ(f.reg.RegReadInt("version", ""), 68);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, kQuestion);
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(f.helpCalls, std::vector<int>{19});
  EXPECT_TRUE(s.upgrade.launcherWritten);
  EXPECT_NE(test::ReadFileBytes(f.env.desktopFolder + "Kadrel.desktop").find("Exec=\"" + f.env.programPath + "\""),
            std::string::npos);
  // The application menu gets an entry with the icon, made even where no folder was.
  const std::string entry = test::ReadFileBytes(f.env.applicationsFolder + "io.example.Kadrel.desktop");
  EXPECT_NE(entry.find("Icon=io.example.Kadrel\n"), std::string::npos);
  EXPECT_NE(entry.find("Exec=\"" + f.env.programPath + "\" %F\n"), std::string::npos);

  // The slot is named after the program and plays only what the program plays.
  EXPECT_EQ(s.main.Players[0].DisplayName, "audacious");
  EXPECT_EQ(s.main.Players[0].ExePath, player);
  EXPECT_TRUE(s.main.Players[0].InUse);
  EXPECT_TRUE(s.main.Players[0].Recognised);
  EXPECT_TRUE(s.main.Players[0].Formats[kRowMP3] && s.main.Players[0].Formats[kRowWAV]);
  EXPECT_FALSE(s.main.Players[0].Formats[kRowMID]);
  EXPECT_FALSE(s.main.Players[1].InUse);
  EXPECT_EQ(s.window.SortItem, 1);
  ASSERT_EQ(s.smfk.Items.size(), 10u);
  EXPECT_EQ(f.reg.RegReadInt("Priority", "\\SMFK\\SC88Pro"), 110);

  // Values read with a default are now stored with it, each of its kind.
  const std::tuple<const char*, const char*, StoredValue> stored[] = {
      {"\\Main", "FTypeInfo", StoredValue::Int(0xFFFFE)},
      {"\\Folder", "Info", StoredValue::Int(7)},
      {"\\Player", "P2FTypeInfo", StoredValue::Int(0xFFFE)},
      {"\\Player", "TextViewType", StoredValue::Str("DOC,TXT,HED,WRD,UP,\xCE\xBF\xB8")},  // ﾎｿｸ
      {"\\Option", "SMFByte", StoredValue::Int(300)},
      {"\\Font", "FL_Color", StoredValue::Int(static_cast<int32_t>(0x80000008))},
      {"\\ListView", "FLW8", StoredValue::Int(350)},
      {"\\startup\\bar", "Place", StoredValue::Int(273)},
  };
  for (const auto& [key, name, value] : stored) EXPECT_EQ(f.store->Get(key, name), value) << key << " " << name;
  EXPECT_FALSE(f.store->Get("\\Folder", "JF1")) << "read without a default";
  EXPECT_EQ(s.window.View.FileListItems, (std::vector<int32_t>{1, 2, 5, 8, 3}));
  EXPECT_EQ(f.reg.RegReadInt("FLitem6", "\\ListView"), 0);

  for (auto folder : {"run/kadrel/", "run/kadrel/ListPlay/", "run/kadrel/OLE/", "cache/index/"})
    EXPECT_TRUE(IsFolder(f.dir.path() + folder)) << folder;
  EXPECT_EQ(s.main.Main.StartFolder, f.platform.home);

  RecordingMessageBox second;
  StartupSettings again = f.Start(second);
  EXPECT_TRUE(second.shown.empty());
  EXPECT_EQ(again.upgrade.previousVersion, 68);
  EXPECT_EQ(f.helpCalls.size(), 1u);
}

TEST(Startup, SecondStartRunsNoUpgradeStep) {
  StartFixture f;
  f.reg.RegWriteInt("version", 68, "");
  f.reg.RegWriteInt("SortItem", 7, "\\startup\\sort");
  RecordingMessageBox box;
  StartupSettings s = f.Start(box);
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(s.window.SortItem, 7);
  EXPECT_FALSE(f.store->Get("\\Player", "P1path").value_or(StoredValue::Str("")).text.size());
  EXPECT_TRUE(s.smfk.Items.empty());
}

class VersionUpgrade : public testing::TestWithParam<int> {};

TEST_P(VersionUpgrade, OlderThan62GetsSortAndModules) {
  StartFixture f;
  const int version = GetParam();
  f.reg.RegWriteInt("version", version, "");
  f.reg.RegWriteInt("SortItem", 7, "\\startup\\sort");
  f.reg.RegWriteInt("Priority", 1, "\\SMFK\\detail");
  RecordingMessageBox box;
  UpgradeResult r = UpgradeSettings(f.reg, box, f.env);
  EXPECT_EQ(r.previousVersion, version);
  EXPECT_FALSE(r.freshInstallation);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, kQuestion);
  const bool old = version < 62;
  EXPECT_EQ(f.reg.RegReadInt("SortItem", "\\startup\\sort"), old ? 1 : 7);
  EXPECT_EQ(f.store->KeyExists("\\SMFK\\detail"), !old);
  EXPECT_EQ(f.reg.RegSubKeys("\\SMFK").size(), old ? 10u : 1u);
  EXPECT_FALSE(f.store->Get("\\Player", "P1name"));
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionUpgrade, testing::Values(61, 62, 65, 67));

TEST(Startup, OldInstallationIsMigrated) {
  StartFixture f;
  f.Ints("\\Main", {{"Mes", 1}, {"FTypeInfo", 0x4001} /* excluded types, old style */, {"SMFByte", 450},
                     {"ReFindTime", 3}});
  f.Ints("\\Player", {{"Info10", 4}, {"Info0", 1}, {"Info3", 1}});
  f.reg.RegWriteInt("FolderMem", 1, "\\Folder");
  f.reg.RegWriteInt("x", 1, "\\detail\\sub");
  RecordingMessageBox box;
  UpgradeResult r = UpgradeSettings(f.reg, box, f.env);
  EXPECT_TRUE(r.oldInstallation);
  EXPECT_FALSE(f.store->Get("\\Player", "P1path")) << "not a fresh installation";
  EXPECT_EQ(f.reg.RegReadInt("Mes", "\\Main"), -1);
  EXPECT_EQ(f.reg.RegReadInt("FTypeInfo", "\\Main"), 16383 - 1);
  EXPECT_EQ(f.reg.RegReadInt("SMFByte", "\\Option"), 450);
  EXPECT_EQ(f.reg.RegReadInt("LZHByte", "\\Option"), 700);
  EXPECT_EQ(f.reg.RegReadInt("SMFByte", "\\Main"), -1);
  EXPECT_EQ(f.reg.RegReadInt("ReFindTime", "\\Main"), -1);
  EXPECT_EQ(f.reg.RegReadInt("PlayerDetailInfo", "\\Player"), 15 - 4);
  for (const char* gone : {"Info10", "Info0", "Info3"}) EXPECT_EQ(f.reg.RegReadInt(gone, "\\Player"), -1) << gone;
  EXPECT_EQ(f.reg.RegReadInt("FolderMem", "\\Folder"), -1);
  EXPECT_FALSE(f.store->KeyExists("\\detail"));
  EXPECT_EQ(f.reg.RegSubKeys("\\SMFK").size(), 10u);
}

struct FolderCase {
  const char* name;
  int32_t info;
  bool tmpChosen, indexChosen, startFromExit;
};

class WorkingFolderChoice : public testing::TestWithParam<FolderCase> {};

TEST_P(WorkingFolderChoice, InfoBitsPickTheFolders) {
  StartFixture f;
  const FolderCase& c = GetParam();
  auto folder = [&](const char* name) {
    std::string path = f.dir.MakeFolder(name);
    return path.substr(0, path.size() - 1);  // stored without the trailing "/"
  };
  const std::string mine = folder("mine"), last = folder("last"), start = folder("start");
  f.reg.RegWriteInt("Info", c.info, "\\Folder");
  f.reg.RegWriteStr("tmp", mine, "\\Folder");
  f.reg.RegWriteStr("Index", mine + "/", "\\Folder");
  f.reg.RegWriteStr("endfolder", last, "\\folder");
  f.reg.RegWriteStr("Start", start, "\\Folder");
  WorkingFolders w = ResolveWorkingFolders(f.reg, f.platform);
  EXPECT_EQ(w.temp, c.tmpChosen ? mine + "/Kadrel_tmp/" : f.platform.temp);
  EXPECT_EQ(w.index, c.indexChosen ? mine + "/" : f.platform.index);
  EXPECT_EQ(w.start, (c.startFromExit ? last : start) + "/");
}

INSTANTIATE_TEST_SUITE_P(Info, WorkingFolderChoice,
                         testing::Values(FolderCase{"all_own", 7, false, false, true},
                                         FolderCase{"chosen_tmp_and_index", 4, true, true, true},
                                         FolderCase{"chosen_start", 3, false, false, false},
                                         FolderCase{"chosen_index", 5, false, true, true}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST(Startup, MissingOrRelativeFoldersFallBack) {
  StartFixture f;
  f.reg.RegWriteInt("Info", 0, "\\Folder");
  f.reg.RegWriteStr("tmp", f.dir.path() + "gone", "\\Folder");
  f.reg.RegWriteStr("Index", "relative/index", "\\Folder");
  f.reg.RegWriteStr("Start", f.dir.path() + "gone", "\\Folder");
  WorkingFolders w = ResolveWorkingFolders(f.reg, f.platform);
  EXPECT_EQ(w.temp, f.platform.temp);
  EXPECT_EQ(w.index, f.platform.index);
  EXPECT_EQ(w.start, f.platform.home);
}

TEST(Startup, FolderCreationFailureIsReported) {
  StartFixture f;
  f.dir.Write("blocker", "a file where a folder should be");
  WorkingFolders w{f.platform.home, f.dir.path() + "blocker/tmp/", f.platform.index, false};
  RecordingMessageBox box;
  EXPECT_FALSE(CreateWorkingFolders(w, box));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(box.shown[0].text,
            "フォルダの作成に失敗しました.\nKadrelの動作が正常に行われない場合があります.\n"
            "これが毎回表示される場合は、サポート先にご一報下さい.");
}

TEST(MainSettings, JumpFoldersAreTrimmedAndClearedByDeletion) {
  StoreFixture f;
  f.reg.RegWriteStr("JF1", "  /music/midi \t", "\\Folder");
  f.reg.RegWriteStr("JF2", "", "\\Folder");
  MainSettings m;
  LoadMainSettings(f.reg, {}, m);
  EXPECT_EQ(m.JumpFolders[0], "/music/midi");
  EXPECT_EQ(m.JumpFolders[1], "");
  EXPECT_FALSE(f.store->Get("\\Folder", "JF2")) << "read as empty, deleted";

  m.JumpFolders[0].clear();
  m.JumpFolders[25] = "/z";
  SaveMainSettings(f.reg, {}, m, LoadFolderChoices(f.reg));
  EXPECT_FALSE(f.store->Get("\\Folder", "JF1"));
  EXPECT_EQ(f.reg.RegReadStr("JF26", "\\Folder"), "/z");
}

TEST(MainSettings, PlayerSlotsAndUnavailableConversions) {
  StoreFixture f;
  f.reg.RegWriteStr("P2path", "C:\\Tools\\WinAmp.exe", "\\Player");
  f.Ints("\\Player", {{"P2Info", 1 | 2 | 8}, {"P2FtypeInfo", 0x3}, {"P3Info", 1}});  // P3 has no path: not in use
  SupportLibraries libs;
  libs.rcpcv = true, libs.smfk = false;
  MainSettings m;
  LoadMainSettings(f.reg, libs, m);
  const TPlayer_data& p2 = m.Players[1];
  EXPECT_TRUE(p2.InUse && p2.Recognised && p2.RcpcvRcp);
  EXPECT_FALSE(p2.SmfKnife) << "the knife library is unavailable";
  EXPECT_TRUE(p2.Formats[0] && p2.Formats[1] && !p2.Formats[2]);
  EXPECT_FALSE(m.Players[2].InUse);

  SaveMainSettings(f.reg, libs, m, LoadFolderChoices(f.reg));
  EXPECT_EQ(f.reg.RegReadInt("P2Info", "\\Player"), 1 | 2 | 8) << "the knife bit survives a run without it";

  // The knife program stands in for the library once it is found.
  f.reg.RegWriteStr("ExePath", "/bin/true", "\\SMFK");
  LoadMainSettings(f.reg, libs, m);
  EXPECT_TRUE(m.Players[1].SmfKnife);
  m.Players[1].SmfKnife = false;
  SaveMainSettings(f.reg, libs, m, LoadFolderChoices(f.reg));
  EXPECT_EQ(f.reg.RegReadInt("P2Info", "\\Player"), 1 | 2) << "switched off while the program is there";
}

TEST(PlayerData, RecognisedProgramNames) {
  for (const char* p : {"/opt/wine/MIYAP95.EXE", "c:\\x\\j_winamp.exe", "Tmidi.Exe", "MoeWinamp.exe"})
    EXPECT_TRUE(IsRecognisedPlayer(p)) << p;
  // Linux players are known by their exact file name.
  for (const char* p : {"/usr/bin/timidity", "/usr/local/bin/vlc", "mpg123"}) EXPECT_TRUE(IsRecognisedPlayer(p)) << p;
  for (const char* p : {"", "/usr/bin/VLC", "/usr/bin/vlc.sh", "winamp.exe.bak", "MPLAYER3.EXE", "/x/WINAMP.EXE/"})
    EXPECT_FALSE(IsRecognisedPlayer(p)) << p;
}

TEST(ViewSettings, ColumnListsEndAtZeroOrAMissingEntry) {
  StoreFixture f;
  f.Ints("\\ListView", {{"FLitem1", 8}, {"FLitem2", 1}, {"FLitem3", 0}, {"FLitem4", 5}});
  EXPECT_EQ(LoadColumnList(f.reg, "FLitem", 12), (std::vector<int32_t>{8, 1}));

  f.Ints("\\ListView", {{"PLitem1", 2}, {"PLitem3", 9}});  // PLitem2 missing
  EXPECT_EQ(LoadColumnList(f.reg, "PLitem", 13), (std::vector<int32_t>{2}));

  // Ids the list has not, and repeats, are never handed on as columns.
  f.Ints("\\ListView", {{"FLitem1", 99}, {"FLitem2", 8}, {"FLitem3", 8}, {"FLitem4", -7}, {"FLitem5", 0}});
  EXPECT_EQ(LoadColumnList(f.reg, "FLitem", 12), (std::vector<int32_t>{8}));
}

TEST(ViewSettings, FontStyleRules) {
  StoreFixture f;
  f.Ints("\\Font", {{"FL_Bold", 0}, {"FL_Italic", 1}, {"PL_Italic", 7}});
  ViewSettings v = LoadViewSettings(f.reg);
  EXPECT_TRUE(v.Fonts[1].Bold);
  EXPECT_FALSE(v.Fonts[1].Italic);
  EXPECT_FALSE(v.Fonts[2].Italic) << "any value but 0 is upright";
  EXPECT_EQ(v.Fonts[0].Points, 9);
  EXPECT_EQ(v.Fonts[1].Points, 11);

  struct Case {
    bool bold, italic, underline, strike;
    std::pair<int32_t, int32_t> stored;
  };
  for (const Case& c : {Case{true, false, false, false, {0, 1}}, Case{false, true, false, false, {1, 0}},
                        Case{true, true, false, false, {0, 0}}, Case{false, false, false, false, {1, 1}},
                        Case{true, false, true, false, {1, 1}}, Case{true, true, false, true, {1, 1}}}) {
    FontSetting font;
    std::tie(font.Bold, font.Italic, font.Underline, font.StrikeOut) = std::tie(c.bold, c.italic, c.underline, c.strike);
    EXPECT_EQ(EncodeFontStyle(font), c.stored);
  }
}

TEST(WindowState, SavedGeometryOrScreenSize) {
  StoreFixture f;
  f.Ints("\\startup\\window", {{"Main_W", 800}, {"WinFlg_Main", 1}});
  f.reg.RegWriteInt("Place", 0x100 | 0x80 | 0x40 | 0x1, "\\startup\\bar");
  f.reg.RegWriteInt("save", 1, "\\startup\\show");
  f.reg.RegWriteInt("forcewinstate", 4, "\\option");
  WindowRestore w = RestoreWindowState(f.reg, {1280, 1024});
  EXPECT_TRUE(w.GeometryFromStore) << "missing savewinstate counts as every bit";
  EXPECT_EQ(w.Main.Width, 800);
  EXPECT_EQ(w.Main.Height, 440);
  EXPECT_TRUE(w.Maximised);
  EXPECT_TRUE(w.ShowFolderPane);
  EXPECT_FALSE(w.ShowStatusBar);
  EXPECT_TRUE(w.ShowToolBars) << "forced";
  EXPECT_EQ(w.Bars[0].dock, Dock::Top);
  EXPECT_EQ(w.Bars[1].dock, Dock::Right) << "the last set dock wins";
  EXPECT_EQ(w.Bars[2].dock, Dock::Top);
  EXPECT_EQ(w.Bars[2].DockPos, 284);

  f.reg.RegWriteInt("savewinstate", 3, "\\Option");
  w = RestoreWindowState(f.reg, {1280, 1024});
  EXPECT_FALSE(w.GeometryFromStore);
  EXPECT_FALSE(w.PlaceBars);
  EXPECT_EQ(w.Main.Width, 1280 * 924 / 1024);
  EXPECT_EQ(w.Main.Height, 1024 * 668 / 768);
  EXPECT_EQ(w.Main.Left, 1280 * 50 / 1024);
  EXPECT_EQ(w.Main.Top, 1024 * 50 / 768);
}

TEST(ExitState, SavedAndRestored) {
  StoreFixture f;
  StartupState s;
  s.FileListWidths = {{8, 420}};
  s.CurrentFolder = "/music/";
  s.SortItem = 8;
  s.SortType = 1;
  s.StatusBarShown = false;
  std::tie(s.Bars[0].dock, s.Bars[1].dock, s.Bars[2].dock) = std::tuple(Dock::Top, Dock::Left, Dock::None);
  s.HasMainRect = true;
  s.MainRect = {500, 700, 20, 30};
  RecordingMessageBox box;
  EXPECT_TRUE(SaveStartupState(f.reg, s, box));
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(f.reg.RegReadInt("FLW8", "\\ListView"), 420);
  EXPECT_EQ(f.reg.RegReadStr("EndFolder", "\\Folder"), "/music/");
  EXPECT_EQ(f.reg.RegReadInt("Place", "\\startup\\bar"), 0x1 | 0x40);
  EXPECT_EQ(f.reg.RegReadInt("Save", "\\startup\\show"), 1 | 4);
  WindowRestore w = RestoreWindowState(f.reg, {});
  EXPECT_EQ(w.SortItem, 8);
  EXPECT_EQ(w.Main.Height, 500);
  EXPECT_EQ(w.Main.Left, 30);
  EXPECT_EQ(w.Bars[1].dock, Dock::Left);
}

TEST(ExitState, StorageFailureWarns) {
  StoreFixture f;
  auto readOnly = SettingsStore::Open(f.dir.path() + "settings.db", nullptr, {.readOnly = true});
  RegTreat reg(*readOnly);
  RecordingMessageBox box;
  EXPECT_FALSE(SaveStartupState(reg, StartupState{}, box));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(box.shown[0].text,
            "レジストリへの情報の保存に失敗しました.\n現在のKadrelの状況が次回起動時に反映されないことがあります.");
}

TEST(ExitState, DeleteEmptiesTheTree) {
  StoreFixture f;
  f.reg.RegWriteInt("version", 68, "");
  f.reg.RegWriteInt("Priority", 1, "\\SMFK\\GS");
  RecordingMessageBox ask({MessageAnswer::Ok});
  EXPECT_TRUE(ConfirmDeleteSettings(ask));
  EXPECT_EQ(ask.shown[0].text,
            "レジストリを削除後、Kadrelを終了します.\nPlayerの設定など、全ての設定が削除されますが\nよろしいですか？");
  EXPECT_TRUE(DeleteAllSettings(f.reg));
  auto all = f.store->Snapshot();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_TRUE(all[0].values.empty());
}

}  // namespace
}  // namespace kadrel

namespace kadrel {
namespace {

// The title editor's grid and the detail window's placement come back as saved; damaged
// sizes keep their defaults instead of making a window too small to find.
TEST(WindowPlaces, SavedSizesComeBackAndDamagedOnesKeepDefaults) {
  test::StoreFixture f;
  TitleGridSettings grid;
  grid.height = 500;
  grid.columns[6] = 33;
  WriteTitleGridSettings(f.reg, grid);
  EXPECT_EQ(ReadTitleGridSettings(f.reg).height, 500);
  EXPECT_EQ(ReadTitleGridSettings(f.reg).columns[6], 33);

  f.Ints(std::string(keys::kGrid), {{"IEdit_W", 0}, {"IEdit_H", -20}, {"IEdit_3", 900000}});
  const TitleGridSettings damaged = ReadTitleGridSettings(f.reg);
  EXPECT_EQ(damaged.width, TitleGridSettings{}.width);
  EXPECT_EQ(damaged.height, TitleGridSettings{}.height);
  EXPECT_EQ(damaged.columns[3], TitleGridSettings{}.columns[3]);

  WriteDetailPlacement(f.reg, {300, 400, 20, 30});
  EXPECT_EQ(f.reg.ReadInt("Detail_W", keys::kStartupWindow), 400);
  EXPECT_EQ(f.reg.ReadInt("Detail_L", keys::kStartupWindow), 30);
}

}  // namespace
}  // namespace kadrel
