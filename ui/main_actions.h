#pragma once
// The main window's menus, tool bars and their actions, with the designed captions.
// Items whose work belongs to later parts of the program are present and disabled.

#include <array>

#include <QAction>
#include <QMenu>
#include <QToolBar>

class QMainWindow;

namespace kadrel {

struct MainActions {
  // File
  QAction* rename = nullptr;
  QAction* details = nullptr;
  QAction* loadPlayList = nullptr;
  QAction* savePlayList = nullptr;
  QAction* deleteSettings = nullptr;
  QAction* quit = nullptr;
  // Tools
  QAction* update = nullptr;
  QAction* reReadAll = nullptr;
  QAction* addToPlayList = nullptr;
  QAction* clearPlayList = nullptr;
  QAction* deleteIndex = nullptr;
  QAction* editIndex = nullptr;
  QAction* indexFind = nullptr;
  QAction* refreshIndex = nullptr;
  // Folder (jump folders)
  QMenu* jumpMenu = nullptr;
  // Play and control
  QAction* playBest = nullptr;
  std::array<QAction*, 6> playSlot{};
  QAction* listPlayStart = nullptr;
  // Replay, pause, previous, next, end reservation, stop.
  std::array<QAction*, 6> controls{};
  // The mode menu: random, shuffle, end when every item was played.
  QAction* modeRandom = nullptr;
  QAction* modeShuffle = nullptr;
  QAction* modeAutoEnd = nullptr;
  // The ListPlay buttons of the ControlBar.
  QAction* listPlayButton = nullptr;
  QAction* backButton = nullptr;
  QAction* nextButton = nullptr;
  QAction* endReserveButton = nullptr;
  // Settings
  QAction* mainSettings = nullptr;
  QAction* viewSettings = nullptr;
  QAction* keyCustomization = nullptr;
  // Control: the menu items and the ControlBar buttons of the player
  QAction* replay = nullptr;
  QAction* pause = nullptr;
  QAction* playerExit = nullptr;
  QAction* replayButton = nullptr;
  QAction* pauseButton = nullptr;
  QAction* playerExitButton = nullptr;
  // View
  QAction* viewAllFolders = nullptr;
  QAction* viewJumpFolders = nullptr;
  QAction* viewPlayList = nullptr;
  QAction* viewToolBars = nullptr;
  QAction* viewStatusBar = nullptr;
  // Help
  QAction* contents = nullptr;  // the user's guide
  QAction* helpTopics = nullptr;
  QAction* shellInfo = nullptr;
  QAction* about = nullptr;  // "バージョン情報(&A)"
  // Tool bars: main ("SyetemBar"), play, control; and the dock pop-up's toggles.
  std::array<QToolBar*, 3> bars{};
  std::array<QAction*, 3> barToggles{};
  QAction* exitButton = nullptr;
  QAction* breakButton = nullptr;
  QAction* reReadButton = nullptr;
  QAction* indexFindButton = nullptr;
  QAction* updateButton = nullptr;
  QAction* clearPlayListButton = nullptr;
  std::array<QAction*, 6> playButtons{};
};

// Builds the menu bar and the three tool bars of `window`.
void BuildMainActions(QMainWindow& window, MainActions& actions);
// The pop-up of the docks: one check item per tool bar.
QMenu* BuildBarPopup(QWidget* parent, const MainActions& actions);

}  // namespace kadrel
