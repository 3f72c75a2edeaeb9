// The main window's side of the play list: placing the pane, the menu items, commands
// and pop-up items that reach it, the load and save dialogs, and play lists named on
// the command line or handed over by a second start.

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "catalog/format_table.h"
#include "playback/slot_choice.h"
#include "playlist/playlist_texts.h"
#include "ui/detail_window.h"
#include "ui/path_text.h"
#include "ui/main_window.h"
#include "ui/play_list_dialogs.h"
#include "ui/play_list_view.h"
#include "ui/texts.h"

namespace kadrel {
namespace {


bool IsPlayListPath(const QString& path) {
  return path.endsWith(QStringLiteral(".mpl"), Qt::CaseInsensitive) && QFileInfo(path).isFile();
}

}  // namespace

QTreeView& MainWindow::PlayListView() { return playPane_->View(); }

void MainWindow::SetupPlayListPane() {
  PlayListPane& pane = *playPane_;
  pane.SetColumns(settings_.playListColumns, settings_.playListWidths);
  pane.SetListOptions(settings_.scan.view);
  pane.SetSlotFinder([this](const std::string& path) {
    const int slot = ListPlaySlotForFile(settings_.player.playerSlots, path);
    return slot < 1 ? 0 : slot;
  });
  pane.SetStatusSink([this](std::string_view text) {
    status_.SetPanel(0, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  });
  pane.closing = [this] { return phase_ == LifePhase::Closing; };
  // Dragging the splitter never hides the pane's buttons.
  rightSplit_->setChildrenCollapsible(false);

  connect(&pane, &PlayListPane::showRequested, this, [this] {
    if (!playPane_->isVisible()) ShowPlayListPane(true);
  });
  connect(&pane, &PlayListPane::hideRequested, this, [this] { ShowPlayListPane(false); });
  connect(&pane, &PlayListPane::placementToggled, this, [this] { SetPlayListAbove(!playPane_->Above()); });
  connect(&pane, &PlayListPane::loadDialogRequested, this, &MainWindow::ShowLoadPlayListDialog);
  connect(&pane, &PlayListPane::saveDialogRequested, this, [this] { ShowSavePlayListDialog(); });
  connect(&pane, &PlayListPane::listChanged, this, [this] {
    const bool any = !playPane_->List().Items.empty();
    actions_.clearPlayList->setEnabled(any);
    actions_.clearPlayListButton->setEnabled(any);
    actions_.savePlayList->setEnabled(any);
  });
  // The pane's ListPlay buttons and its play-now requests go where the command executor's
  // do, until the ListPlay controller gives the pane a handler of its own.
  pane.SetPlayActionHandler([this](PlayAction action) { commandTarget_->RunPlayAction(action); });
  pane.View().SetSingleClickOpen(settings_.scan.view.SingleClickOpen);

  // Menus and buttons.
  actions_.loadPlayList->setEnabled(true);
  actions_.addToPlayList->setEnabled(true);
  connect(actions_.loadPlayList, &QAction::triggered, this, &MainWindow::ShowLoadPlayListDialog);
  connect(actions_.savePlayList, &QAction::triggered, this, [this] { ShowSavePlayListDialog(); });
  connect(actions_.addToPlayList, &QAction::triggered, this, [this] { AddFileListSelectionToPlayList(); });
  connect(actions_.clearPlayList, &QAction::triggered, playPane_, &PlayListPane::Clear);
  connect(actions_.clearPlayListButton, &QAction::triggered, playPane_, &PlayListPane::Clear);
  Q_EMIT pane.listChanged();

  // Commands.
  CommandHooks& hooks = commandTarget_->hooks;
  hooks.addToPlayList = [this](CommandList list) {
    if (list == CommandList::FileList) AddFileListSelectionToPlayList();
    if (list == CommandList::Detail && CommandDetail()) {
      std::vector<PlayListSource> sources;
      for (const TMusicFileInfo& r : CommandDetail()->SelectedEntries()) sources.push_back({CommandDetail()->Folder(), r});
      playPane_->Add(sources, -1);
    }
  };
  hooks.clearPlayList = [this] { playPane_->Clear(); };
  hooks.deletePlayListSelection = [this] { playPane_->DeleteSelection(); };
  hooks.dialogs[Dialog::LoadPlayList] = [this](CommandList) { ShowLoadPlayListDialog(); };
  hooks.dialogs[Dialog::SavePlayList] = [this](CommandList) { ShowSavePlayListDialog(); };
}

void MainWindow::ApplyPlayListColumns(const std::vector<int32_t>& ids) {
  for (auto [id, width] : playPane_->ColumnWidths()) settings_.playListWidths[static_cast<size_t>(id - 1)] = width;
  settings_.playListColumns.assign(ids.begin(), ids.end());
  playPane_->SetColumns(settings_.playListColumns, settings_.playListWidths);
}

void MainWindow::ShowPlayListPane(bool on) {
  actions_.viewPlayList->setChecked(on);
  if (!on) {
    if (playPane_->isVisible()) settings_.playListHeight = playPane_->height();
    playPane_->setVisible(false);
    return;
  }
  playPane_->setVisible(true);
  const int total = rightSplit_->height();
  const int pane = std::clamp(settings_.playListHeight, 20, std::max(20, total - 20));
  const QList<int> sizes = playPane_->Above() ? QList<int>{pane, std::max(0, total - pane)}
                                              : QList<int>{std::max(0, total - pane), pane};
  rightSplit_->setSizes(sizes);
}

void MainWindow::SetPlayListAbove(bool above) {
  if (above == playPane_->Above()) return;
  const QList<int> sizes = rightSplit_->sizes();
  rightSplit_->insertWidget(above ? 0 : 1, playPane_);
  rightSplit_->setStretchFactor(above ? 1 : 0, 1);
  rightSplit_->setStretchFactor(above ? 0 : 1, 0);
  if (sizes.size() == 2) rightSplit_->setSizes({sizes[1], sizes[0]});
  playPane_->SetAbove(above);
}

std::vector<PlayListSource> MainWindow::FileListSelectionSources() const {
  std::vector<PlayListSource> sources;
  if (!list_.selectionModel()) return sources;
  QModelIndexList rows = list_.selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& index : rows) {
    if (index.row() >= model_.Announced()) continue;
    sources.push_back({current_, model_.Record(index.row())});
  }
  return sources;
}

void MainWindow::AddFileListSelectionToPlayList(int row) { playPane_->Add(FileListSelectionSources(), row); }

std::string MainWindow::FocusedPlayListFile() const {
  const QModelIndex focused = list_.currentIndex();
  if (!focused.isValid() || focused.row() >= model_.Announced()) return {};
  const TMusicFileInfo& r = model_.Record(focused.row());
  if (r.FileType != kRowMPL || r.ItemKind != kLooseFile) return {};
  return current_ + r.FullName();
}

void MainWindow::ShowLoadPlayListDialog() {
  PlayListLoadDialog dialog(FocusedPlayListFile(), playPane_->List().Items.empty(), this);
  if (!dialog.Run()) return;
  const std::string path = dialog.Path();
  if (dialog.Method() == PlayListLoadMethod::Detail) {
    OpenDetailWindow();
    return;
  }
  // Saving first: the load goes on only once the list was saved.
  if (dialog.SaveFirst() && !ShowSavePlayListDialog(true)) return;
  playPane_->Load(path, dialog.Method() == PlayListLoadMethod::Replace);
}

bool MainWindow::ShowSavePlayListDialog(bool firstStepOfLoading) {
  const TPLInfo& list = playPane_->List();
  if (list.Items.empty()) {
    messages_.Warn(std::string(playlist_text::kEmptyList));
    return false;
  }
  PlayListSaveDialog dialog(list.FileName, FocusedPlayListFile(), firstStepOfLoading, this);
  if (!dialog.Run()) return false;
  return playPane_->Save(dialog.Path(), SaveAsksBeforeOverwrite(dialog.Target())) == SaveResult::Saved;
}

void MainWindow::RunPlayListFileCommand(PlayListMenuCommand command, int row) {
  if (row < 0 || row >= model_.Announced()) return;
  const std::string path = current_ + model_.Record(row).FullName();
  switch (command) {
    case PlayListMenuCommand::LoadReplacing: playPane_->Load(path, true); break;
    case PlayListMenuCommand::LoadAppending: playPane_->Load(path, false); break;
    case PlayListMenuCommand::SaveToFile: playPane_->Save(path, true); break;
    case PlayListMenuCommand::OpenDetail:
      list_.setCurrentIndex(model_.index(row, 0));
      OpenDetailWindow();
      break;
    default: break;
  }
}

bool MainWindow::LoadPlayListArguments(const QStringList& paths) {
  bool loaded = false;
  for (const QString& path : paths) {
    if (path.startsWith(QLatin1Char('-')) || !IsPlayListPath(path)) continue;
    if (playPane_->Load(PathBytes(path), false) == LoadResult::Loaded) loaded = true;
  }
  if (!loaded) return false;
  ShowPlayListPane(true);
  Q_EMIT playListOpenedFromCommandLine();
  return true;
}

}  // namespace kadrel
