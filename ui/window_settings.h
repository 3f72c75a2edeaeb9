#pragma once
// What the main window reads at start-up: the scan settings, the list's columns and
// widths, the window and tray values, the jump folders and the working folders.

#include <array>
#include <string>
#include <vector>

#include "core/scan/folder_scan_controller.h"
#include "settings/options.h"

namespace kadrel {

struct WindowSettings {
  ScanSettings scan;
  TWindowOption window;
  std::vector<int> columns{1, 2, 5, 8, 3};  // file-list column ids in display order
  std::array<int, 13> columnWidths{0, 110, 50, 110, 50, 50, 50, 90, 350, 100, 100, 100, 100};
  std::array<std::string, 26> jumpFolders;
  int sortKey = 0;
  int sortDirection = 0;
  int folderPaneWidth = 170;
  int left = 10, top = 10, width = 620, height = 440;
  bool maximised = false;
  int statusIntervalMs = 3000;
  int watcherDebounceMs = 300;
  int watcherPollMs = 3000;  // sizes and write times are seen by polling
  int closeWaitRounds = 701;  // rounds of 10 ms
};

// The user's working folders (XDG): temporary folder with "ListPlay/" and "OLE/"
// (mode 0700), and the index folder. Created when missing; each ends in "/".
struct WorkingFolders {
  std::string temp;
  std::string index;
};
WorkingFolders PrepareUserFolders();

// Defaults, with the working folders filled in.
WindowSettings DefaultWindowSettings();

}  // namespace kadrel
