#include "ui/startup_logo.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>

#include "ui/logo_picture.h"

namespace kadrel {

// The splash is twice the about box's logo: 78 pixels are hard to see on today's screens.
constexpr int kSplashScale = 2;

TSplashWindow::TSplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picture_(this) {
  setAccessibleName(QStringLiteral("Kadrel"));
  setAttribute(Qt::WA_TranslucentBackground, false);
  const QImage logo = DrawKadrelLogo(kSplashScale);
  setFixedSize(logo.size());
  picture_.setGeometry(rect());
  picture_.SetPicture(logo);
  lifetime_.setSingleShot(true);
  lifetime_.setInterval(kLifetimeMs);
  connect(&lifetime_, &QTimer::timeout, this, &QWidget::hide);
}

void TSplashWindow::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  show();
  picture_.RebuildShape();
  repaint();
  lifetime_.start();
}

void TSplashWindow::HideWhenShown(QWidget* mainWindow) { mainWindow->installEventFilter(this); }

bool TSplashWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    hide();
    watched->removeEventFilter(this);
  }
  return false;
}

void TSplashWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() &&
      QApplication::activeWindow() != nullptr)
    hide();
  QWidget::changeEvent(event);
}

}  // namespace kadrel
