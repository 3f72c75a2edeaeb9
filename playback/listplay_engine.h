#pragma once
// Continuous play: a worker thread that plays the play list item after item, prepares
// the next item while the current one plays, and obeys the window's requests. The
// list is touched only through the window bridge; requests are single atomic words,
// and every wait ends at once on a request or on Stop.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "base/message_box.h"
#include "base/window_bridge.h"
#include "catalog/pl_music_info.h"
#include "playback/listplay_errors.h"
#include "playback/listplay_order.h"
#include "playback/listplay_ports.h"

namespace kadrel {

// Values of the request word.
enum ListPlayRequest : int {
  kRequestNone = 0,
  kRequestNext = 1,
  kRequestBack = 2,
  kRequestReplay = 3,
  kRequestPause = 4,
  kRequestResume = 5,
  kRequestPlayNow = 10,
};

// Values of the continuation word.
inline constexpr int kContinue = 10;
inline constexpr int kEndAfterThisItem = 1;

struct ListPlayEnvironment {
  TPLInfo& List;  // owned by the window; touched only through Bridge
  IWindowBridge& Bridge;
  IMessageBox& Box;
  IListPlayPlayers& Players;
  IListPlayPreparation& Preparation;
  IListPlayClock& Clock;
  // Runs on the window's thread when ListPlay has ended, after the marks were reset.
  std::function<void()> OnFinished;
};

class ListPlayEngine {
 public:
  explicit ListPlayEngine(ListPlayEnvironment env);
  ~ListPlayEngine();  // stops and waits
  ListPlayEngine(const ListPlayEngine&) = delete;
  ListPlayEngine& operator=(const ListPlayEngine&) = delete;

  // Starts at `startIndex` with `mode` (0, 1, 2, plus 10). False when already running.
  bool Start(int startIndex, int mode, unsigned seed = std::random_device{}());
  // Ends ListPlay now: the player is closed. Returns at once; Join waits.
  void Stop();
  // The worker's last step runs on the window's thread (OnFinished), so the window
  // itself waits for the end by watching Running(), not by Join.
  void Join();
  bool Running() const { return running_.load(); }

  void SetMode(int mode) { mode_.store(mode); }
  int Mode() const { return mode_.load(); }

  // The window's requests. Next, back and replay first ask whether to cancel a reserved
  // end; back needs an item to go back to (the list is read: call on the window thread).
  bool RequestNext() { return RequestMove(kRequestNext); }
  bool RequestBack();
  bool RequestReplay() { return RequestMove(kRequestReplay); }
  void RequestPause() { Post(kRequestPause); }
  void RequestResume() { Post(kRequestResume); }
  void RequestPlayNow(int index);
  void ReserveEnd();
  bool EndReserved() const { return continuation_.load() == kEndAfterThisItem; }
  // Makes `index` the next item (call on the window thread).
  bool SetNext(int index);

  // The positions last published by the worker.
  ListPlayPositions Positions() const;
  // An item is being unpacked or converted (after the preparation's delay).
  bool PreparingNext() const { return preparingNow_.load(); }

 private:
  void Run(int startIndex);
  bool RequestMove(int request);
  void Post(int request);
  void Wake();
  bool StopRequested() const { return stop_.load(); }
  bool MoveRequested() const;
  // Shows the box for `code`; false when ListPlay is to end.
  bool Report(int code, const ListPlayErrorDetail& detail);

  bool LoadCurrent(int& current, TPLMusicInfo& item);
  int PrepareNow(int index, int lastSlot, ListPlayPrepared& out);
  void StartPreparation(int index, int lastSlot, bool delay);
  int WaitForPreparation(std::optional<ListPlayPrepared>& out);
  void PreparationThread(int index, int lastSlot, bool delay);
  void ClosePlayer();
  void Launch(int slot, const std::string& file);
  bool WaitForEnd();  // true when the player ended by itself
  void Finish();

  ListPlayEnvironment env_;
  std::atomic<int> mode_{0};
  std::atomic<int> request_{kRequestNone};
  std::atomic<int> playNow_{-1};
  std::atomic<int> continuation_{kContinue};
  std::atomic<bool> stop_{false};
  std::atomic<bool> running_{false};
  std::atomic<bool> preparingNow_{false};

  mutable std::mutex mutex_;  // guards what follows, and is the waits' mutex
  std::condition_variable wake_;
  ListPlayPositions positions_;
  bool preparing_ = false;
  bool awaitingPreparation_ = false;
  int preparedResult_ = kPrepareNoResult;
  std::optional<ListPlayPrepared> prepared_;
  std::unique_ptr<IListPlayPlayer> player_;
  std::chrono::steady_clock::time_point launchedAt_{};
  bool launchFailed_ = false;

  std::mt19937 random_;
  std::thread worker_;
  std::thread preparer_;
};

}  // namespace kadrel
