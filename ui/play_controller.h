#pragma once
// The window side of playing: the player engine with the window's clock, status bar and
// player controls.

#include <functional>
#include <memory>
#include <string>

#include <QObject>

#include "base/message_box.h"
#include "playback/player_engine.h"
#include "platform/player_channel_factory.h"
#include "platform/x11_window_watcher.h"
#include "ui/main_actions.h"

namespace kadrel {

class PlayController : public QObject {
  Q_OBJECT

 public:
  // `service` processes the window's events during waits; `closing` tells that the
  // program is closing; `status` writes a status panel (0 or 1).
  PlayController(MainActions& actions, IMessageBox& messages, PlayerEngineSettings settings,
                 std::function<bool()> closing, std::function<void(int, const std::string&)> status,
                 std::function<void(bool)> statusTimer, QObject* parent = nullptr);
  ~PlayController() override;

  PlayerEngine& Engine() { return *engine_; }

 private:
  void ShowControls(const PlayerControls& controls);

  MainActions& actions_;
  std::unique_ptr<SteadyPlayClock> clock_;
  X11WindowWatcher windows_;
  std::unique_ptr<PlayerChannelFactory> channels_;
  std::unique_ptr<PlayerEngine> engine_;
};

}  // namespace kadrel
