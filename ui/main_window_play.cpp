// The main window's play commands: the play menu, the play and control tool bars, Enter
// on a file and the file's pop-up menu all end here.

#include "ui/main_window.h"

#include "ui/detail_window.h"
#include "ui/texts.h"

namespace kadrel {

void MainWindow::SetupPlaying() {
  play_ = std::make_unique<PlayController>(
      actions_, messages_, settings_.player, [this] { return phase_ == LifePhase::Closing; },
      [this](int field, const std::string& text) {
        const QString q = QString::fromStdString(text);
        SetStatus(field == 0 ? &q : nullptr, field == 1 ? &q : nullptr, nullptr);
      },
      [this](bool on) {
        if (!on) statusTimer_.stop();
        else if (phase_ == LifePhase::Running) statusTimer_.start();
      },
      this);
  actions_.playBest->setEnabled(true);
  connect(actions_.playBest, &QAction::triggered, this, [this] { PlayItemInSlot(FocusedRow(), -1); });
  for (int n = 0; n < 6; ++n) {
    connect(actions_.playSlot[static_cast<size_t>(n)], &QAction::triggered, this,
            [this, n] { PlayItemInSlot(FocusedRow(), n + 1); });
    connect(actions_.playButtons[static_cast<size_t>(n)], &QAction::triggered, this,
            [this, n] { PlayItemInSlot(FocusedRow(), n + 1); });
  }
  for (QAction* a : {actions_.replay, actions_.replayButton}) connect(a, &QAction::triggered, this, &MainWindow::ReplayLastPlay);
  for (QAction* a : {actions_.pause, actions_.pauseButton})
    connect(a, &QAction::triggered, this, &MainWindow::TogglePlayerPause);
  for (QAction* a : {actions_.playerExit, actions_.playerExitButton})
    connect(a, &QAction::triggered, this, &MainWindow::ExitPlayer);

  // The commands of the executor that play or open the file list's focused item.
  CommandHooks& hooks = Hooks();
  hooks.playItem = [this](CommandList list, int slot) {
    if (list == CommandList::FileList) PlayItemInSlot(FocusedRow(), slot);
    if (list == CommandList::Detail) PlayDetailEntry(slot);
  };
  hooks.openNonMusic = [this](CommandList list, bool textViewer) {
    if (list == CommandList::FileList) OpenRowWithAssociation(FocusedRow(), textViewer ? 1 : 0);
    if (list == CommandList::Detail) OpenDetailEntryWithAssociation(textViewer ? 1 : 0);
  };
  hooks.playControls = [this] {
    const PlayerControls c = play_->Engine().Controls();
    PlayControls controls;
    controls.replayEnabled = c.replay;
    controls.pauseEnabled = c.pause;
    controls.playerExitEnabled = c.playExit;
    return controls;
  };
  hooks.playAction = [this](PlayAction action) {
    switch (action) {
      case PlayAction::Replay: return ReplayLastPlay();
      case PlayAction::TogglePause: return TogglePlayerPause();
      case PlayAction::ClosePlayer: return ExitPlayer();
      default: return;  // the ListPlay actions belong to the ListPlay engine
    }
  };
}

int MainWindow::FocusedRow() const { return list_.currentIndex().isValid() ? list_.currentIndex().row() : -1; }

void MainWindow::PlayItemInSlot(int row, int slot) {
  if (row < 0 || row >= model_.Announced()) return;
  // A copy: the list may change while the play waits for the window.
  const TMusicFileInfo item = model_.Record(row);
  const std::string folder = current_;
  if (slot == -1) {
    if (item.ItemKind == kParentEntry || item.ItemKind == kFolderEntry) return OpenRow(row);
    play_->Engine().PlayBest(item, folder);
  } else {
    play_->Engine().PlayInSlot(item, folder, slot);
  }
}

void MainWindow::OpenRowWithAssociation(int row, int mode) {
  if (row < 0 || row >= model_.Announced()) return;
  const TMusicFileInfo item = model_.Record(row);
  if (!item.IsFile()) return;
  play_->Engine().OpenNonMusic(item.ItemKind == kArchiveMember ? item.Archiver : std::string(), item.FullName(),
                               current_, mode);
}

// A detail window's entries lie in that window's own folder, whatever the main window
// shows now.
void MainWindow::PlayDetailEntry(int slot) {
  const DetailWindow* detail = CommandDetail();
  const TMusicFileInfo* focused = detail ? detail->FocusedEntry() : nullptr;
  if (!focused || !focused->IsFile()) return;
  const TMusicFileInfo item = *focused;
  if (slot == -1)
    play_->Engine().PlayBest(item, detail->Folder());
  else
    play_->Engine().PlayInSlot(item, detail->Folder(), slot);
}

void MainWindow::OpenDetailEntryWithAssociation(int mode) {
  const DetailWindow* detail = CommandDetail();
  const TMusicFileInfo* focused = detail ? detail->FocusedEntry() : nullptr;
  if (!focused || !focused->IsFile()) return;
  const TMusicFileInfo item = *focused;
  play_->Engine().OpenNonMusic(item.ItemKind == kArchiveMember ? item.Archiver : std::string(), item.FullName(),
                               detail->Folder(), mode);
}

// During ListPlay the player controls act on ListPlay.
void MainWindow::ReplayLastPlay() {
  if (!RunListPlayAction(PlayAction::Replay)) play_->Engine().Replay();
}
void MainWindow::TogglePlayerPause() {
  if (!RunListPlayAction(PlayAction::TogglePause)) play_->Engine().TogglePause();
}
void MainWindow::ExitPlayer() {
  if (!RunListPlayAction(PlayAction::ClosePlayer)) play_->Engine().PlayerExit();
}

}  // namespace kadrel
