#pragma once
// The logo window shown while the main window is being made: borderless, centred,
// cut to the logo's outline. It hides itself when the main window shows, when it
// loses activation, or after three seconds.

#include <QTimer>
#include <QWidget>

#include "ui/cut_out_picture.h"

namespace kadrel {

class TSplashWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TSplashWindow(QWidget* parent = nullptr);

  // Shows the window centred on the primary screen and paints it at once.
  void ShowCentred();
  // Hides the logo as soon as `mainWindow` is shown.
  void HideWhenShown(QWidget* mainWindow);

  TKurinuki& Picture() { return picture_; }
  static constexpr int kLifetimeMs = 3000;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  TKurinuki picture_;
  QTimer lifetime_;
};

}  // namespace kadrel
