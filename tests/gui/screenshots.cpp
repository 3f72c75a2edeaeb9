#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>

namespace kadrel::test {
namespace {

QString ShotPath(const QString& name) {
  const QString folder = qEnvironmentVariable("KADREL_SHOTS_DIR");
  if (folder.isEmpty()) return {};
  QDir().mkpath(folder);
  return QDir(folder).filePath(name + QStringLiteral(".png"));
}

}  // namespace

void SaveShot(QWidget& widget, const QString& name) {
  const QString path = ShotPath(name);
  if (path.isEmpty()) return;
  QApplication::processEvents();
  widget.grab().save(path);
}

void SaveShapedShot(QWidget& window, const QString& name) {
  const QString path = ShotPath(name);
  if (path.isEmpty()) return;
  QApplication::processEvents();
  const QPixmap picture = window.grab();
  const int margin = 40;
  QImage shot(picture.size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
  QPainter p(&shot);
  QLinearGradient desktop(0, 0, shot.width(), shot.height());
  desktop.setColorAt(0, QColor(0x6a, 0x8c, 0x9e));
  desktop.setColorAt(1, QColor(0xc8, 0xd6, 0xdc));
  p.fillRect(shot.rect(), desktop);
  p.translate(margin, margin);
  if (!window.mask().isEmpty()) p.setClipRegion(window.mask());
  p.drawPixmap(0, 0, picture);
  p.end();
  shot.save(path);
}

}  // namespace kadrel::test
