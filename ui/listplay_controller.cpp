#include "ui/listplay_controller.h"

#include <chrono>
#include <random>
#include <thread>

#include <fmt/format.h>

#include <QDialog>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include "commands/command_executor.h"
#include "platform/qt_window_bridge.h"
#include "ui/listplay_start_dialog.h"

namespace kadrel {
namespace {

MessageAnswer EscapeAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoIgnore: return MessageAnswer::No;
    case MessageButtons::AbortRetryIgnore: return MessageAnswer::Abort;
    default: return MessageAnswer::Cancel;
  }
}

}  // namespace

// The worker's calls run on the window's thread as usual; afterwards the window is told
// (once for a burst of calls) that the list and the positions may have changed.
class ListPlayController::NotifyingBridge final : public IWindowBridge {
 public:
  NotifyingBridge(IWindowBridge& inner, ListPlayController& owner) : inner_(inner), owner_(owner) {}
  bool RunOnWindowThread(const std::function<void()>& call) override {
    return inner_.RunOnWindowThread([&] {
      call();
      owner_.ScheduleNotify();
    });
  }

 private:
  IWindowBridge& inner_;
  ListPlayController& owner_;
};

// The worker's boxes are shown on the window's thread through the run's bridge; once
// that is closed they get the answer of a box closed without a button, which ends
// ListPlay where it asks.
class ListPlayController::WorkerBox final : public IMessageBox {
 public:
  WorkerBox(IMessageBox& inner, IWindowBridge& bridge) : inner_(inner), bridge_(bridge) {}
  MessageAnswer Show(const MessageRequest& request) override {
    if (std::this_thread::get_id() == windowThread_) return inner_.Show(request);
    MessageAnswer answer = EscapeAnswer(request.buttons);
    bridge_.RunOnWindowThread([&] { answer = inner_.Show(request); });
    return answer;
  }
  void Beep(BeepKind kind) override {
    if (std::this_thread::get_id() == windowThread_) return inner_.Beep(kind);
    bridge_.RunOnWindowThread([&] { inner_.Beep(kind); });
  }

 private:
  IMessageBox& inner_;
  IWindowBridge& bridge_;
  const std::thread::id windowThread_ = std::this_thread::get_id();
};

// One run of the engine with what it refers to; the engine is destroyed first.
struct ListPlayController::Run {
  ListPlayParts parts;
  std::unique_ptr<QtWindowBridge> qtBridge;
  std::unique_ptr<NotifyingBridge> bridge;
  std::unique_ptr<WorkerBox> box;
  std::unique_ptr<ListPlayEngine> engine;
};

ListPlayController::ListPlayController(TPLInfo& list, std::function<void()> listChanged, IMessageBox& box,
                                       QWidget* window, PartsFactory makeParts, Hooks hooks, QObject* parent)
    : QObject(parent),
      list_(list),
      listChanged_(std::move(listChanged)),
      box_(box),
      window_(window),
      makeParts_(std::move(makeParts)),
      hooks_(std::move(hooks)) {}

ListPlayController::~ListPlayController() { Shutdown(); }

ListPlayEngine* ListPlayController::Engine() const { return run_ ? run_->engine.get() : nullptr; }

bool ListPlayController::Running() const {
  const ListPlayEngine* e = Engine();
  return e != nullptr && !finished_ && e->Running();
}

bool ListPlayController::EndReserved() const { return Running() && Engine()->EndReserved(); }

ListPlayFlags ListPlayController::Flags() const {
  const bool running = Running();
  return {running, running && Engine()->EndReserved(), running && Engine()->PreparingNext(), running && paused_};
}

bool ListPlayController::CheckBeforeStart() {
  if (list_.Items.empty()) {
    box_.Inform("プレイリストには何も登録されていません");
    return false;
  }
  for (const auto& item : list_.Items) {
    if (item->Slot == kAutomaticSlot) continue;
    if (hooks_.slotRecognised && hooks_.slotRecognised(item->Slot)) continue;
    box_.Error(fmt::format("Player No.{}は、ListPlayに対応していません.\n使用するPlayerを変更してからListPlayを行ってください.",
                           item->Slot));
    return false;
  }
  if (hooks_.closeNormalPlayer) hooks_.closeNormalPlayer();
  return true;
}

bool ListPlayController::RunDialog(int focusedIndex, StartDialogResult& result) {
  StartDialogSetup setup;
  setup.mode = mode_;
  setup.focusedIndex = focusedIndex >= 0 && focusedIndex < static_cast<int>(list_.Items.size()) ? focusedIndex : -1;
  setup.lzhMeltStyle = hooks_.lzhMeltStyle ? hooks_.lzhMeltStyle() : 0;
  if (hooks_.startDialog) return hooks_.startDialog(setup, result);
  ListPlayStartDialog dialog(setup, window_.data());
  if (dialog.exec() != QDialog::Accepted) return false;
  result = dialog.Result();
  return true;
}

void ListPlayController::StartWithDialog(int focusedIndex) {
  if (shutDown_ || Running() || startPending_ || dialogOpen_) return;
  if (!CheckBeforeStart()) return;
  StartDialogResult result;
  dialogOpen_ = true;  // a second start from the keys while the dialog is up is ignored
  const bool accepted = RunDialog(focusedIndex, result);
  dialogOpen_ = false;
  if (!accepted || shutDown_) return;
  if (hooks_.setLzhMeltStyle) hooks_.setLzhMeltStyle(result.lzhMeltStyle);
  Start(result.startIndex, result.mode);
}

void ListPlayController::StartDirect(int index) {
  if (shutDown_ || Running() || startPending_ || dialogOpen_) return;
  if (!CheckBeforeStart()) return;
  startPending_ = true;
  if (hooks_.statusPanel0) hooks_.statusPanel0("ListPlay開始待機中..");
  if (hooks_.statusTimer) hooks_.statusTimer(false);
  QTimer::singleShot(directStartDelayMs_, this, [this, index] {
    if (!startPending_) return;  // the window closed meanwhile
    startPending_ = false;
    if (hooks_.statusTimer) hooks_.statusTimer(true);
    Start(index, mode_);
  });
}

bool ListPlayController::Start(int index, int mode) {
  if (shutDown_ || Running() || list_.Items.empty()) return false;
  if (index < 0 || index >= static_cast<int>(list_.Items.size())) index = 0;
  if (run_) {
    run_->engine->Join();  // the last run has ended: its worker is on its way out
    run_.reset();
  }
  mode_ = mode;
  auto run = std::make_unique<Run>();
  run->parts = makeParts_(hooks_.lzhMeltStyle ? hooks_.lzhMeltStyle() : 0);
  run->qtBridge = std::make_unique<QtWindowBridge>(this);
  run->bridge = std::make_unique<NotifyingBridge>(*run->qtBridge, *this);
  run->box = std::make_unique<WorkerBox>(box_, *run->bridge);
  run->engine = std::make_unique<ListPlayEngine>(ListPlayEnvironment{list_, *run->bridge, *run->box,
                                                                     *run->parts.players, *run->parts.preparation,
                                                                     *run->parts.clock, [this] { Finished(); }});
  run_ = std::move(run);
  finished_ = false;
  paused_ = false;
  lastCurrent_ = -1;
  const bool started = run_->engine->Start(index, mode);
  if (!started) finished_ = true;
  Notify();
  return started;
}

void ListPlayController::Finished() {
  finished_ = true;
  paused_ = false;
  ScheduleNotify();
}

void ListPlayController::ScheduleNotify() {
  if (notifyPending_) return;
  notifyPending_ = true;
  QMetaObject::invokeMethod(this, [this] { Notify(); }, Qt::QueuedConnection);
}

void ListPlayController::Notify() {
  notifyPending_ = false;
  const int current = Positions().Current;
  if (current != lastCurrent_) paused_ = false;  // a new piece starts unpaused
  lastCurrent_ = current;
  if (listChanged_) listChanged_();
  Q_EMIT stateChanged();
}

void ListPlayController::Next() {
  if (Running() && Engine()->RequestNext()) {
    paused_ = false;
    ScheduleNotify();
  }
}

void ListPlayController::Back() {
  if (Running() && Engine()->RequestBack()) {
    paused_ = false;
    ScheduleNotify();
  }
}

void ListPlayController::Replay() {
  if (Running() && Engine()->RequestReplay()) {
    paused_ = false;
    ScheduleNotify();
  }
}

void ListPlayController::PlayNow(int index) {
  if (!Running()) return StartDirect(index);
  Engine()->RequestPlayNow(index);
  paused_ = false;
  ScheduleNotify();
}

void ListPlayController::SetNext(int index) {
  if (Running() && Engine()->SetNext(index)) ScheduleNotify();
}

void ListPlayController::ReserveEnd(bool fromMenu) {
  if (!Running() || Engine()->EndReserved()) return;
  Engine()->ReserveEnd();
  ScheduleNotify();
  if (fromMenu) box_.Inform("現在演奏中の曲でListPlayを終了します.");
}

void ListPlayController::TogglePause() { paused_ ? Resume() : Pause(); }

void ListPlayController::Pause() {
  if (!Running() || paused_) return;
  Engine()->RequestPause();
  // The pause belongs to the piece playing now, even if no notice of its start has
  // reached the window yet; only a later piece starts unpaused.
  lastCurrent_ = Positions().Current;
  paused_ = true;
  ScheduleNotify();
}

void ListPlayController::Resume() {
  if (!Running() || !paused_) return;
  Engine()->RequestResume();
  paused_ = false;
  ScheduleNotify();
}

void ListPlayController::Stop() {
  startPending_ = false;
  if (ListPlayEngine* e = Engine()) e->Stop();
  ScheduleNotify();
}

ModeChange ListPlayController::SetModeItem(ModeItem item, bool on) {
  const bool running = Running();
  if (running && Engine()->PreparingNext()) {
    box_.Inform(std::string(commandtext::kNextNotReady));
    ScheduleNotify();  // the menu's checks go back
    return {mode_, true, false};
  }
  const ModeChange change = ApplyModeItem(list_, mode_, item, on, EndReserved(), running);
  if (change.refused) {
    box_.Inform(kEndOptionRefused);
  } else {
    mode_ = change.mode;
    if (running) Engine()->SetMode(mode_);
  }
  ScheduleNotify();
  return change;
}

ListPlayPositions ListPlayController::Positions() const { return Running() ? DerivePositions(list_) : ListPlayPositions{}; }

NowNextNames ListPlayController::StatusNames() const { return NamesForStatus(list_, Positions(), EndReserved()); }

MediaSnapshot ListPlayController::MediaState() const {
  MediaSnapshot s;
  if (!Running()) return s;
  const ListPlayPositions pos = Positions();
  s.status = paused_ ? MediaPlaybackStatus::Paused : MediaPlaybackStatus::Playing;
  if (pos.Current >= 0 && pos.Current < static_cast<int>(list_.Items.size()))
    s.metadata = MetadataForItem(*list_.Items[pos.Current]);
  s.canGoNext = true;
  s.canGoPrevious = HasPreviousItem(list_);
  return s;
}

ListPlayState ListPlayController::CurrentState() const {
  ListPlayState s;
  s.Running = Running();
  if (!s.Running) return s;
  const ListPlayPositions pos = Positions();
  s.CurrentIndex = pos.Current;
  s.NextIndex = pos.Next;
  s.NextReserved = pos.Next >= 0 && !EndReserved();
  s.PreparingNext = Engine()->PreparingNext();
  return s;
}

void ListPlayController::ApplyEditRequests(const ListPlayState& state) {
  if (!Running()) return;
  if (state.EndRequested) return Stop();
  if (state.EndReserved) ReserveEnd(false);
  if (state.NextRequested) Next();
  ScheduleNotify();  // the list was edited
}

void ListPlayController::Shutdown(int waitMs) {
  if (shutDown_) return;
  shutDown_ = true;
  startPending_ = false;
  if (!run_) return;
  // Closing the bridge first releases a worker waiting for the window; its questions
  // are answered as closed boxes from now on.
  run_->qtBridge->Close();
  run_->engine->Stop();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (run_->engine->Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (run_->engine->Running()) {
    // A worker stuck past the wait keeps what it refers to until the process ends.
    abandoned_ = true;
    (void)run_.release();
  } else {
    run_.reset();
  }
  finished_ = true;
  paused_ = false;
}

}  // namespace kadrel
