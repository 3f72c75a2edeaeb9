#pragma once
// IMessageBox on Qt: a beep, then a modal box with the designed caption, text and
// buttons. Workers' boxes are shown on the window's thread through the bridge.

#include "base/message_box.h"
#include "base/window_bridge.h"

class QWidget;

namespace kadrel {

class QtMessageBox final : public IMessageBox {
 public:
  // `bridge` carries calls from other threads; without it they answer Cancel.
  explicit QtMessageBox(QWidget* parent = nullptr, IWindowBridge* bridge = nullptr)
      : parent_(parent), bridge_(bridge) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void SetBridge(IWindowBridge* bridge) { bridge_ = bridge; }

  MessageAnswer Show(const MessageRequest& request) override;
  void Beep(BeepKind kind) override;

 private:
  MessageAnswer ShowHere(const MessageRequest& request);

  QWidget* parent_;
  IWindowBridge* bridge_;
};

}  // namespace kadrel
