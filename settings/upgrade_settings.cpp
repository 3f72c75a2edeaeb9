// The first-run and version-upgrade pass.

#include <filesystem>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "settings/linux_players.h"
#include "settings/setting_keys.h"
#include "settings/startup_settings.h"

namespace kadrel {

namespace {

using namespace keys;

std::optional<int32_t> StoredInt(RegTreat& reg, std::string_view name, std::string_view key) {
  auto v = reg.store().Get(key, name);
  if (!v || v->kind != ValueKind::Int) return std::nullopt;
  return v->number;
}

// Settings of the versions that kept no "version" value.
void MigrateOldInstallation(RegTreat& reg) {
  auto oldTypes = StoredInt(reg, "FTypeInfo", kMain);
  reg.RegDeleteValue("Mes", kMain);
  reg.RegDeleteValue("FTypeInfo", kMain);
  reg.RegDeleteValue("Info0", kPlayer);
  if (auto info10 = StoredInt(reg, "Info10", kPlayer)) {
    reg.RegDeleteValue("Info10", kPlayer);
    reg.RegWriteInt("PlayerDetailInfo", *info10, kPlayer);
  }
  reg.RegDeleteValue("Sort", kMain);
  reg.RegDeleteValue("FolderMem", kFolder);
  reg.RegWriteInt("SMFByte", StoredInt(reg, "SMFByte", kMain).value_or(300), kOption);
  reg.RegWriteInt("LZHByte", StoredInt(reg, "LZHByte", kMain).value_or(700), kOption);
  for (const char* name : {"SMFByte", "LZHByte", "ReFindTime"}) reg.RegDeleteValue(name, kMain);
  // Old versions stored the player options inverted (only the four bits they knew).
  int32_t detail = StoredInt(reg, "PlayerDetailInfo", kPlayer).value_or(0);
  reg.RegWriteInt("PlayerDetailInfo", 15 - (detail & 15), kPlayer);
  for (int i = 1; i <= 5; ++i) reg.RegDeleteValue("Info" + std::to_string(i), kPlayer);
  // ... and the excluded file types instead of the searched ones.
  if (oldTypes) reg.RegWriteInt("FTypeInfo", 16383 - (*oldTypes & 0x3FFF), kMain);
  reg.RegDeleteKey("detail", kRoot);
}

void WriteSoundModules(RegTreat& reg, const std::vector<TSmfkItem>& modules) {
  for (const auto& m : modules) {
    std::string key = std::string(kSmfk) + "\\" + m.Name;
    reg.RegWriteStr("Cfg", m.Cfg, key);
    reg.RegWriteStr("FindStr", m.FindStr, key);
    reg.RegWriteStr("FindStr2", m.FindStr2, key);
    reg.RegWriteInt("Priority", m.Priority, key);
  }
}

std::string FolderOf(const std::string& path) {
  const std::string folder = FolderOfPath(path);
  return folder.empty() ? std::string("/") : folder;
}

// The program in the application menu, and on the desktop when the user has one.
bool WriteLaunchers(const UpgradeEnvironment& env) {
  DesktopLauncher launcher{env.launcherId.empty() ? std::string("Kadrel") : env.launcherId, "Kadrel", env.programPath,
                           FolderOf(env.programPath), env.launcherIcon};
  bool written = !env.applicationsFolder.empty() && WriteDesktopLauncher(env.applicationsFolder, launcher);
  std::error_code ignored;
  if (!env.desktopFolder.empty() && std::filesystem::is_directory(env.desktopFolder, ignored)) {
    launcher.fileStem = "Kadrel";
    written = WriteDesktopLauncher(env.desktopFolder, launcher) || written;
  }
  return written;
}

}  // namespace

UpgradeResult UpgradeSettings(RegTreat& reg, IMessageBox& box, const UpgradeEnvironment& env) {
  UpgradeResult r;
  {
    SettingsStore::Batch batch(reg.store());
    r.previousVersion = reg.RegReadInt("version", kRoot);
    reg.RegWriteInt("version", kSettingsVersion, kRoot);
    const int32_t mes = reg.RegReadInt("Mes", kMain);
    const int32_t old = r.previousVersion;
    r.freshInstallation = old == -1 && mes == -1;
    r.oldInstallation = old == -1 && mes != -1;

    if (r.freshInstallation) {
      // A new user can play at once: the players found on this system take the slots,
      // each named after its program and set to the formats it plays.
      int n = 1;
      for (const FreshPlayerSlot& slot : FreshInstallPlayerSlots(env.pathList)) {
        const std::string prefix = "P" + std::to_string(n++);
        reg.RegWriteStr(prefix + "name", slot.name, kPlayer);
        reg.RegWriteStr(prefix + "path", slot.path, kPlayer);
        reg.RegWriteInt(prefix + "FtypeInfo", static_cast<int32_t>(slot.formats), kPlayer);
      }
    }
    if (old < 62) {
      reg.RegWriteInt("SortItem", 1, kStartupSort);
      reg.RegWriteInt("SortType", 0, kStartupSort);
      reg.RegDeleteKey("detail", kSmfk);
      WriteSoundModules(reg, DefaultSoundModules());
    }
    if (r.oldInstallation) MigrateOldInstallation(reg);
  }

  if (r.previousVersion != kSettingsVersion) {
    // Asked outside the transaction: the store is not held while the user decides.
    r.asked = true;
    MessageAnswer answer = box.Show({MessageKind::Confirmation, MessageButtons::YesNo, {},
                                     "Kadrelをダウンロードして頂き、ありがとうございました.\n"
                                     "デスクトップにショートカットを作成しますか？"});
    if (answer == MessageAnswer::Yes && !env.programPath.empty()) r.launcherWritten = WriteLaunchers(env);
    if (env.openHelp) env.openHelp(kUpgradeHelpContext);
  }
  return r;
}

}  // namespace kadrel
