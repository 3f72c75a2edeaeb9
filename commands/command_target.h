#pragma once
// What the command executor acts on: the window and its lists. The desktop program
// implements it over the main window; tests implement it with a recording fake.
// Operations that a later part of the program provides are reached through here too,
// so the executor never needs to know whether they exist yet.

#include <optional>
#include <string>

namespace kadrel {

// The list a command is run for.
enum class CommandList { None, FileList, PlayList, JumpList, Detail };

// What the executor needs to know of the focused item.
struct FocusedItem {
  int kind = 2;               // ItemKind: 0 parent, 1 folder, 2 loose file, 3 archive member
  bool playListFile = false;  // an "MPL" file
};

// Which of the play controls are enabled, and the ListPlay state.
struct PlayControls {
  bool listPlayRunning = false;
  bool startEnabled = false;
  bool endReservationEnabled = false;
  bool nextEnabled = false;
  bool previousEnabled = false;
  bool replayEnabled = false;
  bool pauseEnabled = false;
  bool playerExitEnabled = false;
  bool nextReady = true;
  bool playListShown = false;
};

enum class PlayAction {
  StartListPlay,
  ToggleEndReservation,
  NextPiece,
  PreviousPiece,
  ListPlayReplay,
  Replay,
  TogglePause,
  ClosePlayer,
  QuitListPlay,
  MakeFocusedEntryNext,
  PlayEntryNow,
};

enum class Popup { Player, Folder, PlayListFile, PlayListEntry, Detail };
enum class Pane { AllFolders, JumpFolders, PlayList, StatusBar, ToolBars };
enum class IndexWork { Update, ReReadAll, Delete, Refresh };
enum class Dialog {
  MainSettings,
  ViewSettings,
  KeyCustomization,
  DriveList,
  JumpFolder,
  Sort,
  LoadPlayList,
  SavePlayList,
  Details,
  TitleEditor,
};

class ICommandTarget {
 public:
  virtual ~ICommandTarget() = default;

  // The list's focused item; nullopt when the list has none (or is not a list).
  virtual std::optional<FocusedItem> Focused(CommandList list) const = 0;
  virtual PlayControls Controls() const = 0;

  virtual void OpenItemAsFolder(CommandList list) = 0;
  // Slot 1 … 6, or -1 for the slot that may play the item.
  virtual void PlayItem(CommandList list, int slot) = 0;
  virtual void OpenNonMusic(CommandList list, bool textViewer) = 0;
  virtual void ShowPopup(CommandList list, Popup popup) = 0;
  virtual void RunPlayAction(PlayAction action) = 0;

  virtual void SelectAndMoveDown(CommandList list) = 0;
  virtual void SelectAllOrNone(CommandList list) = 0;
  virtual void AddSelectionToPlayList(CommandList list) = 0;
  virtual void ClearPlayList() = 0;
  virtual void DeletePlayListSelection() = 0;

  virtual void OpenDialog(Dialog dialog, CommandList list) = 0;
  virtual void OpenRename(CommandList list, const std::string& captionSuffix) = 0;
  virtual void TogglePane(Pane pane) = 0;
  virtual void RunIndexWork(IndexWork work) = 0;
  // The list is being filled, or a re-scan waits.
  virtual bool ListFilling() const = 0;
  // The file list holds a loose file or an archive member.
  virtual bool HasFileItems() const = 0;

  virtual void OpenParentFolder() = 0;
  virtual void OpenPreviousFolder() = 0;
  virtual void OpenCurrentDriveRoot() = 0;
  virtual void OpenFolder(const std::string& folder) = 0;
  // Jump folder of letter 0 … 25 as stored ("" = unset).
  virtual std::string JumpFolder(int letter) const = 0;
  // The folder last visited on the drive of a letter, and the drive's root ("" when
  // no volume stands for the letter).
  virtual std::string DriveFolder(int letter) const = 0;
  virtual std::string DriveRoot(int letter) const = 0;

  virtual bool MainWindowActive() const = 0;
  virtual void CloseMainWindow() = 0;
  virtual void CloseActiveWindow() = 0;
  virtual void CloseDetailWindow() = 0;
  virtual void OpenHelp() = 0;
};

}  // namespace kadrel
