#pragma once
// A picture control that cuts its window's shape out of the picture: pixels of the
// key colour are left out of the window, so a borderless window takes the picture's
// outline.

#include <QImage>
#include <QRegion>
#include <QWidget>

namespace kadrel {

class TKurinuki : public QWidget {
  Q_OBJECT

 public:
  explicit TKurinuki(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }
  // The key colour; changing it rebuilds the shape.
  void SetKColor(QRgb key);
  QRgb KColor() const { return key_; }
  // Cut-out on or off (on by default); re-applies the shape.
  void SetKurinuki(bool on);
  bool Kurinuki() const { return cutOut_; }
  // Picture shown or hidden (shown by default).
  void SetHyouji(bool shown);
  bool Hyouji() const { return shown_; }

  // The shapes kept for the window that holds the control.
  const QRegion& CutOutRegion() const { return cutOutRegion_; }
  const QRegion& PlainRegion() const { return plainRegion_; }
  void RebuildShape();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyShape();

  QImage picture_;
  QRgb key_;
  bool cutOut_ = true;
  bool shown_ = true;
  QRegion cutOutRegion_;
  QRegion plainRegion_;
};

}  // namespace kadrel
