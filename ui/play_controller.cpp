#include "ui/play_controller.h"

#include <QCoreApplication>

namespace kadrel {

PlayController::PlayController(MainActions& actions, IMessageBox& messages, PlayerEngineSettings settings,
                               std::function<bool()> closing, std::function<void(int, const std::string&)> status,
                               std::function<void(bool)> statusTimer, QObject* parent)
    : QObject(parent), actions_(actions) {
  clock_ = std::make_unique<SteadyPlayClock>([] { QCoreApplication::processEvents(); }, closing);
  ConversationServices services;
  services.box = &messages;
  services.windows = &windows_;
  services.applicationClosing = closing;
  // Called on the conversation's thread: the controls change on the window's.
  services.pauseControl = [this](PauseControl control) {
    QMetaObject::invokeMethod(
        this,
        [this, control] {
          for (QAction* a : {actions_.pause, actions_.pauseButton}) {
            if (!a) continue;
            if (control == PauseControl::Enable || control == PauseControl::Disable) {
              a->setEnabled(control == PauseControl::Enable);
            } else {
              a->setCheckable(true);
              a->setChecked(control == PauseControl::ShowPressed);
            }
          }
        },
        Qt::QueuedConnection);
  };
  channels_ = std::make_unique<PlayerChannelFactory>(services);
  engine_ = std::make_unique<PlayerEngine>(std::move(settings), messages, *clock_, windows_, channels_.get());
  engine_->hooks.status = std::move(status);
  engine_->hooks.statusTimer = std::move(statusTimer);
  engine_->hooks.service = [] { QCoreApplication::processEvents(); };
  engine_->hooks.controls = [this](const PlayerControls& c) { ShowControls(c); };
  ShowControls({});
}

PlayController::~PlayController() = default;

void PlayController::ShowControls(const PlayerControls& c) {
  for (QAction* a : {actions_.replay, actions_.replayButton}) if (a) a->setEnabled(c.replay);
  for (QAction* a : {actions_.pause, actions_.pauseButton}) if (a) a->setEnabled(c.pause);
  for (QAction* a : {actions_.playerExit, actions_.playerExitButton}) if (a) a->setEnabled(c.playExit);
}

}  // namespace kadrel
