#pragma once
// Opening the user's settings store, and the settings the command-line tool needs.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "catalog/options.h"
#include "settings/platform_folders.h"
#include "settings/settings_store.h"

namespace kadrel {

// Opens (creating the folder and the database when needed) the store in
// `configFolder`. A damaged or foreign database is moved aside and the user is told
// so; when no store can be opened at all the user is told and a store in memory is
// returned, so the program runs with defaults. Never null.
std::unique_ptr<SettingsStore> OpenUserSettings(const std::string& configFolder, IMessageBox& box);

// The user's list settings as the command-line tool applies them.
struct UserListSettings {
  TMainOption main;  // with the index and temporary folders resolved
  TListViewOption view;
  TWindowOption window;
  std::vector<int32_t> columns;  // visible file-list column ids, in order
  int32_t sortItem = 0;
  int32_t sortType = 0;
  bool fromStore = false;  // false: no usable store, everything is a default
  std::string storePath;
};

// Reads without changing anything: a missing or unusable store gives the defaults.
// `configFolder` empty: the folder DefaultPlatformFolders() names.
UserListSettings LoadUserListSettings(const std::string& configFolder = {});

}  // namespace kadrel
