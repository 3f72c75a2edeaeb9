#pragma once
// Where the program keeps its own files on this desktop (XDG base directories), and
// the few desktop services the settings pass needs: finding a program on PATH and
// writing a desktop launcher.

#include <string>
#include <string_view>

namespace kadrel {

// Every folder ends with "/".
struct PlatformFolders {
  std::string config;   // settings database and key files: $XDG_CONFIG_HOME/kadrel/
  std::string index;    // default index folder: $XDG_CACHE_HOME/kadrel/index/
  std::string temp;     // default temporary folder: $XDG_RUNTIME_DIR/kadrel/ or /tmp/kadrel-<uid>/
  std::string home;     // start folder when none is set or the set one is gone
};

// The folders from the environment. `configOverride` (a --config-dir option) wins over
// KADREL_CONFIG_DIR, which wins over the XDG default.
PlatformFolders DefaultPlatformFolders(std::string_view configOverride = {});

// The settings database inside a configuration folder.
std::string SettingsDatabasePath(const std::string& configFolder);

// Creates a folder with all missing parents (mode 0700 for the new ones). True when
// it exists as a folder afterwards.
bool MakeFolders(const std::string& path);

// True when the path names an existing folder.
bool IsFolder(const std::string& path);

// The first of `names` found as an executable file on the colon-separated `pathList`;
// empty when none.
std::string FindProgramOnPath(std::string_view pathList, std::initializer_list<std::string_view> names);


// The user's desktop folder (XDG user-dirs), ending with "/".
std::string DesktopFolder();
// The user's application-menu folder ($XDG_DATA_HOME/applications/).
std::string ApplicationsFolder();

struct DesktopLauncher {
  std::string fileStem;  // "<fileStem>.desktop"
  std::string name;      // shown under the icon and in the menu
  std::string program;
  std::string workingFolder;
  std::string icon;  // theme icon name or icon file; empty: none
};

// Writes the launcher in `folder` (made when missing); replaced atomically, executable
// so that desktops trust it. False on failure.
bool WriteDesktopLauncher(const std::string& folder, const DesktopLauncher& launcher);

}  // namespace kadrel
