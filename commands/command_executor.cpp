#include "commands/command_executor.h"

#include <string>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/path_helpers.h"

namespace kadrel {
namespace {

bool IsFolderItem(const FocusedItem& item) { return item.kind == 0 || item.kind == 1; }

std::string Text(std::string_view utf8) { return std::string(utf8); }

}  // namespace

void CommandExecutor::ExecuteUtf8(CommandList list, std::string_view utf8Name) {
  Execute(list, CommandBytes(utf8Name));
}

void CommandExecutor::Execute(CommandList list, std::string_view name, std::string_view extra) {
  if (list == CommandList::None) return;
  if (name.empty() && extra.empty()) return;
  if (name.empty() && extra == "return") {
    Run(list, Command{CommandId::OpenBest});
    return;
  }
  if (auto command = ParseCommandName(name)) Run(list, *command);
}

void CommandExecutor::Run(CommandList list, Command command) {
  if (list == CommandList::None) return;
  if (FileListOnly(command.id) && list != CommandList::FileList) return;
  const std::optional<FocusedItem> item = target_.Focused(list);
  if (NeedsItem(command.id) && !item) return;

  switch (command.id) {
    case CommandId::OpenBest: return OpenBest(list, *item);
    case CommandId::PopupUnlessFolder: return PopupUnlessFolder(list, *item);
    case CommandId::OpenPopup: return OpenPopup(list, *item);
    case CommandId::OpenByAssociation: return target_.OpenNonMusic(list, false);
    case CommandId::OpenWithTextViewer: return target_.OpenNonMusic(list, true);
    case CommandId::PlayWithSlot:
      if (list == CommandList::FileList && IsFolderItem(*item)) return;
      if (list == CommandList::JumpList) return;
      return target_.PlayItem(list, command.argument);
    case CommandId::SelectAndMoveDown: return target_.SelectAndMoveDown(list);
    case CommandId::SelectAllOrNone: return target_.SelectAllOrNone(list);
    case CommandId::PreviousFolder: return target_.OpenPreviousFolder();
    case CommandId::GoToDrive: return GoToDrive(command.argument);
    case CommandId::ChooseDrive: return target_.OpenDialog(Dialog::DriveList, list);
    case CommandId::OpenDetails: return target_.OpenDialog(Dialog::Details, list);
    case CommandId::AddToPlayList: return target_.AddSelectionToPlayList(list);
    case CommandId::ClearPlayList: return target_.ClearPlayList();
    case CommandId::ListPlayStart: return ListPlayStart(list);
    case CommandId::ListPlayReserveEnd:
      return ListPlayControl(target_.Controls().endReservationEnabled, PlayAction::ToggleEndReservation,
                             commandtext::kCannotReserveEnd);
    case CommandId::ListPlayNext:
      return ListPlayControl(target_.Controls().nextEnabled, PlayAction::NextPiece, commandtext::kCannotNext);
    case CommandId::ListPlayPrevious:
      return ListPlayControl(target_.Controls().previousEnabled, PlayAction::PreviousPiece,
                             commandtext::kCannotPrevious);
    case CommandId::ListPlayMakeNext: return MakeNext();
    case CommandId::DeleteFromPlayList: return target_.DeletePlayListSelection();
    case CommandId::Pause:
      if (target_.Controls().pauseEnabled) target_.RunPlayAction(PlayAction::TogglePause);
      return;
    case CommandId::StopPlaying: return StopPlaying();
    case CommandId::Replay: return Replay();
    case CommandId::OpenMainSettings: return target_.OpenDialog(Dialog::MainSettings, list);
    case CommandId::OpenViewSettings: return target_.OpenDialog(Dialog::ViewSettings, list);
    case CommandId::OpenKeyCustomization: return target_.OpenDialog(Dialog::KeyCustomization, list);
    case CommandId::ToggleAllFolders: return target_.TogglePane(Pane::AllFolders);
    case CommandId::ToggleJumpFolders: return target_.TogglePane(Pane::JumpFolders);
    case CommandId::TogglePlayList: return target_.TogglePane(Pane::PlayList);
    case CommandId::ToggleStatusBar: return target_.TogglePane(Pane::StatusBar);
    case CommandId::ToggleToolBars: return target_.TogglePane(Pane::ToolBars);
    case CommandId::ReReadAll: return target_.RunIndexWork(IndexWork::ReReadAll);
    case CommandId::UpdateInformation: return target_.RunIndexWork(IndexWork::Update);
    case CommandId::DeleteIndex: return target_.RunIndexWork(IndexWork::Delete);
    case CommandId::RefreshIndexes: return target_.RunIndexWork(IndexWork::Refresh);
    case CommandId::LoadPlayList: return target_.OpenDialog(Dialog::LoadPlayList, list);
    case CommandId::SavePlayList: return target_.OpenDialog(Dialog::SavePlayList, list);
    case CommandId::Sort: return target_.OpenDialog(Dialog::Sort, list);
    case CommandId::OpenJumpFolder: return OpenJumpFolder(command.argument);
    case CommandId::JumpDialog: return target_.OpenDialog(Dialog::JumpFolder, list);
    case CommandId::EditIndex: return EditIndex();
    case CommandId::Rename: return Rename(list, *item);
    case CommandId::UpOneFolder:
      if (list == CommandList::FileList) target_.OpenParentFolder();
      if (list == CommandList::Detail) target_.CloseDetailWindow();
      return;
    case CommandId::DriveRoot:
      if (list == CommandList::FileList) target_.OpenCurrentDriveRoot();
      return;
    case CommandId::QuitAsking: return Quit();
    case CommandId::QuitWithoutAsking: return target_.CloseActiveWindow();
    case CommandId::Help: return target_.OpenHelp();
  }
}

void CommandExecutor::OpenBest(CommandList list, const FocusedItem& item) {
  switch (list) {
    case CommandList::FileList:
      if (IsFolderItem(item))
        target_.OpenItemAsFolder(list);
      else
        target_.PlayItem(list, -1);
      return;
    case CommandList::PlayList: return target_.RunPlayAction(PlayAction::PlayEntryNow);
    case CommandList::Detail: return target_.PlayItem(list, -1);
    default: return;
  }
}

void CommandExecutor::PopupUnlessFolder(CommandList list, const FocusedItem& item) {
  switch (list) {
    case CommandList::FileList:
      if (IsFolderItem(item))
        target_.OpenItemAsFolder(list);
      else
        target_.ShowPopup(list, Popup::Player);
      return;
    case CommandList::PlayList: return target_.ShowPopup(list, Popup::PlayListEntry);
    case CommandList::Detail: return target_.ShowPopup(list, Popup::Detail);
    default: return;
  }
}

void CommandExecutor::OpenPopup(CommandList list, const FocusedItem& item) {
  switch (list) {
    case CommandList::FileList:
      if (IsFolderItem(item))
        target_.ShowPopup(list, Popup::Folder);
      else if (item.playListFile)
        target_.ShowPopup(list, Popup::PlayListFile);
      else
        target_.ShowPopup(list, Popup::Player);
      return;
    case CommandList::PlayList: return target_.ShowPopup(list, Popup::PlayListEntry);
    case CommandList::Detail: return target_.ShowPopup(list, Popup::Detail);
    default: return;
  }
}

void CommandExecutor::ListPlayStart(CommandList list) {
  if (list == CommandList::PlayList) {
    if (target_.Focused(list)) target_.RunPlayAction(PlayAction::PlayEntryNow);
    return;
  }
  const PlayControls c = target_.Controls();
  if (c.listPlayRunning) return;
  if (c.startEnabled)
    target_.RunPlayAction(PlayAction::StartListPlay);
  else
    messages_.Inform(Text(commandtext::kCannotStartListPlay));
}

void CommandExecutor::ListPlayControl(bool enabled, PlayAction action, std::string_view refused) {
  if (!target_.Controls().listPlayRunning) {
    messages_.Inform(Text(commandtext::kNoListPlay));
    return;
  }
  if (enabled)
    target_.RunPlayAction(action);
  else
    messages_.Inform(Text(refused));
}

void CommandExecutor::MakeNext() {
  const PlayControls c = target_.Controls();
  if (!c.playListShown || !target_.Focused(CommandList::PlayList)) return;
  if (!c.listPlayRunning) {
    messages_.Warn(Text(commandtext::kOnlyInListPlay));
    return;
  }
  if (!c.nextReady) {
    messages_.Inform(Text(commandtext::kNextNotReady));
    return;
  }
  target_.RunPlayAction(PlayAction::MakeFocusedEntryNext);
}

void CommandExecutor::StopPlaying() {
  const PlayControls c = target_.Controls();
  if (c.listPlayRunning) {
    if (c.playerExitEnabled)
      target_.RunPlayAction(PlayAction::QuitListPlay);
    else
      messages_.Inform(Text(commandtext::kCannotEndListPlay));
  } else if (c.playerExitEnabled) {
    target_.RunPlayAction(PlayAction::ClosePlayer);
  }
}

void CommandExecutor::Replay() {
  const PlayControls c = target_.Controls();
  if (c.listPlayRunning)
    target_.RunPlayAction(PlayAction::ListPlayReplay);
  else if (c.replayEnabled)
    target_.RunPlayAction(PlayAction::Replay);
  else
    messages_.Inform(Text(commandtext::kCannotReplay));
}

void CommandExecutor::GoToDrive(int letter) {
  const std::string root = target_.DriveRoot(letter);
  if (root.empty()) return;  // no volume stands for this letter
  std::string folder = target_.DriveFolder(letter);
  if (folder.empty()) folder = root;
  if (!FolderExists(folder)) {
    if (!FolderExists(root)) return;
    messages_.Inform(DisplayText(ShortenPath(folder, 25)) + Text(commandtext::kDriveFolderMissing) + "\n" +
                     DisplayText(root) + Text(commandtext::kOpensRoot));
    folder = root;
  }
  target_.OpenFolder(folder);
}

void CommandExecutor::OpenJumpFolder(int letter) {
  const std::string folder = target_.JumpFolder(letter);
  if (folder.empty()) return;
  if (FolderExists(folder)) {
    target_.OpenFolder(folder);
    return;
  }
  messages_.Error(Text(commandtext::kFolderPrefix) + DisplayText(ShortenPath(folder, 25)) +
                  Text(commandtext::kFolderMissing));
}

void CommandExecutor::EditIndex() {
  if (target_.ListFilling()) {
    messages_.Error(Text(commandtext::kEditWhileFilling));
    return;
  }
  if (target_.HasFileItems())
    target_.OpenDialog(Dialog::TitleEditor, CommandList::FileList);
  else
    messages_.Inform(Text(commandtext::kNothingToEdit));
}

void CommandExecutor::Rename(CommandList list, const FocusedItem& item) {
  if (list == CommandList::Detail && item.playListFile) return;
  std::string suffix;
  switch (item.kind) {
    case 0: break;
    case 1: suffix = commandtext::kRenameFolder; break;
    case 2: suffix = commandtext::kRenameFile; break;
    case 3: suffix = commandtext::kRenameMember; break;
    default: messages_.Warn(Text(commandtext::kBadItemKind)); return;
  }
  target_.OpenRename(list, suffix);
}

void CommandExecutor::Quit() {
  if (!target_.MainWindowActive()) {
    target_.CloseActiveWindow();
    return;
  }
  if (messages_.Confirm(Text(commandtext::kQuitQuestion), MessageButtons::OkCancel) == MessageAnswer::Ok)
    target_.CloseMainWindow();
}

}  // namespace kadrel
