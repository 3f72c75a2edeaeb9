#pragma once
// The command executor's view of the main window. Operations whose windows come with
// later work are reached through CommandHooks; an empty hook does nothing, or answers
// with the designed message where the design has one, and never reports success.

#include <functional>
#include <map>
#include <string>

#include "commands/command_target.h"

class QAbstractItemView;

namespace kadrel {

class MainWindow;

struct CommandHooks {
  std::function<void(CommandList, int slot)> playItem;
  std::function<void(CommandList, bool textViewer)> openNonMusic;
  std::function<PlayControls()> playControls;
  std::function<void(PlayAction)> playAction;
  std::function<void(CommandList)> addToPlayList;
  std::function<void()> clearPlayList;
  std::function<void()> deletePlayListSelection;
  std::map<Dialog, std::function<void(CommandList)>> dialogs;
  std::function<void(CommandList, const std::string& captionSuffix)> rename;
  std::function<void()> deleteIndex;
  std::function<void()> refreshIndexes;
  // The root folder a drive letter stands for ("" when none); by default "C" is "/"
  // and "H" the home folder.
  std::function<std::string(int letter)> driveRoot;
  std::function<void()> openHelp;
};

class MainCommandTarget final : public ICommandTarget {
 public:
  explicit MainCommandTarget(MainWindow& window) : w_(window) {}

  CommandHooks hooks;

  std::optional<FocusedItem> Focused(CommandList list) const override;
  PlayControls Controls() const override;
  void OpenItemAsFolder(CommandList list) override;
  void PlayItem(CommandList list, int slot) override;
  void OpenNonMusic(CommandList list, bool textViewer) override;
  void ShowPopup(CommandList list, Popup popup) override;
  void RunPlayAction(PlayAction action) override;
  void SelectAndMoveDown(CommandList list) override;
  void SelectAllOrNone(CommandList list) override;
  void AddSelectionToPlayList(CommandList list) override;
  void ClearPlayList() override;
  void DeletePlayListSelection() override;
  void OpenDialog(Dialog dialog, CommandList list) override;
  void OpenRename(CommandList list, const std::string& captionSuffix) override;
  void TogglePane(Pane pane) override;
  void RunIndexWork(IndexWork work) override;
  bool ListFilling() const override;
  bool HasFileItems() const override;
  void OpenParentFolder() override;
  void OpenPreviousFolder() override;
  void OpenCurrentDriveRoot() override;
  void OpenFolder(const std::string& folder) override;
  std::string JumpFolder(int letter) const override;
  std::string DriveFolder(int letter) const override;
  std::string DriveRoot(int letter) const override;
  bool MainWindowActive() const override;
  void CloseMainWindow() override;
  void CloseActiveWindow() override;
  void CloseDetailWindow() override;
  void OpenHelp() override;

 private:
  QAbstractItemView* View(CommandList list) const;

  MainWindow& w_;
};

}  // namespace kadrel
