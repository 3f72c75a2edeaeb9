#include "playback/player_conversation.h"

#include <chrono>

#include "playback/channel_errors.h"

namespace kadrel {

namespace {

// Status texts longer than this are cut, as the status item is read.
constexpr std::size_t kStatusLimit = 21;
constexpr int kConnectAttempts = 17;
constexpr int kConnectPeriodMs = 500;
constexpr int kReconnectAttempts = 11;
constexpr int kReconnectPeriodMs = 250;
constexpr int kCommandTimeoutMs = 3000;
constexpr int kAdviseTimeoutMs = 4000;
constexpr int kStopTimeoutMs = 6000;
constexpr int kPlayTimeoutMs = 10000;

}  // namespace

PlayerConversation::PlayerConversation(ChannelProfile profile, std::unique_ptr<IChannelTransport> transport,
                                       ConversationServices services)
    : profile_(std::move(profile)),
      transport_(std::move(transport)),
      services_(std::move(services)),
      clock_(services_.clock != nullptr ? *services_.clock : steadyClock_) {}

PlayerConversation::~PlayerConversation() {
  Stop(false);
  Join();
}

void PlayerConversation::Start(const ChannelPlay& play) {
  Join();  // a conversation object runs one thread at a time
  {
    std::lock_guard lock(mutex_);
    play_ = play;
    request_ = 0;
    pauseRequest_ = PauseRequest::None;
    continuation_ = 0;
    stop_ = false;
    endRequested_ = false;
    paused_ = false;
    status_.clear();
    sawPlaying_ = false;
    sawSecondEnd_ = false;
    disconnectState_ = 0;
    reconnectNeeded_ = false;
    quitSent_ = false;
  }
  running_ = true;
  thread_ = std::thread([this] { Run(); });
}

void PlayerConversation::NewFile(const std::string& file, const std::string& extra) {
  std::lock_guard lock(mutex_);
  newFile_ = file;
  newExtra_ = extra;
  request_ = 1;
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::Pause() {
  std::lock_guard lock(mutex_);
  pauseRequest_ = PauseRequest::Pause;
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::Resume() {
  std::lock_guard lock(mutex_);
  pauseRequest_ = PauseRequest::Resume;
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::Replay() {
  std::lock_guard lock(mutex_);
  request_ = 3;
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::Stop(bool quitPlayer) {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    if (quitPlayer) continuation_ = 1;
    ++news_;
  }
  changed_.notify_all();
  if (services_.gate != nullptr) services_.gate->Wake();
}

bool PlayerConversation::Running() const { return running_; }

void PlayerConversation::Join() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

PlayerState PlayerConversation::State() const {
  if (!running_) return PlayerState::Ended;
  std::lock_guard lock(mutex_);
  if (!status_.empty()) {
    if (status_ == profile_.playingStatus) return PlayerState::Playing;
    if (status_ == profile_.pausedStatus) return PlayerState::Paused;
    if (status_ == profile_.endedStatus || status_ == profile_.secondEndStatus) return PlayerState::Ended;
  }
  return PlayerState::Unknown;
}

bool PlayerConversation::EndRequested() const {
  std::lock_guard lock(mutex_);
  return endRequested_;
}

void PlayerConversation::OnStatus(const std::string& status) {
  std::lock_guard lock(mutex_);
  TakeStatus(status);
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::OnEvent(ChannelEvent event) {
  std::lock_guard lock(mutex_);
  switch (event) {
    case ChannelEvent::Disconnected:
      if (!quitSent_) disconnectState_ = 1;
      break;
    case ChannelEvent::ReconnectNeeded: reconnectNeeded_ = true; break;
    case ChannelEvent::Error: disconnectState_ = 10; break;
    case ChannelEvent::Unexpected: disconnectState_ = 11; break;
  }
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::TakeStatus(const std::string& status) {
  status_ = status.substr(0, kStatusLimit);
  if (status_ == profile_.playingStatus) sawPlaying_ = true;
  if (status_ == profile_.secondEndStatus) sawSecondEnd_ = true;
}

void PlayerConversation::Notify() {
  ++news_;
  changed_.notify_all();
}

void PlayerConversation::Run() {
  const bool haveTurn =
      services_.gate == nullptr || services_.gate->Acquire([this] {
        std::lock_guard lock(mutex_);
        return stop_;
      });
  Lock lock(mutex_);
  if (haveTurn && ConnectWithAttempts(lock)) {
    bool notificationsOn = false;
    if (!stop_ && !profile_.polled) notificationsOn = StartNotifications(lock);
    if (!stop_) PlayLoop(lock);
    WindDown(lock, notificationsOn);
    ReportDisconnect(lock);
  }
  lock.unlock();
  transport_->Shutdown();
  if (haveTurn && services_.gate != nullptr) services_.gate->Release();
  running_ = false;
}

bool PlayerConversation::ConnectWithAttempts(Lock& lock) {
  for (;;) {
    lock.unlock();
    const TransportSetup setup = transport_->Setup(*this);
    lock.lock();
    if (setup != TransportSetup::Ok) {
      Report(lock, setup == TransportSetup::NamesFailed ? 13 : 2);
      return false;
    }
    ConnectResult result = ConnectResult::NotYet;
    // Requests given meanwhile wait for the play; only Stop ends the attempts.
    for (int attempt = 0; attempt < kConnectAttempts && !stop_; ++attempt) {
      const pid_t pid = play_.pid;
      lock.unlock();
      result = transport_->Connect(pid);
      lock.lock();
      if (result != ConnectResult::NotYet) break;
      if (attempt + 1 < kConnectAttempts) Wait(lock, kConnectPeriodMs, false);
    }
    if (result == ConnectResult::Connected) {
      connected_ = true;
      return true;
    }
    if (stop_) return false;
    if (!Report(lock, 12)) return false;
    lock.unlock();
    transport_->Shutdown();
    lock.lock();
  }
}

bool PlayerConversation::StartNotifications(Lock& lock) {
  Wait(lock, 250, false);
  lock.unlock();
  const bool ok = transport_->StartStatusNotifications(kAdviseTimeoutMs);
  lock.lock();
  if (!ok) Report(lock, 22);
  return ok;
}

void PlayerConversation::PlayLoop(Lock& lock) {
  const bool listPlay = (play_.flags & kChannelListPlay) != 0;
  const bool loop = (play_.flags & kChannelLoopRequested) != 0;
  for (;;) {
    if (request_ == 1) {
      play_.file = newFile_;
      play_.extra = newExtra_;
    }
    request_ = 0;
    paused_ = false;
    status_.clear();
    sawPlaying_ = false;
    sawSecondEnd_ = false;
    if (!Execute(lock, ChannelCommand::Play, kPlayTimeoutMs) && !Report(lock, 32)) return;
    Wait(lock, profile_.polled ? 1000 : 500, false);
    {
      lock.unlock();
      const auto status = transport_->RequestStatus(kCommandTimeoutMs);
      lock.lock();
      if (status) TakeStatus(*status);
    }
    if (profile_.waitsForPlaying)
      WaitForStatus(lock, profile_.playingStatus, profile_.secondEndStatus, profile_.polled ? 1250 : 500);
    SetPauseControl(lock, PauseControl::Enable);
    if (disconnectState_ == 0) WaitForStatus(lock, profile_.endedStatus, profile_.secondEndStatus, 750);
    SetPauseControl(lock, PauseControl::Disable);
    Wait(lock, 500, false);

    const bool ended = stop_ || disconnectState_ != 0;
    bool again;
    if (listPlay)
      again = request_ == 3 && !ended;
    else if (loop)
      again = !ended;
    else
      again = request_ == 1 && !ended;
    if (!again) return;
  }
}

void PlayerConversation::WindDown(Lock& lock, bool notificationsOn) {
  const bool closing = services_.applicationClosing && services_.applicationClosing();
  if (notificationsOn && disconnectState_ == 0) {
    lock.unlock();
    const bool ok = transport_->StopStatusNotifications(kAdviseTimeoutMs);
    lock.lock();
    if (!ok) Report(lock, 42);
  }
  // A player that has left gets no commands: they could only fail.
  const bool reachable = connected_ && disconnectState_ == 0;
  const bool pending = request_ == 1 || request_ == 3;
  if (reachable && !closing && (pending || continuation_ == 1 || stop_)) {
    if (!Execute(lock, ChannelCommand::Stop, kStopTimeoutMs)) Report(lock, 34);
  }
  clock_.WaitFor(lock, changed_, std::chrono::milliseconds(500), [] { return false; });
  if (continuation_ == 1 && reachable) {
    if (profile_.quitsByClosingWindows) {
      lock.unlock();
      transport_->Disconnect();
      if (services_.windows != nullptr && play_.pid > 0) services_.windows->Close(play_.pid);
      lock.lock();
    } else {
      clock_.WaitFor(lock, changed_, std::chrono::milliseconds(500), [] { return false; });
      quitSent_ = true;
      if (!Execute(lock, ChannelCommand::Quit, kStopTimeoutMs)) Report(lock, 36);
    }
  } else {
    lock.unlock();
    transport_->Disconnect();
    lock.lock();
  }
  connected_ = false;
}

void PlayerConversation::ReportDisconnect(Lock& lock) {
  switch (disconnectState_) {
    case 1:
      if ((play_.flags & kChannelListPlay) != 0) Report(lock, 71);
      break;
    case 10: Report(lock, 91); break;
    case 11: Report(lock, 92); break;
    default: break;
  }
}

bool PlayerConversation::GoOn(Lock& lock) {
  if (stop_) return false;
  const PauseRequest asked = pauseRequest_;
  pauseRequest_ = PauseRequest::None;
  // Explicit requests only: a request that was lost cannot turn into its opposite.
  if ((asked == PauseRequest::Pause && !paused_) || (asked == PauseRequest::Resume && paused_)) {
    const bool pause = asked == PauseRequest::Pause;
    if (!Execute(lock, pause ? ChannelCommand::Pause : ChannelCommand::Resume, kCommandTimeoutMs)) {
      Report(lock, 39);
      return false;
    }
    status_ = pause ? profile_.pausedStatus : profile_.playingStatus;
    paused_ = pause;
  }
  return request_ == 0 && !stop_;
}

void PlayerConversation::WaitForStatus(Lock& lock, const std::string& target, const std::string& secondTarget,
                                       int periodMs) {
  std::string remembered = profile_.pausedStatus;
  do {
    if (!GoOn(lock)) return;
    Wait(lock, periodMs, true);
    if (reconnectNeeded_) {
      Reconnect(lock);
      if (stop_) return;
    }
    if (profile_.polled && connected_) {
      lock.unlock();
      const auto status = transport_->RequestStatus(kCommandTimeoutMs);
      lock.lock();
      if (status) TakeStatus(*status);
    }
    // The player's own pause (or play) is mirrored into the pause control. The paused
    // flag follows it too, so that no pause command is sent to a player already paused.
    if (status_ == remembered) {
      if (remembered == profile_.pausedStatus) {
        paused_ = true;
        SetPauseControl(lock, PauseControl::ShowPressed);
        remembered = profile_.playingStatus;
      } else {
        paused_ = false;
        SetPauseControl(lock, PauseControl::ShowReleased);
        remembered = profile_.pausedStatus;
      }
    }
    if (status_ == target || (target == profile_.playingStatus && sawPlaying_)) return;
  } while (status_ != secondTarget && !sawSecondEnd_ && disconnectState_ != 1);
}

void PlayerConversation::Reconnect(Lock& lock) {
  reconnectNeeded_ = false;
  for (;;) {
    ReconnectResult result = ReconnectResult::NotYet;
    for (int attempt = 0; attempt < kReconnectAttempts; ++attempt) {
      if (!GoOn(lock) || disconnectState_ == 1) {
        connected_ = false;
        return;
      }
      lock.unlock();
      result = transport_->Reconnect();
      lock.lock();
      if (result == ReconnectResult::Connected) return;
      if (result == ReconnectResult::Failed) break;
      if (attempt + 1 < kReconnectAttempts) Wait(lock, kReconnectPeriodMs, false);
    }
    const int code = result == ReconnectResult::Failed ? 81 : 82;
    const MessageRequest box = ChannelErrorMessage(code, (play_.flags & kChannelListPlay) != 0);
    lock.unlock();
    const MessageAnswer answer = services_.box->Show(box);
    lock.lock();
    if (answer == MessageAnswer::Retry) continue;
    if (answer == MessageAnswer::Ignore) {
      connected_ = false;  // carries on without a conversation, until Stop
      return;
    }
    connected_ = false;  // a broken conversation takes no stop or quit command
    EndByAnswer();
    return;
  }
}

void PlayerConversation::Wait(Lock& lock, int periodMs, bool anyChange) {
  const unsigned long seen = news_;
  clock_.WaitFor(lock, changed_, std::chrono::milliseconds(periodMs),
                 [&] { return stop_ || (anyChange && news_ != seen); });
}

bool PlayerConversation::Report(Lock& lock, int code) {
  const MessageRequest box = ChannelErrorMessage(code, (play_.flags & kChannelListPlay) != 0);
  lock.unlock();
  const MessageAnswer answer = services_.box->Show(box);
  lock.lock();
  if (ChannelAnswerGoesOn(code, answer)) return true;
  EndByAnswer();
  return false;
}

void PlayerConversation::EndByAnswer() {
  stop_ = true;
  continuation_ = 1;
  endRequested_ = true;
  Notify();
}

void PlayerConversation::SetPauseControl(Lock& lock, PauseControl control) {
  if (!services_.pauseControl) return;
  lock.unlock();
  if (services_.bridge != nullptr)
    services_.bridge->RunOnWindowThread([&] { services_.pauseControl(control); });
  else
    services_.pauseControl(control);
  lock.lock();
}

bool PlayerConversation::Execute(Lock& lock, ChannelCommand command, int timeoutMs) {
  const std::string file = play_.file;
  const std::string extra = play_.extra;
  lock.unlock();
  const bool ok = transport_->Execute(command, file, extra, timeoutMs);
  lock.lock();
  return ok;
}

}  // namespace kadrel
