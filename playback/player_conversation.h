#pragma once
// A conversation with one player over an injected transport, on a thread of its own:
// connect, hand over the file, learn when playing has started and ended, pause and
// resume on request, take a new file or replay, stop or quit the player, reconnect.
// Failures are shown through the message box with the channel's designed texts.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/message_box.h"
#include "base/window_bridge.h"
#include "playback/channel_clock.h"
#include "playback/channel_gate.h"
#include "playback/channel_profile.h"
#include "playback/channel_transport.h"
#include "playback/player_channel.h"
#include "playback/window_watcher.h"

namespace kadrel {

// The main window's pause button and its menu items.
enum class PauseControl { Enable, Disable, ShowPressed, ShowReleased };

struct ConversationServices {
  IMessageBox* box = nullptr;        // required
  IChannelClock* clock = nullptr;    // nullptr: the steady clock
  ConversationGate* gate = nullptr;  // nullptr: no program-wide turn
  // Pause-control changes run through `bridge` on the window's thread (directly when null).
  IWindowBridge* bridge = nullptr;
  std::function<void(PauseControl)> pauseControl;
  IWindowWatcher* windows = nullptr;          // for players that quit by closing their windows
  std::function<bool()> applicationClosing;  // no stop command while the program closes
};

class PlayerConversation final : public IPlayerChannel, private IChannelEvents {
 public:
  PlayerConversation(ChannelProfile profile, std::unique_ptr<IChannelTransport> transport,
                     ConversationServices services);
  // Stops the conversation (without quitting the player) and waits for its thread.
  ~PlayerConversation() override;
  PlayerConversation(const PlayerConversation&) = delete;
  PlayerConversation& operator=(const PlayerConversation&) = delete;

  void Start(const ChannelPlay& play) override;
  void NewFile(const std::string& file, const std::string& extra) override;
  void Pause() override;
  void Resume() override;
  void Replay() override;
  void Stop(bool quitPlayer) override;
  bool Running() const override;
  void Join() override;
  PlayerState State() const override;
  bool EndRequested() const override;

 private:
  using Lock = std::unique_lock<std::mutex>;

  void OnStatus(const std::string& status) override;
  void OnEvent(ChannelEvent event) override;

  void Run();
  bool ConnectWithAttempts(Lock& lock);
  bool StartNotifications(Lock& lock);
  void PlayLoop(Lock& lock);
  void WindDown(Lock& lock, bool notificationsOn);
  void ReportDisconnect(Lock& lock);

  bool GoOn(Lock& lock);
  void WaitForStatus(Lock& lock, const std::string& target, const std::string& secondTarget, int periodMs);
  void Reconnect(Lock& lock);
  // Waits `periodMs`, ended early by Stop (and, with `anyChange`, by any request or news).
  void Wait(Lock& lock, int periodMs, bool anyChange);
  // Shows the box of `code` with the lock released; an answer that ends stops the
  // conversation and reserves the end. Returns whether it goes on.
  bool Report(Lock& lock, int code);
  void EndByAnswer();
  void SetPauseControl(Lock& lock, PauseControl control);
  bool Execute(Lock& lock, ChannelCommand command, int timeoutMs);
  void Notify();
  void TakeStatus(const std::string& status);

  const ChannelProfile profile_;
  const std::unique_ptr<IChannelTransport> transport_;
  ConversationServices services_;
  SteadyChannelClock steadyClock_;
  IChannelClock& clock_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  ChannelPlay play_;
  std::string newFile_, newExtra_;
  int request_ = 0;  // 1 new file, 3 replay
  // The user's explicit pause or resume, until it is carried out. Kept apart from the
  // player's own pause, mirrored into paused_, so that neither overwrites the other.
  enum class PauseRequest { None, Pause, Resume } pauseRequest_ = PauseRequest::None;
  int continuation_ = 0;  // 1: quit the player at the end
  bool stop_ = false;
  bool endRequested_ = false;
  bool paused_ = false;
  bool connected_ = false;
  std::string status_;
  int disconnectState_ = 0;  // 1 the player left, 10 transport error, 11 unexpected message
  bool reconnectNeeded_ = false;
  bool quitSent_ = false;
  // "Playing" arrived since the play command, even if a later status replaced it before
  // the wait looked (a very short piece).
  bool sawPlaying_ = false;
  bool sawSecondEnd_ = false;  // likewise for the second end status: the piece is over  // the player's leaving is then expected, not reported
  unsigned long news_ = 0;  // counts requests and transport news, for the waits to wake on

  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace kadrel
