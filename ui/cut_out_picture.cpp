#include "ui/cut_out_picture.h"

#include <QPainter>

#include "ui/logo_picture.h"

namespace kadrel {

TKurinuki::TKurinuki(QWidget* parent) : QWidget(parent), key_(kLogoKeyColour) {
  setAccessibleName(QStringLiteral("Kadrel logo"));
}

void TKurinuki::SetPicture(const QImage& picture) {
  picture_ = picture;
  RebuildShape();
  update();
}

void TKurinuki::SetKColor(QRgb key) {
  key_ = key;
  RebuildShape();
}

void TKurinuki::SetKurinuki(bool on) {
  cutOut_ = on;
  ApplyShape();
}

void TKurinuki::SetHyouji(bool shown) {
  shown_ = shown;
  update();
}

void TKurinuki::RebuildShape() {
  QWidget* holder = window();
  const QSize windowSize = holder == this ? size() : holder->size();
  plainRegion_ = QRegion(QRect(QPoint(0, 0), windowSize));
  if (picture_.isNull() || size().isEmpty()) {
    cutOutRegion_ = plainRegion_;
  } else {
    // The picture as it is drawn: stretched to the control.
    const QImage work = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QPoint offset = holder == this ? QPoint() : mapTo(holder, QPoint());
    cutOutRegion_ = CutOutShape(work, key_, offset, windowSize);
  }
  ApplyShape();
}

void TKurinuki::ApplyShape() {
  QWidget* holder = window();
  if (holder == this && !isWindow()) return;
  const bool cut = cutOut_ && isVisibleTo(holder);
  holder->setMask(cut ? cutOutRegion_ : plainRegion_);
}

void TKurinuki::paintEvent(QPaintEvent*) {
  if (!shown_ || picture_.isNull()) return;
  QPainter p(this);
  p.drawImage(rect(), picture_);
}

void TKurinuki::resizeEvent(QResizeEvent*) { RebuildShape(); }

}  // namespace kadrel
