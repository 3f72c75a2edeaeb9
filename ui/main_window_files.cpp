// The main window's side of the rename window (and the other windows that work on
// the listed files): opening them for the focused entry and taking their results.

#include "ui/main_window.h"

#include "index/index_format.h"
#include "rename/rename_index.h"
#include "ui/rename_dialog.h"

namespace kadrel {

void MainWindow::ConnectFileWindows() {
  actions_.rename->setEnabled(true);
  connect(actions_.rename, &QAction::triggered, this, &MainWindow::RenameFocusedEntry);
}

void MainWindow::RenameFocusedEntry() {
  const QModelIndex focused = list_.currentIndex();
  if (phase_ != LifePhase::Running || !focused.isValid() || focused.row() >= model_.Count()) return;
  const TMusicFileInfo entry = model_.Record(focused.row());
  if (entry.ItemKind == kParentEntry) return;
  if (!RenameDialog::CaptionFor(entry)) {
    messages_.Warn("Kadrelファィル管理メモリ情報が不正です.\n名前の変更を中止します.");
    return;
  }
  // The scan must not list (or index) the folder while its entries change names.
  if (!StopAndWait()) return;
  const std::string folder = current_;
  watcher_.SetActive(false);
  RenameDialog dialog(entry, folder, messages_, this);
  dialog.exec();
  if (dialog.Outcome().status == RenameStatus::Renamed) ApplyRename(dialog.Outcome(), folder);
  UpdateWatcher();
}

void MainWindow::ApplyRename(const RenameOutcome& out, const std::string& folder) {
  if (out.status != RenameStatus::Renamed) return;
  if (folder != current_ || index_->CurrentFolder() != current_) {
    // Another folder (a detail window's): only its index block follows.
    TFolderIndex other(index_->Options(), messages_);
    RenameInIndexBlock(other, folder, out);
    return;
  }
  std::vector<TMusicFileInfo> entries;
  entries.reserve(static_cast<size_t>(model_.Count()));
  for (int i = 0; i < model_.Count(); ++i) entries.push_back(model_.Record(i));
  ApplyRenameToEntries(out, entries);
  for (int i = 0; i < model_.Count(); ++i)
    if (!(entries[static_cast<size_t>(i)] == model_.Record(i))) model_.Update(i, entries[static_cast<size_t>(i)]);
  Refresh();
  if (indexBusy_) return;
  indexBusy_ = true;
  index_->ReplaceFolderBlock(entries);
  indexBusy_ = false;
}

}  // namespace kadrel
