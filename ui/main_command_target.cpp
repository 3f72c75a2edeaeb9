#include "ui/main_command_target.h"

#include <fmt/format.h>

#include <QApplication>
#include <QDir>
#include <QFile>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "base/text_helpers.h"
#include "platform/volumes.h"
#include "ui/main_window.h"
#include "ui/play_list_view.h"

namespace kadrel {
QAbstractItemView* MainCommandTarget::View(CommandList list) const {
  switch (list) {
    case CommandList::FileList: return &w_.list_;
    case CommandList::PlayList: return &w_.playPane_->View();
    case CommandList::JumpList: return &w_.folders_.JumpList();
    case CommandList::Detail: return w_.CommandDetail() ? &w_.CommandDetail()->List() : nullptr;
    default: return nullptr;
  }
}

std::optional<FocusedItem> MainCommandTarget::Focused(CommandList list) const {
  if (list == CommandList::FileList) {
    const QModelIndex current = w_.list_.currentIndex();
    if (!current.isValid() || current.row() >= w_.model_.Announced()) return std::nullopt;
    const TMusicFileInfo& r = w_.model_.Record(current.row());
    return FocusedItem{r.ItemKind, r.FileType == kRowMPL};
  }
  if (list == CommandList::PlayList && w_.playPane_->Selection().Focused >= 0) return FocusedItem{};
  if (list == CommandList::Detail && w_.CommandDetail()) {
    const TMusicFileInfo* r = w_.CommandDetail()->FocusedEntry();
    if (r) return FocusedItem{r->ItemKind, r->FileType == kRowMPL};
  }
  return std::nullopt;  // jump-list rows are no items
}

PlayControls MainCommandTarget::Controls() const {
  PlayControls c = hooks.playControls ? hooks.playControls() : PlayControls{};
  c.playListShown = w_.playPane_->isVisible();
  return c;
}

void MainCommandTarget::OpenItemAsFolder(CommandList list) {
  if (list != CommandList::FileList) return;
  const QModelIndex current = w_.list_.currentIndex();
  if (current.isValid()) w_.OpenRow(current.row());
}

void MainCommandTarget::PlayItem(CommandList list, int slot) {
  if (hooks.playItem) return hooks.playItem(list, slot);
  // No slot can play anything yet: the messages a play without a usable slot gives.
  if (slot > 0) {
    w_.messages_.Warn(fmt::format("Player No.{} に登録されている実行ファイルが\n存在しません. 直ちに設定を変更して下さい.", slot));
    return;
  }
  std::string extension;
  if (list == CommandList::FileList) {
    const QModelIndex current = w_.list_.currentIndex();
    if (current.isValid() && current.row() < w_.model_.Announced())
      extension = DisplayText(w_.model_.Record(current.row()).FileExt);
  }
  w_.messages_.Warn(extension +
                    " 形式のファイルを再生出来るPlayerが見つかりません.\nもしも再生可能なPlayerがある場合は、[player設定]-[詳細設定]を\n変更してください.");
}

void MainCommandTarget::OpenNonMusic(CommandList list, bool textViewer) {
  if (hooks.openNonMusic) hooks.openNonMusic(list, textViewer);
}

void MainCommandTarget::ShowPopup(CommandList list, Popup) {
  QAbstractItemView* view = View(list);
  if (!view) return;
  const QModelIndex current = view->currentIndex();
  if (!current.isValid()) return;
  const QPoint at = view->viewport()->mapToGlobal(view->visualRect(current).bottomLeft());
  if (list == CommandList::FileList) return w_.ShowPopup(current.row(), at);
  if (list == CommandList::Detail && w_.CommandDetail()) {
    w_.CommandDetail()->UpdatePopupState();
    w_.CommandDetail()->Popup().popup(at);
  }
  if (list == CommandList::PlayList) return w_.playPane_->ShowEntryPopup(at);
}

void MainCommandTarget::RunPlayAction(PlayAction action) {
  if (hooks.playAction) hooks.playAction(action);
}

void MainCommandTarget::SelectAndMoveDown(CommandList list) {
  QAbstractItemView* view = View(list);
  if (!view || !view->model() || !view->currentIndex().isValid()) return;
  const QModelIndex current = view->currentIndex();
  view->selectionModel()->select(current, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
  const QModelIndex next = view->model()->index(current.row() + 1, current.column());
  if (next.isValid()) {
    view->selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
    view->scrollTo(next);
  }
}

void MainCommandTarget::SelectAllOrNone(CommandList list) {
  QAbstractItemView* view = View(list);
  if (!view || !view->model()) return;
  const int rows = view->model()->rowCount();
  if (rows > 0 && view->selectionModel()->selectedRows().size() == rows)
    view->clearSelection();
  else
    view->selectAll();
}

void MainCommandTarget::AddSelectionToPlayList(CommandList list) {
  if (hooks.addToPlayList) hooks.addToPlayList(list);
}

void MainCommandTarget::ClearPlayList() {
  if (hooks.clearPlayList) hooks.clearPlayList();
}

void MainCommandTarget::DeletePlayListSelection() {
  if (hooks.deletePlayListSelection) hooks.deletePlayListSelection();
}

void MainCommandTarget::OpenDialog(Dialog dialog, CommandList list) {
  switch (dialog) {
    case Dialog::KeyCustomization: return w_.ShowKeyWindow();
    case Dialog::DriveList: return w_.ShowDriveDialog();
    case Dialog::JumpFolder: return w_.ShowJumpFolderDialog();
    case Dialog::Sort: return w_.ShowSortWindow();
    default: break;
  }
  if (auto it = hooks.dialogs.find(dialog); it != hooks.dialogs.end() && it->second) it->second(list);
}

void MainCommandTarget::OpenRename(CommandList list, const std::string& captionSuffix) {
  if (hooks.rename) hooks.rename(list, captionSuffix);
}

void MainCommandTarget::TogglePane(Pane pane) {
  const MainActions& a = w_.actions_;
  switch (pane) {
    case Pane::AllFolders: return a.viewAllFolders->trigger();
    case Pane::JumpFolders: return a.viewJumpFolders->trigger();
    case Pane::PlayList: return a.viewPlayList->trigger();
    case Pane::StatusBar: return a.viewStatusBar->trigger();
    case Pane::ToolBars: return a.viewToolBars->trigger();
  }
}

void MainCommandTarget::RunIndexWork(IndexWork work) {
  switch (work) {
    case IndexWork::Update: return w_.UpdateFileInformation();
    case IndexWork::ReReadAll: return w_.ReReadAllFileInformation();
    case IndexWork::Delete:
      if (hooks.deleteIndex && w_.IndexIdle()) hooks.deleteIndex();
      return;
    case IndexWork::Refresh:
      if (hooks.refreshIndexes && w_.IndexIdle()) hooks.refreshIndexes();
      return;
  }
}

bool MainCommandTarget::ListFilling() const { return w_.busy_ || w_.scan_->ScanRunning(); }

bool MainCommandTarget::HasFileItems() const {
  for (int i = 0; i < w_.model_.Count(); ++i)
    if (w_.model_.Record(i).IsFile()) return true;
  return false;
}

void MainCommandTarget::OpenParentFolder() { w_.OpenListFolder({}, false); }

void MainCommandTarget::OpenPreviousFolder() { w_.OpenPreviousFolder(); }

void MainCommandTarget::OpenCurrentDriveRoot() { w_.OpenDriveRoot(); }

void MainCommandTarget::OpenFolder(const std::string& folder) {
  w_.OpenPath(folder);
  w_.list_.setFocus();
}

std::string MainCommandTarget::JumpFolder(int letter) const {
  if (letter < 0 || letter >= 26) return {};
  return w_.settings_.jumpFolders[static_cast<size_t>(letter)];
}

std::string MainCommandTarget::DriveFolder(int letter) const {
  if (letter < 0 || letter >= 26) return {};
  const std::string& last = w_.lastFolderOnDrive_[static_cast<size_t>(letter)];
  return last.empty() ? DriveRoot(letter) : last;
}

std::string MainCommandTarget::DriveRoot(int letter) const {
  if (hooks.driveRoot) return hooks.driveRoot(letter);
  if (letter < 0 || letter >= 26) return {};
  w_.RefreshDriveLetters();
  return w_.DriveLetters()[static_cast<size_t>(letter)];
}

bool MainCommandTarget::MainWindowActive() const {
  const QWidget* active = QApplication::activeWindow();
  return !active || active == &w_;
}

void MainCommandTarget::CloseMainWindow() { w_.close(); }

void MainCommandTarget::CloseActiveWindow() {
  QWidget* active = QApplication::activeWindow();
  (active ? active : &w_)->close();
}

void MainCommandTarget::CloseDetailWindow() {
  if (w_.CommandDetail()) w_.CommandDetail()->close();
}

void MainCommandTarget::OpenHelp() {
  if (hooks.openHelp) hooks.openHelp();
}

}  // namespace kadrel
