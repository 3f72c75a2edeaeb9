#include "catalog/column_ids.h"
#include "settings/user_settings.h"

#include "settings/default_tree.h"
#include "settings/reg_treat.h"
#include "settings/setting_keys.h"
#include "settings/startup_settings.h"

namespace kadrel {

std::unique_ptr<SettingsStore> OpenUserSettings(const std::string& configFolder, IMessageBox& box) {
  MakeFolders(configFolder);
  const std::string path = SettingsDatabasePath(configFolder);
  StoreOpenReport report;
  auto store = SettingsStore::Open(path, &report);
  if (!report.movedAsideTo.empty())
    box.Warn(
        "設定ファイルが壊れているか、Kadrelの設定ファイルではないため使用できません.\n"
        "元のファイルは次の名前で残しました :\n" +
        report.movedAsideTo + "\n設定は初期状態から始まります.");
  if (store) return store;
  box.Error("設定ファイルを開けません.\n" + path + "\n" + report.error + "\n今回の設定は保存されません.");
  return SettingsStore::OpenInMemory();
}

UserListSettings LoadUserListSettings(const std::string& configFolder) {
  PlatformFolders platform = DefaultPlatformFolders(configFolder);
  UserListSettings out;
  out.storePath = SettingsDatabasePath(platform.config);
  StoreOpenReport report;
  auto store = SettingsStore::Open(out.storePath, &report, {.readOnly = true});
  if (!store) {
    out.main.IndexFolder = platform.index;
    out.main.TempFolder = platform.temp;
    out.main.StartFolder = platform.home;
    out.columns = {std::begin(kDefaultFileListColumns), std::end(kDefaultFileListColumns)};
    return out;
  }
  out.fromStore = true;
  RegTreat reg(*store, platform.config);
  MainSettings main;
  LoadMainSettings(reg, DetectSupportLibraries(), main);
  WorkingFolders folders = ResolveWorkingFolders(reg, platform);
  out.main = main.Main;
  out.main.StartFolder = folders.start;
  out.main.TempFolder = folders.temp;
  out.main.IndexFolder = folders.index;
  ViewSettings view = LoadViewSettings(reg);
  out.view = view.View;
  out.window = view.Window;
  out.window.WinFlgMain = reg.ReadInt("WinFlg_Main", keys::kStartupWindow);
  out.columns = view.FileListItems;
  out.sortItem = reg.ReadInt("SortItem", keys::kStartupSort);
  out.sortType = reg.ReadInt("SortType", keys::kStartupSort);
  return out;
}

}  // namespace kadrel
