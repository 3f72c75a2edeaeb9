#include "cli/listplay_settings.h"

#include <cstdlib>

#include "settings/linux_players.h"
#include "settings/platform_folders.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"

namespace kadrel::cli {

PlayerSlots FirstStartPlayerSlots() {
  PlayerSlots slots{};
  const char* path = std::getenv("PATH");
  size_t n = 0;
  for (const FreshPlayerSlot& fresh : FreshInstallPlayerSlots(path ? path : "")) {
    if (n == slots.size()) break;
    TPlayer_data& slot = slots[n++];
    slot.ExePath = fresh.path;
    slot.DisplayName = fresh.name;
    DecodePlayerSlot(1, static_cast<int32_t>(fresh.formats), {}, slot);
  }
  return slots;
}

ListPlaySettings LoadListPlaySettings() {
  ListPlaySettings s;
  const PlatformFolders platform = DefaultPlatformFolders();
  auto store = SettingsStore::Open(SettingsDatabasePath(platform.config), nullptr, {.readOnly = true});
  if (!store) {
    s.launcher.playerSlots = FirstStartPlayerSlots();
    s.launcher.tempFolder = platform.temp;
    return s;
  }
  RegTreat reg(*store, platform.config);
  const SupportLibraries libraries = DetectSupportLibraries();
  MainSettings main;
  LoadMainSettings(reg, libraries, main);
  s.launcher.playerSlots = main.Players;
  s.launcher.playerDetailInfo = main.PlayerDetailInfo;
  s.lzhMeltStyle = main.Main.LzhMeltStyle;
  s.launcher.tempFolder = ResolveWorkingFolders(reg, platform).temp;
  s.smfk = main.Smfk;
  return s;
}

ConvertForPlaySettings ConversionSettings(const ListPlaySettings& settings) {
  ConvertForPlaySettings c;
  c.playerSlots = settings.launcher.playerSlots;
  c.smfk = settings.smfk;
  const char* path = std::getenv("PATH");
  const std::string wine = FindProgramOnPath(path ? path : "", {"wine"});
  if (!wine.empty()) c.wine = wine;
  return c;
}

}  // namespace kadrel::cli
