// The main window's continuous play: the play menu's start, the control menu and the
// ControlBar, the mode menu, the tray items, the commands of the executor, the status
// panel's "Now : " / "Next: " and the desktop's media controls.


#include "archive/unlha_turn.h"
#include "base/encoding.h"
#include "playback/lp_convert_for_play.h"
#include "playback/listplay_assembly.h"
#include "ui/main_window.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QString FileNameText(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return QString::fromStdString(DisplayText(slash == std::string::npos ? path : path.substr(slash + 1)));
}

}  // namespace

void MainWindow::SetupListPlay() {
  ListPlayController::Hooks hooks;
  hooks.slotRecognised = [this](int slot) {
    if (slot < 1 || slot > kPlayerSlots) return false;
    const TPlayer_data& p = Player().Settings().playerSlots[static_cast<size_t>(slot - 1)];
    return p.Recognised && !p.ExePath.empty();
  };
  hooks.closeNormalPlayer = [this] {
    if (Player().Controls().playExit)
      Player().PlayerExit();
    else
      Player().ClosePlayer();
  };
  hooks.lzhMeltStyle = [this] { return Player().Settings().lzhMeltStyle; };
  hooks.setLzhMeltStyle = [this](int value) {
    PlayerEngineSettings s = Player().Settings();
    s.lzhMeltStyle = value;
    Player().SetSettings(s);
    settings_.player.lzhMeltStyle = value;
  };
  hooks.statusPanel0 = [this](const std::string& text) {
    const QString q = QString::fromStdString(text);
    SetStatus(&q, nullptr, nullptr);
  };
  hooks.statusTimer = [this](bool on) {
    if (!on) statusTimer_.stop();
    else if (phase_ == LifePhase::Running) statusTimer_.start();
  };
  auto parts = [this](int lzhMeltStyle) {
    const PlayerEngineSettings& s = Player().Settings();
    ListPlayAssembly a;
    a.launcher.playerSlots = s.playerSlots;
    a.launcher.playerDetailInfo = s.playerDetailInfo;
    a.launcher.tempFolder = s.tempFolder;
    a.lzhMeltStyle = lzhMeltStyle;
    // Recomposer files and the SMF knife are converted on the preparation thread; its
    // status texts reach the window through the event queue.
    ConvertForPlayHooks conversion;
    conversion.status = [this](int field, const std::string& text) {
      QMetaObject::invokeMethod(this, [this, field, shown = QString::fromStdString(text)] {
        SetStatus(field == 0 ? &shown : nullptr, field == 1 ? &shown : nullptr, nullptr);
      }, Qt::QueuedConnection);
    };
    a.convert = MakeListPlayConversion({s.playerSlots, s.smfk}, messages_, std::move(conversion));
    return MakeListPlayParts(a, UnLhaManagement());
  };
  listPlay_ = std::make_unique<ListPlayController>(playPane_->List(), [this] { PlayListChanged(); }, messages_, this,
                                                   parts, std::move(hooks), this);

  // Normal play asks ListPlay to end before it plays, and hands "演奏を終了する" over.
  PlayerEngineHooks& player = Player().hooks;
  player.listPlayRunning = [this] { return listPlay_->Running(); };
  listPlayRunning = [this] { return listPlay_->Running(); };
  player.stopListPlay = [this] { listPlay_->Stop(); };
  player.quitListPlay = [this] { listPlay_->Stop(); };
  auto normalControls = player.controls;
  player.controls = [this, normalControls](const PlayerControls& c) {
    if (normalControls) normalControls(c);
    UpdateListPlayControls();
  };

  // The executor's play commands: ListPlay first, normal play for the rest.
  CommandHooks& commands = Hooks();
  auto normalAction = commands.playAction;
  commands.playAction = [this, normalAction](PlayAction action) {
    if (!RunListPlayAction(action) && normalAction) normalAction(action);
  };
  commands.playControls = [this] { return CurrentPlayControls(); };

  ConnectListPlayActions();
  SetupListPlayTray();
  connect(listPlay_.get(), &ListPlayController::stateChanged, this, [this] {
    UpdateListPlayControls();
    PublishMediaState();
  });

  // The pane asks ListPlay's state before an edit and hands on what the edit requests;
  // it follows the engine's flags and marks.
  playPane_->SetListPlayStateProvider([this] { return listPlay_->CurrentState(); });
  playPane_->SetListPlayRequestHandler([this](const ListPlayState& state) { listPlay_->ApplyEditRequests(state); });
  connect(this, &MainWindow::playListOpenedFromCommandLine, this, &MainWindow::StartListPlayWithDialog);
  PlayListChanged();
  UpdateListPlayControls();

  MediaRoutes routes;
  routes.listPlayRunning = [this] { return listPlay_->Running(); };
  routes.listPlayPause = [this] { listPlay_->Pause(); };
  routes.listPlayResume = [this] { listPlay_->Resume(); };
  routes.listPlayTogglePause = [this] { listPlay_->TogglePause(); };
  routes.listPlayNext = [this] { listPlay_->Next(); };
  routes.listPlayPrevious = [this] {
    if (HasPreviousItem(playPane_->List())) listPlay_->Back();  // a media key shows no refusal
  };
  routes.listPlayQuit = [this] { listPlay_->Stop(); };
  routes.normalPause = [this] { Player().PausePlayer(); };
  routes.normalResume = [this] { Player().ResumePlayer(); };
  routes.normalTogglePause = [this] {
    if (Player().Controls().pause) Player().TogglePause();
  };
  routes.normalExit = [this] {
    if (Player().Controls().playExit) Player().PlayerExit();
  };
  mediaRouter_ = std::make_unique<MediaControlRouter>(std::move(routes));
}

void MainWindow::ConnectListPlayActions() {
  for (QAction* a : {actions_.listPlayStart, actions_.listPlayButton})
    connect(a, &QAction::triggered, this, &MainWindow::StartListPlayWithDialog);
  for (QAction* a : {actions_.controls[2], actions_.backButton})
    connect(a, &QAction::triggered, this, [this] { listPlay_->Back(); });
  for (QAction* a : {actions_.controls[3], actions_.nextButton})
    connect(a, &QAction::triggered, this, [this] { listPlay_->Next(); });
  connect(actions_.controls[4], &QAction::triggered, this, [this] { listPlay_->ReserveEnd(true); });
  connect(actions_.endReserveButton, &QAction::triggered, this, [this] { listPlay_->ReserveEnd(false); });
  const std::pair<QAction*, ModeItem> modes[] = {{actions_.modeRandom, ModeItem::Random},
                                                 {actions_.modeShuffle, ModeItem::Shuffle},
                                                 {actions_.modeAutoEnd, ModeItem::EndWhenAllPlayed}};
  for (const auto& [action, item] : modes) {
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, item = item](bool on) {
      listPlay_->SetModeItem(item, on);
      UpdateListPlayControls();  // the checks follow the mode, also when refused
    });
  }
}

void MainWindow::SetupListPlayTray() {
  if (!tray_ || !tray_->contextMenu()) return;
  const QList<QAction*> items = tray_->contextMenu()->actions();
  for (size_t i = 0; i < trayItems_.size() && i < static_cast<size_t>(items.size()); ++i)
    trayItems_[i] = items[static_cast<qsizetype>(i)];
  const std::function<void()> handlers[] = {
      [this] { ReplayLastPlay(); },          [this] { TogglePlayerPause(); },
      [this] { ExitPlayer(); },              [this] { StartListPlayWithDialog(); },
      [this] { listPlay_->ReserveEnd(false); }, [this] { listPlay_->Next(); },
      [this] { listPlay_->Back(); }};
  for (size_t i = 0; i < trayItems_.size(); ++i)
    if (trayItems_[i]) connect(trayItems_[i], &QAction::triggered, this, handlers[i]);
}

int MainWindow::PlayListFocusedRow() const { return playPane_->Selection().Focused; }

void MainWindow::StartListPlayWithDialog() {
  if (phase_ == LifePhase::Closing) return;
  listPlay_->StartWithDialog(PlayListFocusedRow());
}

bool MainWindow::RunListPlayAction(PlayAction action) {
  if (!listPlay_) return false;
  ListPlayController& lp = *listPlay_;
  switch (action) {
    case PlayAction::StartListPlay: StartListPlayWithDialog(); return true;
    case PlayAction::PlayEntryNow:
      if (PlayListFocusedRow() >= 0) lp.PlayNow(PlayListFocusedRow());
      return true;
    case PlayAction::MakeFocusedEntryNext:
      if (PlayListFocusedRow() >= 0) lp.SetNext(PlayListFocusedRow());
      return true;
    case PlayAction::ToggleEndReservation: lp.ReserveEnd(false); return true;
    case PlayAction::NextPiece: lp.Next(); return true;
    case PlayAction::PreviousPiece: lp.Back(); return true;
    case PlayAction::ListPlayReplay: lp.Replay(); return true;
    case PlayAction::QuitListPlay: lp.Stop(); return true;
    default: break;
  }
  if (!lp.Running()) return false;
  switch (action) {
    case PlayAction::Replay: lp.Replay(); return true;
    case PlayAction::TogglePause: lp.TogglePause(); return true;
    case PlayAction::ClosePlayer: lp.Stop(); return true;
    default: return false;
  }
}

PlayControls MainWindow::CurrentPlayControls() const {
  const PlayerControls n = const_cast<MainWindow*>(this)->Player().Controls();
  return ComputePlayControls(listPlay_ ? listPlay_->Flags() : ListPlayFlags{}, {n.replay, n.pause, n.playExit});
}

void MainWindow::UpdateListPlayControls() {
  if (!listPlay_) return;
  const PlayControls c = CurrentPlayControls();
  const ListPlayFlags flags = listPlay_->Flags();
  playPane_->ApplyPlayControls(c);
  actions_.listPlayStart->setEnabled(c.startEnabled);
  QAction* start = actions_.listPlayButton;
  start->setCheckable(true);
  start->setChecked(c.listPlayRunning);
  start->setEnabled(true);
  start->setToolTip(U(c.listPlayRunning ? "ListPlay中です" : "ListPlayを開始します"));
  for (QAction* a : {actions_.replay, actions_.replayButton}) a->setEnabled(c.replayEnabled);
  for (QAction* a : {actions_.pause, actions_.pauseButton}) a->setEnabled(c.pauseEnabled);
  for (QAction* a : {actions_.playerExit, actions_.playerExitButton}) a->setEnabled(c.playerExitEnabled);
  for (QAction* a : {actions_.controls[2], actions_.backButton}) a->setEnabled(c.previousEnabled);
  for (QAction* a : {actions_.controls[3], actions_.nextButton}) a->setEnabled(c.nextEnabled);
  for (QAction* a : {actions_.controls[4], actions_.endReserveButton}) a->setEnabled(c.endReservationEnabled);
  if (c.listPlayRunning) {
    const PauseCaptions captions = PauseCaptionsFor(flags.paused);
    actions_.pause->setText(U(captions.menu));
    actions_.pauseButton->setText(U(captions.button));
    actions_.pauseButton->setToolTip(U(captions.button));
    if (trayItems_[1]) trayItems_[1]->setText(U(captions.tray));
  } else {
    const PauseCaptions captions = PauseCaptionsFor(actions_.pauseButton->isCheckable() && actions_.pauseButton->isChecked());
    actions_.pause->setText(U(captions.menu));
    actions_.pauseButton->setText(U(captions.button));
    actions_.pauseButton->setToolTip(U(captions.button));
    if (trayItems_[1]) trayItems_[1]->setText(U(captions.tray));
  }
  const ModeChecks checks = ChecksForMode(listPlay_->Mode());
  actions_.modeRandom->setChecked(checks.random);
  actions_.modeShuffle->setChecked(checks.shuffle);
  actions_.modeAutoEnd->setChecked(checks.endWhenAllPlayed);

  const bool trayEnabled[] = {c.replayEnabled, c.pauseEnabled,   c.playerExitEnabled, c.startEnabled,
                              c.endReservationEnabled, c.nextEnabled, c.previousEnabled};
  for (size_t i = 0; i < trayItems_.size(); ++i)
    if (trayItems_[i]) trayItems_[i]->setEnabled(trayEnabled[i]);
  if (trayItems_[2]) trayItems_[2]->setText(U(c.listPlayRunning ? "ListPlayを終了する" : "演奏を終了する"));
}

void MainWindow::PlayListChanged() { playPane_->Refresh(); }

void MainWindow::PlayStatusTick() {
  const QString panel1 = status_.Panel(1);
  StatusTickTexts texts;
  if (listPlay_ && listPlay_->Running())
    texts = ListPlayStatusTick(panel1.toStdString(), listPlay_->StatusNames());
  else
    texts = NormalPlayStatusTick(FileNameText(Player().PlayInfo().PlayFile).toStdString());
  const QString p1 = texts.panel1 ? QString::fromStdString(*texts.panel1) : QString();
  const QString tip = texts.tip ? QString::fromStdString(*texts.tip) : QString();
  SetStatus(nullptr, texts.panel1 ? &p1 : nullptr, texts.tip ? &tip : nullptr);
}

bool MainWindow::PublishMediaControls() {
  if (media_) return media_->Registered();
  media_ = std::make_unique<MediaControlsService>(*mediaRouter_);
  if (!media_->Register()) {
    media_.reset();
    return false;
  }
  mediaPublishing_ = std::make_unique<MediaPublishing>(*media_);
  // Normal play tells nothing when its player ends by itself: look now and then.
  mediaTimer_.setInterval(1000);
  connect(&mediaTimer_, &QTimer::timeout, this, &MainWindow::PublishMediaState);
  mediaTimer_.start();
  PublishMediaState();
  return true;
}

void MainWindow::PublishMediaState() {
  if (!mediaPublishing_) return;
  MediaSnapshot s;
  if (listPlay_->Running()) {
    s = listPlay_->MediaState();
  } else {
    const std::string file = Player().PlayInfo().PlayFile;
    if (!file.empty() && Player().Controls().playExit) {
      const bool paused = actions_.pauseButton->isCheckable() && actions_.pauseButton->isChecked();
      s.status = paused ? MediaPlaybackStatus::Paused : MediaPlaybackStatus::Playing;
      s.metadata = MetadataForFile(file);
    }
  }
  mediaPublishing_->Publish(s);
}

}  // namespace kadrel
