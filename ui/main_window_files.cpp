// The main window's side of the rename window (and the other windows that work on
// the listed files): opening them for the focused entry and taking their results.

#include "ui/main_window.h"

#include <algorithm>

#include "archive/lha_unpack.h"
#include "index/index_format.h"
#include "rename/rename_index.h"
#include "ui/refresh_window.h"
#include "ui/rename_dialog.h"
#include "ui/icon_set.h"
#include "ui/texts.h"

#include <QHeaderView>
#include <QThread>

namespace kadrel {

void MainWindow::ConnectFileWindows() {
  actions_.rename->setEnabled(true);
  connect(actions_.rename, &QAction::triggered, this, &MainWindow::RenameFocusedEntry);
  actions_.refreshIndex->setEnabled(true);
  connect(actions_.refreshIndex, &QAction::triggered, this, &MainWindow::ShowRefreshIndex);
  actions_.details->setEnabled(true);
  connect(actions_.details, &QAction::triggered, this, &MainWindow::OpenDetailWindow);
  actions_.editIndex->setEnabled(true);
  connect(actions_.editIndex, &QAction::triggered, this, &MainWindow::EditIndexTitles);

  // The same windows from the executor's commands.
  CommandHooks& hooks = Hooks();
  hooks.rename = [this](CommandList list, const std::string&) {
    if (list == CommandList::FileList) RenameFocusedEntry();
    if (list == CommandList::Detail && CommandDetail()) CommandDetail()->RenameFocused();
  };
  hooks.refreshIndexes = [this] { ShowRefreshIndex(); };
  hooks.deleteIndex = [this] { DeleteCurrentFolderIndex(); };
  actions_.deleteIndex->setEnabled(true);
  connect(actions_.deleteIndex, &QAction::triggered, this, [this] {
    if (IndexIdle()) DeleteCurrentFolderIndex();
  });
  hooks.dialogs[Dialog::Details] = [this](CommandList list) {
    if (list == CommandList::FileList) OpenDetailWindow();
  };
  hooks.dialogs[Dialog::TitleEditor] = [this](CommandList) { EditIndexTitles(); };
}

void MainWindow::DeleteCurrentFolderIndex() {
  if (phase_ != LifePhase::Running || current_.empty() || indexBusy_) return;
  indexBusy_ = true;
  index_->DeleteFolderBlock(current_, true);
  indexBusy_ = false;
}

// The index store's progress texts; a store working for the scan's thread posts them.
void MainWindow::ShowIndexStatus(int panel, const std::string& text) {
  auto show = [this, panel, shown = QString::fromStdString(text)] {
    SetStatus(panel == 0 ? &shown : nullptr, panel == 1 ? &shown : nullptr, nullptr);
  };
  if (QThread::currentThread() == thread())
    show();
  else
    QMetaObject::invokeMethod(this, show, Qt::QueuedConnection);
}

void MainWindow::ShowRefreshIndex() {
  if (phase_ != LifePhase::Running || !IndexIdle()) return;
  if (listPlayRunning && listPlayRunning()) {
    messages_.Warn("現在ListPlay中です.\nListPlayを終了させてから作業を行ってください.");
    return;
  }
  RefreshWindow window(
      *index_, indexBusy_,
      CaseBlindPresence([](const std::string& folder, const std::string& name, const std::string& archive) {
        return CheckItemPresence(folder, name, archive);
      }),
      [this](bool on) {
        if (on)
          statusTimer_.start();
        else
          statusTimer_.stop();
      },
      this);
  window.exec();
}

void MainWindow::EditIndexTitles() {
  if (phase_ != LifePhase::Running) return;
  if (scan_->ScanRunning() || busy_) {
    messages_.Warn("Index情報の編集は、ファイルリスト更新時、又は\n再検索待機時には出来ません.");
    return;
  }
  std::vector<TMusicFileInfo> entries;
  for (int i = 0; i < model_.Count(); ++i) entries.push_back(model_.Record(i));
  if (std::none_of(entries.begin(), entries.end(), [](const TMusicFileInfo& r) { return r.IsFile(); })) {
    messages_.Inform("Indexの編集が出来るアイテムが存在しません.\nIndex情報の編集を中止します.");
    return;
  }
  watcher_.SetActive(false);
  TitleEditor editor(entries, *index_, indexBusy_, current_, titleGrid_, GroupFont(5, "FJ", list_.font()), this);
  editor.exec();
  titleGrid_ = editor.GridSettings();
  if (settingsStore_) WriteTitleGridSettings(*settingsStore_, titleGrid_);
  for (int i = 0; i < model_.Count() && i < static_cast<int>(entries.size()); ++i)
    if (!(entries[static_cast<size_t>(i)] == model_.Record(i))) model_.Update(i, entries[static_cast<size_t>(i)]);
  Refresh();
  UpdateWatcher();
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

DetailWindow* MainWindow::OpenDetailWindow() {
  const QModelIndex focused = list_.currentIndex();
  if (!focused.isValid() || focused.row() >= model_.Count()) return nullptr;
  const TMusicFileInfo item = model_.Record(focused.row());
  if (!item.IsFile()) return nullptr;
  DetailContext context;
  context.messages = &messages_;
  context.columns = model_.Columns();
  for (int i = 0; i < static_cast<int>(context.columns.size()); ++i) context.widths.push_back(list_.header()->sectionSize(i));
  context.view = settings_.scan.view;
  context.infoGetTypes = settings_.scan.main.InfoGetType;
  context.sort = &scan_->Sort();
  context.sortOption = settings_.scan.sortOption;
  context.icons = MakeListIcons();
  context.font = GroupFont(4, "DW", list_.font());
  context.placement = detailPlacement_;
  context.applyRename = [this](const RenameOutcome& out, const std::string& folder) { ApplyRename(out, folder); };
  context.savePlacement = [this](const QRect& placement) {
    detailPlacement_ = placement;
    if (settingsStore_)
      WriteDetailPlacement(*settingsStore_, {placement.height(), placement.width(), placement.y(), placement.x()});
  };
  context.playerNames = settings_.playerNames;
  context.execute = [this](DetailWindow& window, std::string_view command) {
    commandDetail_ = &window;
    executor_->ExecuteUtf8(CommandList::Detail, command);
  };
  context.addToPlayList = [this](const std::string& folder, const std::vector<TMusicFileInfo>& entries) {
    std::vector<PlayListSource> sources;
    for (const TMusicFileInfo& r : entries) sources.push_back({folder, r});
    playPane_->Add(sources, -1);
  };
  context.openHelp = [this] {
    if (onOpenManual) onOpenManual();
  };
  // A window of its own, closed with the main window.
  auto* window = new DetailWindow(item, current_, std::move(context), this);
  details_.removeAll(nullptr);
  details_.append(window);
  dispatcher_->Watch(window->List(), CommandList::Detail);
  window->show();
  window->SetStatus(status_.Panel(0), status_.Panel(1));
  return window;
}

}  // namespace kadrel
