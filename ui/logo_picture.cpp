#include "ui/logo_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kadrel {
namespace {

// Qt regions are unions of rectangles; uniting them a few thousand at a time keeps
// each step small on pictures with many runs.
constexpr std::size_t kRunBatch = 3000;

QRgb PixelAt(const QImage& picture, int x, int y) { return picture.pixel(x, y) | 0xff000000; }

}  // namespace

QImage DrawKadrelLogo(int scale) {
  scale = std::max(1, scale);
  QImage picture(kLogoSize * scale, QImage::Format_RGB32);
  picture.fill(kLogoKeyColour);
  QPainter p(&picture);
  p.scale(scale, scale);

  // Silhouette: a record with a dark rim; hard edges against the key colour.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x24, 0x3a));
  p.drawEllipse(QRectF(3, 2, 72, 72));

  p.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient face(10, 8, 66, 70);
  face.setColorAt(0, QColor(0x3f, 0x7f, 0xd8));
  face.setColorAt(1, QColor(0x16, 0x3a, 0x7a));
  p.setBrush(face);
  p.drawEllipse(QRectF(7, 6, 64, 64));
  // Grooves.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 50), 1));
  for (int r = 14; r <= 28; r += 5) p.drawEllipse(QPointF(39, 38), r, r);
  // Label and spindle.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf4, 0xc4, 0x30));
  p.drawEllipse(QPointF(39, 38), 10, 10);
  p.setBrush(QColor(0x20, 0x24, 0x3a));
  p.drawEllipse(QPointF(39, 38), 2, 2);
  // An eighth note over the record.
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(16, 44, 11, 8));
  p.drawRect(QRectF(25, 18, 2.5, 30));
  QPainterPath flag;
  flag.moveTo(27, 18);
  flag.cubicTo(33, 22, 36, 26, 33, 33);
  flag.cubicTo(33, 28, 30, 26, 27, 25);
  flag.closeSubpath();
  p.drawPath(flag);
  // The initial.
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(18);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(44, 44, 22, 22), Qt::AlignCenter, QStringLiteral("K"));
  p.end();
  return picture;
}

int SurfaceFloodFill(QImage& picture, QPoint seed, QRgb fill) {
  if (!picture.rect().contains(seed)) return 0;
  fill |= 0xff000000;
  const QRgb area = PixelAt(picture, seed.x(), seed.y());
  if (area == fill) return 0;
  // Span fill with an explicit stack: no recursion depth to run out of.
  int changed = 0;
  std::vector<QPoint> pending{seed};
  while (!pending.empty()) {
    const QPoint at = pending.back();
    pending.pop_back();
    const int y = at.y();
    if (PixelAt(picture, at.x(), y) != area) continue;
    int left = at.x();
    while (left > 0 && PixelAt(picture, left - 1, y) == area) --left;
    int right = at.x();
    while (right + 1 < picture.width() && PixelAt(picture, right + 1, y) == area) ++right;
    for (int x = left; x <= right; ++x) {
      picture.setPixel(x, y, fill);
      ++changed;
    }
    for (int ny : {y - 1, y + 1}) {
      if (ny < 0 || ny >= picture.height()) continue;
      bool inRun = false;
      for (int x = left; x <= right; ++x) {
        const bool match = PixelAt(picture, x, ny) == area;
        if (match && !inRun) pending.emplace_back(x, ny);
        inRun = match;
      }
    }
  }
  return changed;
}

int FillKeyBackground(QImage& picture, QRgb key, QRgb fill) {
  const int right = picture.width() - 1;
  const int bottom = picture.height() - 1;
  int changed = 0;
  for (QPoint seed : {QPoint(1, 1), QPoint(right, 1), QPoint(1, bottom), QPoint(right, bottom)}) {
    if (!picture.rect().contains(seed) || PixelAt(picture, seed.x(), seed.y()) != (key | 0xff000000)) continue;
    changed += SurfaceFloodFill(picture, seed, fill);
  }
  return changed;
}

std::vector<QRect> KeyColourRuns(const QImage& picture, QRgb key) {
  key |= 0xff000000;
  std::vector<QRect> runs;
  for (int y = 0; y < picture.height(); ++y) {
    int x = 0;
    while (x < picture.width()) {
      if (PixelAt(picture, x, y) != key) {
        ++x;
        continue;
      }
      const int first = x;
      while (x < picture.width() && PixelAt(picture, x, y) == key) ++x;
      runs.emplace_back(first, y, x - first, 1);
    }
  }
  return runs;
}

QRegion CutOutShape(const QImage& picture, QRgb key, QPoint offset, QSize window) {
  const QRegion plain(QRect(QPoint(0, 0), window));
  const std::vector<QRect> runs = KeyColourRuns(picture, key);
  QRegion cut;
  for (std::size_t start = 0; start < runs.size(); start += kRunBatch) {
    QRegion batch;
    const std::size_t end = std::min(runs.size(), start + kRunBatch);
    batch.setRects(runs.data() + start, static_cast<int>(end - start));
    cut += batch.translated(offset);
  }
  return plain.subtracted(cut);
}

}  // namespace kadrel
