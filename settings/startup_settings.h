#pragma once
// The readers and writers of the settings tree that run at start-up, after the
// settings dialogs and at exit. They fill plain records; the window applies them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "catalog/options.h"
#include "settings/platform_folders.h"
#include "settings/player_data.h"
#include "settings/reg_treat.h"
#include "catalog/smfk_info.h"

namespace kadrel {

// ---- Support libraries -------------------------------------------------------------

struct SupportLibraries {
  bool lzh = true;     // the LZH reader is part of the program
  bool rcpcv = true;   // the Recomposer converter is part of the program
  bool smfk = false;   // there is no SMF knife library on this platform
  std::string lzhVersion;
  std::string rcpcvVersion;
  std::string smfkVersion;

  ConversionAvailability conversions() const { return {rcpcv, smfk}; }
};

SupportLibraries DetectSupportLibraries();
// The conversion helpers usable in this run: the knife counts as there when its
// library is, or when the program the SMF knife settings name is found.
ConversionAvailability ConversionsFor(const SupportLibraries& libs, const TSmfkInfo& smfk);

// ---- Upgrade -----------------------------------------------------------------------

struct UpgradeEnvironment {
  std::string programPath;    // the program file, for the desktop launcher
  std::string desktopFolder;  // the desktop's folder: a launcher goes there when it exists
  std::string applicationsFolder;  // the user's application-menu entries
  std::string launcherId;    // the menu entry's file name, without ".desktop"
  std::string launcherIcon;  // an icon name of the theme, or an icon file
  std::string pathList;       // $PATH, searched for a first player
  std::function<void(int helpContext)> openHelp;  // opens the bundled manual
};

struct UpgradeResult {
  int32_t previousVersion = -1;  // -1: none stored
  bool freshInstallation = false;
  bool oldInstallation = false;  // settings of a version that kept no "version"
  bool asked = false;            // the launcher question was shown
  bool launcherWritten = false;
};

UpgradeResult UpgradeSettings(RegTreat& reg, IMessageBox& box, const UpgradeEnvironment& env);

inline constexpr int kUpgradeHelpContext = 19;

// ---- Main settings -----------------------------------------------------------------

inline constexpr int kJumpFolders = 26;

struct MainSettings {
  TMainOption Main;  // the resolved folders are kept as PrepareWorkingFolders set them
  PlayerSlots Players;
  int32_t PlayerDetailInfo = 15;
  std::array<std::string, kJumpFolders> JumpFolders;  // "A".."Z"; empty = none
  TSmfkInfo Smfk;
};

// "\Folder" choices as the main settings dialog shows them.
struct FolderChoices {
  int32_t Info = 7;
  std::string Start;
  std::string Tmp;
  std::string Index;
};

void LoadMainSettings(RegTreat& reg, const SupportLibraries& libs, MainSettings& out);
FolderChoices LoadFolderChoices(RegTreat& reg);
void SaveMainSettings(RegTreat& reg, const SupportLibraries& libs, const MainSettings& in, const FolderChoices& folders);

TSmfkInfo LoadSmfkInfo(RegTreat& reg, const SupportLibraries& libs);
// Replaces every module subkey of "\SMFK" with the given modules.
void SaveSmfkInfo(RegTreat& reg, const TSmfkInfo& info);

// ---- Working folders ---------------------------------------------------------------

// Every folder ends with "/".
struct WorkingFolders {
  std::string start;
  std::string temp;  // with "ListPlay/" and "OLE/" inside
  std::string index;
  bool created = false;  // every folder exists
};

// Reads "\Folder" and works out the folders (no file-system changes).
WorkingFolders ResolveWorkingFolders(RegTreat& reg, const PlatformFolders& platform);
// Creates the folders; on failure tells the user and goes on.
bool CreateWorkingFolders(WorkingFolders& folders, IMessageBox& box);
WorkingFolders PrepareWorkingFolders(RegTreat& reg, const PlatformFolders& platform, IMessageBox& box);

// ---- View settings -----------------------------------------------------------------

struct FontSetting {
  std::string Face;  // empty: the built-in face
  int32_t Points = 10;
  int32_t Color = 0;
  int32_t BackColor = 0;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;  // not stored; makes the saved style plain
  bool StrikeOut = false;
};

// "_Bold" and "_Italic" as stored for a style: 0 means set; a style other than exactly
// bold, italic or both stores 1 and 1.
std::pair<int32_t, int32_t> EncodeFontStyle(const FontSetting& font);

struct BarColors {
  int32_t Bar = 0;
  int32_t Back = 0;
};

struct ViewSettings {
  TListViewOption View;
  TWindowOption Window;  // tray, "PWCheckTime", "SortOption"
  int32_t PWcontrol1 = 9;
  int32_t PWcontrol2 = 9;
  int32_t SaveWinState = 15;  // "savewinstate"; a missing value counts as every bit set
  int32_t ForceWinState = 0;
  std::vector<int32_t> FileListItems;  // visible column ids in display order
  std::vector<int32_t> PlayListItems;
  std::array<int32_t, 12> FileListWidths{};
  std::array<int32_t, 13> PlayListWidths{};
  std::array<FontSetting, 6> Fonts;  // "AF", "FL", "PL", "FW", "DW", "FJ"
  std::array<BarColors, 2> ProgressBars;  // "B1" search, "B2" conversion
  int32_t Splitter = 1;  // "\startup\show" "splitter": bit 0 show the logo
};

ViewSettings LoadViewSettings(RegTreat& reg);
void SaveViewSettings(RegTreat& reg, const ViewSettings& in);

// A column list: ids until the first 0 or missing entry; ids outside 1..columns and
// repeated ids are skipped. A missing first entry writes the default list.
std::vector<int32_t> LoadColumnList(RegTreat& reg, std::string_view prefix, int columns);
void SaveColumnList(RegTreat& reg, std::string_view prefix, const std::vector<int32_t>& ids);

// ---- Window state ------------------------------------------------------------------

struct WindowRect {
  int32_t Height = 0;
  int32_t Width = 0;
  int32_t Top = 0;
  int32_t Left = 0;
};

enum class Dock : int32_t { None = -1, Top = 0, Bottom = 1, Left = 2, Right = 3 };

struct BarPlacement {
  Dock dock = Dock::None;  // None: keep the built-in dock (floating when saved)
  int32_t DockPos = 0;
  int32_t DockRow = 0;
  int32_t Top = 0;
  int32_t Left = 0;
};

inline constexpr int kToolBars = 3;  // main bar, play bar, control bar

struct ScreenSize {
  int32_t width = 1024;
  int32_t height = 768;
};

// What the main window applies at start.
struct WindowRestore {
  ViewSettings View;
  int32_t SortItem = 0;
  int32_t SortType = 0;
  bool GeometryFromStore = false;  // else from the screen size
  WindowRect Main;
  WindowRect Detail;
  int32_t FolderWidth = 170;
  int32_t PlayListHeight = 20;
  bool Maximised = false;
  bool ShowFolderPane = true;
  bool ShowStatusBar = true;
  bool ShowToolBars = true;
  bool PlaceBars = false;
  std::array<BarPlacement, kToolBars> Bars;
};

WindowRestore RestoreWindowState(RegTreat& reg, ScreenSize screen);

// ---- Exit --------------------------------------------------------------------------

struct StartupState {
  std::vector<std::pair<int32_t, int32_t>> FileListWidths;  // (column id, width) of visible columns
  std::vector<std::pair<int32_t, int32_t>> PlayListWidths;
  std::string CurrentFolder;
  int32_t SortItem = 0;
  int32_t SortType = 0;
  bool FolderPaneShown = true;
  bool StatusBarShown = true;
  bool ToolBarsShown = true;
  std::array<BarPlacement, kToolBars> Bars;
  int32_t WinFlgMain = 0;
  int32_t FolderWidth = 170;
  int32_t PlayListHeight = 20;
  bool HasMainRect = false;  // the restored rectangle could be read
  WindowRect MainRect;
};

// Saves the state at exit; a storage failure warns the user. Returns false on failure.
bool SaveStartupState(RegTreat& reg, const StartupState& state, IMessageBox& box);

// Asks whether to delete every setting and end; true on OK.
bool ConfirmDeleteSettings(IMessageBox& box);
// Deletes the whole tree (used instead of SaveStartupState after that answer).
bool DeleteAllSettings(RegTreat& reg);

// ---- The whole start-up pass -------------------------------------------------------

struct StartupSettings {
  UpgradeResult upgrade;
  TSmfkInfo smfk;
  WindowRestore window;
  WorkingFolders folders;
  SupportLibraries libraries;
  MainSettings main;
};

// Upgrade, SMF knife settings, window state, working folders, support libraries and
// main settings, in the order the main window needs them; the default writes of the
// reads share one transaction.
StartupSettings RunStartupSettings(RegTreat& reg, IMessageBox& box, const PlatformFolders& platform,
                                   const UpgradeEnvironment& env, ScreenSize screen);

}  // namespace kadrel
