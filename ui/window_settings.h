#pragma once
// What the main window reads at start-up (the scan settings, the list's columns and
// widths, the window, pane and bar state, the tray values, the jump folders and the
// working folders), and the session on the user's settings store that fills it at
// start and takes the window's state back at the close.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "base/message_box.h"
#include "scan/folder_scan_controller.h"
#include "catalog/column_ids.h"
#include "catalog/options.h"
#include "settings/platform_folders.h"
#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"
#include "settings/window_places.h"
#include "playback/player_engine.h"

namespace kadrel {

struct WindowSettings {
  ScanSettings scan;
  TWindowOption window;
  std::vector<int> columns{1, 2, 5, 8, 3};  // file-list column ids in display order
  std::array<int, 13> columnWidths{0, 110, 50, 110, 50, 50, 50, 90, 350, 100, 100, 100, 100};  // by id
  std::vector<int> playListColumns{1, 2, 3, 9, 4};  // play-list column ids in display order
  std::array<int, 13> playListWidths{};              // by id - 1; 0 = the column's default
  std::array<std::string, 26> jumpFolders;
  std::array<std::string, 26> driveLetters;  // "\Drive" "A".."Z": the folder of each letter; empty = free
  std::optional<FontSetting> dialogFont;     // the "FJ" group, when read from a store
  // The six font groups in store order ("AF", "FL", "PL", "FW", "DW", "FJ"), when read
  // from a store; without one the desktop's fonts are kept.
  std::optional<std::array<FontSetting, 6>> fonts;
  TitleGridSettings titleGrid;
  WindowRect detailRect;  // zero sizes: placed by the window system
  std::array<std::string, 6> playerNames;  // of the slots in use; empty: not in use
  PlayerEngineSettings player;              // slots, player options, working folder
  int sortKey = 0;
  int sortDirection = 0;
  int folderPaneWidth = 170;
  int playListHeight = 20;
  int left = 10, top = 10, width = 620, height = 440;
  bool maximised = false;
  bool firstStart = false;  // no settings were stored before: placed to suit the screen
  bool showFolderPane = true;
  bool showStatusBar = true;
  bool showToolBars = true;
  bool placeBars = false;  // dock the bars as `bars` says
  std::array<BarPlacement, kToolBars> bars;
  int statusIntervalMs = 3000;
  int watcherDebounceMs = 300;
  int watcherPollMs = 3000;  // sizes and write times are seen by polling
  int closeWaitRounds = 701;  // rounds of 10 ms
};

// Defaults without a settings store, with the user's working folders created.
WindowSettings DefaultWindowSettings();

// The window's settings from the records of the start-up pass.
WindowSettings WindowSettingsFrom(const StartupSettings& startup);

// The user's settings store for one run of the program: opened at start, read in the
// designed order, written at the close (or deleted, after which nothing is written).
class SettingsSession {
 public:
  // Opens the store in `folders.config`; a damaged or missing store is reported through
  // `box` and the run goes on with defaults.
  SettingsSession(PlatformFolders folders, IMessageBox& box);
  ~SettingsSession();

  // Upgrade, window state, working folders and main settings; see RunStartupSettings.
  WindowSettings Start(IMessageBox& box, const UpgradeEnvironment& env, ScreenSize screen);
  const StartupSettings& Startup() const { return startup_; }

  // SaveStartupState with its failure message; false on failure or after Delete.
  bool Save(const StartupState& state, IMessageBox& box);
  // Empties the whole tree; nothing is saved afterwards in this run.
  bool Delete();
  bool Deleted() const { return deleted_; }

  const PlatformFolders& Folders() const { return folders_; }
  SettingsStore& Store() { return *store_; }
  RegTreat& Reg() { return reg_; }

 private:
  PlatformFolders folders_;
  std::unique_ptr<SettingsStore> store_;
  RegTreat reg_;
  StartupSettings startup_;
  bool deleted_ = false;
};

// Removes "--config-dir DIR" and "--config-dir=DIR" from `arguments` and returns DIR
// as file-system bytes (empty when not given).
std::string TakeConfigDirArgument(QStringList& arguments);

}  // namespace kadrel
