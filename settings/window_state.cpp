// "\startup": what the window restores at start and saves at exit; deleting all
// settings; the whole start-up pass.

#include "settings/setting_keys.h"
#include "settings/startup_settings.h"

namespace kadrel {

namespace {

using namespace keys;

constexpr const char* kBarPrefixes[kToolBars] = {"MainB", "PB", "LPB"};

std::string BarName(int bar, const char* what) { return std::string(kBarPrefixes[bar]) + "_" + what; }

WindowRect ReadRect(RegTreat& reg, const std::string& prefix) {
  WindowRect r;
  r.Height = reg.ReadInt(prefix + "_H", kStartupWindow);
  r.Width = reg.ReadInt(prefix + "_W", kStartupWindow);
  r.Top = reg.ReadInt(prefix + "_T", kStartupWindow);
  r.Left = reg.ReadInt(prefix + "_L", kStartupWindow);
  return r;
}

WindowRect ScreenRect(ScreenSize s) {
  WindowRect r;
  r.Width = static_cast<int32_t>(int64_t{s.width} * 924 / 1024);
  r.Height = static_cast<int32_t>(int64_t{s.height} * 668 / 768);
  r.Left = static_cast<int32_t>(int64_t{s.width} * 50 / 1024);
  r.Top = static_cast<int32_t>(int64_t{s.height} * 50 / 768);
  return r;
}

}  // namespace

WindowRestore RestoreWindowState(RegTreat& reg, ScreenSize screen) {
  WindowRestore w;
  w.View = LoadViewSettings(reg);
  w.SortItem = reg.ReadInt("SortItem", kStartupSort);
  w.SortType = reg.ReadInt("SortType", kStartupSort);

  const int32_t saveState = w.View.SaveWinState;  // -1 when missing: every bit set
  w.GeometryFromStore = saveState & 8;
  if (w.GeometryFromStore) {
    w.Main = ReadRect(reg, "Main");
    w.Detail = ReadRect(reg, "Detail");
    w.FolderWidth = reg.ReadInt("Folder_W", kStartupWindow);
    w.PlayListHeight = reg.ReadInt("PLSplt_H", kStartupWindow);
    w.Maximised = reg.ReadInt("WinFlg_Main", kStartupWindow) == 1;
  } else {
    w.Main = w.Detail = ScreenRect(screen);
  }

  const int32_t shown = reg.ReadInt("Save", kStartupShow) | w.View.ForceWinState;
  w.ShowFolderPane = shown & 1;
  w.ShowStatusBar = shown & 2;
  w.ShowToolBars = shown & 4;

  w.PlaceBars = saveState & 4;
  if (w.PlaceBars) {
    const int32_t place = reg.ReadInt("Place", kStartupBar);
    for (int bar = 0; bar < kToolBars; ++bar) {
      BarPlacement& b = w.Bars[bar];
      for (int dock = 0; dock < 4; ++dock)  // top, bottom, left, right: the last set wins
        if ((place >> (bar * 4 + dock)) & 1) b.dock = static_cast<Dock>(dock);
      b.DockPos = reg.ReadInt(BarName(bar, "DP"), kStartupBar);
      b.DockRow = reg.ReadInt(BarName(bar, "DR"), kStartupBar);
      b.Top = reg.ReadInt(BarName(bar, "T"), kStartupBar);
      b.Left = reg.ReadInt(BarName(bar, "L"), kStartupBar);
    }
  }
  return w;
}

bool SaveStartupState(RegTreat& reg, const StartupState& s, IMessageBox& box) {
  SettingsStore& store = reg.store();
  store.ResetErrors();
  {
    SettingsStore::Batch batch(store);
    for (auto [id, width] : s.FileListWidths) reg.RegWriteInt("FLW" + std::to_string(id), width, kListView);
    for (auto [id, width] : s.PlayListWidths) reg.RegWriteInt("PLW" + std::to_string(id), width, kListView);
    reg.RegWriteStr("endfolder", s.CurrentFolder, "\\folder");
    reg.RegWriteInt("SortItem", s.SortItem, kStartupSort);
    reg.RegWriteInt("SortType", s.SortType, kStartupSort);
    reg.RegWriteInt("save", (s.FolderPaneShown ? 1 : 0) | (s.StatusBarShown ? 2 : 0) | (s.ToolBarsShown ? 4 : 0),
                    kStartupShow);
    int32_t place = 0;
    for (int bar = 0; bar < kToolBars; ++bar) {
      const BarPlacement& b = s.Bars[bar];
      if (b.dock != Dock::None) place |= 1 << (bar * 4 + static_cast<int>(b.dock));
      reg.RegWriteInt(BarName(bar, "DP"), b.DockPos, kStartupBar);
      reg.RegWriteInt(BarName(bar, "DR"), b.DockRow, kStartupBar);
      reg.RegWriteInt(BarName(bar, "T"), b.Top, kStartupBar);
      reg.RegWriteInt(BarName(bar, "L"), b.Left, kStartupBar);
    }
    reg.RegWriteInt("Place", place, kStartupBar);
    reg.RegWriteInt("WinFlg_Main", s.WinFlgMain, kStartupWindow);
    reg.RegWriteInt("Folder_W", s.FolderWidth, kStartupWindow);
    reg.RegWriteInt("PLSplt_H", s.PlayListHeight, kStartupWindow);
    if (s.HasMainRect) {
      reg.RegWriteInt("Main_H", s.MainRect.Height, kStartupWindow);
      reg.RegWriteInt("Main_W", s.MainRect.Width, kStartupWindow);
      reg.RegWriteInt("Main_T", s.MainRect.Top, kStartupWindow);
      reg.RegWriteInt("Main_L", s.MainRect.Left, kStartupWindow);
    }
    if (store.errorCount() > 0) batch.Abandon();
  }
  if (store.errorCount() == 0) return true;
  box.Warn(
      "レジストリへの情報の保存に失敗しました.\n"
      "現在のKadrelの状況が次回起動時に反映されないことがあります.");
  return false;
}

bool ConfirmDeleteSettings(IMessageBox& box) {
  return box.Confirm(
             "レジストリを削除後、Kadrelを終了します.\n"
             "Playerの設定など、全ての設定が削除されますが\n"
             "よろしいですか？",
             MessageButtons::OkCancel) == MessageAnswer::Ok;
}

bool DeleteAllSettings(RegTreat& reg) { return reg.store().Clear(); }

StartupSettings RunStartupSettings(RegTreat& reg, IMessageBox& box, const PlatformFolders& platform,
                                   const UpgradeEnvironment& env, ScreenSize screen) {
  StartupSettings s;
  s.upgrade = UpgradeSettings(reg, box, env);
  s.libraries = DetectSupportLibraries();
  {
    SettingsStore::Batch batch(reg.store());
    s.smfk = LoadSmfkInfo(reg, s.libraries);
    s.window = RestoreWindowState(reg, screen);
    s.folders = ResolveWorkingFolders(reg, platform);
    LoadMainSettings(reg, s.libraries, s.main);
  }
  CreateWorkingFolders(s.folders, box);
  s.main.Main.StartFolder = s.folders.start;
  s.main.Main.TempFolder = s.folders.temp;
  s.main.Main.IndexFolder = s.folders.index;
  return s;
}

}  // namespace kadrel
