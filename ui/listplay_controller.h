#pragma once
// The window side of continuous play: starts the engine (after its checks and the start
// dialog, or directly at an item), passes the window's requests on, knows the flags the
// controls follow, and ends the engine when the window closes without ever blocking
// the close. Every call of the engine's worker into the window goes through the
// controller's own bridge, so that closing it releases the worker at once.

#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QPointer>

#include "base/message_box.h"
#include "catalog/pl_music_info.h"
#include "playback/listplay_assembly.h"
#include "playback/listplay_engine.h"
#include "playback/media_routing.h"
#include "playlist/playlist_edit.h"
#include "ui/listplay_rules.h"

class QWidget;

namespace kadrel {

class ListPlayController : public QObject {
  Q_OBJECT

 public:
  // Makes the launcher, the preparation and the clock of one run; the start dialog may
  // have changed "LzhMeltStyle" just before.
  using PartsFactory = std::function<ListPlayParts(int lzhMeltStyle)>;

  struct Hooks {
    std::function<bool(int slot)> slotRecognised;  // the slot's program can take part
    std::function<void()> closeNormalPlayer;
    std::function<int()> lzhMeltStyle;
    std::function<void(int)> setLzhMeltStyle;
    std::function<void(const std::string&)> statusPanel0;
    std::function<void(bool on)> statusTimer;
    // Runs the start dialog; returns false when it was cancelled. Empty: the real one.
    std::function<bool(const StartDialogSetup&, StartDialogResult&)> startDialog;
  };

  ListPlayController(TPLInfo& list, std::function<void()> listChanged, IMessageBox& box, QWidget* window,
                     PartsFactory makeParts, Hooks hooks, QObject* parent = nullptr);
  ~ListPlayController() override;

  // "ListPlay : 開始": the checks, the start dialog, then the start.
  void StartWithDialog(int focusedIndex);
  // Play now while idle: the checks, a moment's wait, then the start at `index`.
  void StartDirect(int index);
  // Starts at once (the checks already done).
  bool Start(int index, int mode);
  // Replaces what the next runs are made of (tests give fakes).
  void SetPartsFactory(PartsFactory makeParts) { makeParts_ = std::move(makeParts); }
  // How long a direct start waits (tests shorten it).
  void SetDirectStartDelay(int ms) { directStartDelayMs_ = ms; }

  void Next();
  void Back();
  void Replay();
  void PlayNow(int index);  // while idle: StartDirect
  void SetNext(int index);
  void ReserveEnd(bool fromMenu);
  void TogglePause();
  void Pause();
  void Resume();
  void Stop();  // "演奏を終了する": the player is closed and ListPlay ends

  bool Running() const;
  bool StartPending() const { return startPending_; }
  bool EndReserved() const;
  bool Paused() const { return paused_; }
  int Mode() const { return mode_; }
  // The mode menu (guarded while the next item is prepared).
  ModeChange SetModeItem(ModeItem item, bool on);
  ListPlayFlags Flags() const;

  // Read on the window thread.
  ListPlayPositions Positions() const;
  NowNextNames StatusNames() const;
  MediaSnapshot MediaState() const;

  // For the play-list pane.
  ListPlayState CurrentState() const;
  void ApplyEditRequests(const ListPlayState& state);

  // The window closes: ListPlay ends; the worker is waited for at most `waitMs`, after
  // which it is left to the end of the process.
  void Shutdown(int waitMs = 5000);
  // True when Shutdown had to leave the worker running.
  bool Abandoned() const { return abandoned_; }

 Q_SIGNALS:
  // Running, positions, marks, pause or reservation changed.
  void stateChanged();

 private:
  struct Run;
  class NotifyingBridge;
  class WorkerBox;

  bool CheckBeforeStart();
  bool RunDialog(int focusedIndex, StartDialogResult& result);
  void ScheduleNotify();
  void Notify();
  void Finished();
  ListPlayEngine* Engine() const;

  TPLInfo& list_;
  std::function<void()> listChanged_;
  IMessageBox& box_;
  QPointer<QWidget> window_;
  PartsFactory makeParts_;
  Hooks hooks_;
  std::unique_ptr<Run> run_;
  int mode_ = 0;
  bool paused_ = false;
  bool finished_ = true;
  bool startPending_ = false;
  bool dialogOpen_ = false;
  bool notifyPending_ = false;
  bool shutDown_ = false;
  bool abandoned_ = false;
  int lastCurrent_ = -1;
  int directStartDelayMs_ = 1000;
};

}  // namespace kadrel
