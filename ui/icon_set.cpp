#include "ui/icon_set.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kadrel {
namespace {

enum class Glyph { Up, Note, Sequence, Script, Wave, Tracker, Vq, List, Folder };

struct ImageSpec {
  Glyph glyph;
  QColor color;
  bool lyrics;
};

// Drawn on a 16 x 16 grid and scaled.
void DrawFolder(QPainter& p, const QColor& color) {
  QPainterPath tab;
  tab.moveTo(1.5, 4.5);
  tab.lineTo(1.5, 2.5);
  tab.lineTo(6.5, 2.5);
  tab.lineTo(8, 4.5);
  p.setPen(QPen(color.darker(150), 1));
  p.setBrush(color.darker(110));
  p.drawPath(tab);
  p.setBrush(color);
  p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9.5), 1.2, 1.2);
}

void DrawPage(QPainter& p, const QColor& color) {
  QPainterPath page;
  page.moveTo(3.5, 1.5);
  page.lineTo(10, 1.5);
  page.lineTo(13.5, 5);
  page.lineTo(13.5, 14.5);
  page.lineTo(3.5, 14.5);
  page.closeSubpath();
  p.setPen(QPen(color.darker(160), 1));
  p.setBrush(QColor(252, 252, 250));
  p.drawPath(page);
  p.setBrush(color.lighter(140));
  p.drawPolygon(QPolygonF({QPointF(10, 1.5), QPointF(10, 5), QPointF(13.5, 5)}));
}

void DrawGlyph(QPainter& p, Glyph glyph, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  switch (glyph) {
    case Glyph::Note:
      p.drawEllipse(QRectF(4.5, 9.5, 4, 3.2));
      p.setPen(QPen(c, 1.3));
      p.drawLine(QPointF(8.2, 11), QPointF(8.2, 5));
      p.drawLine(QPointF(8.2, 5), QPointF(11, 6.5));
      break;
    case Glyph::Sequence:  // piano-roll bars
      p.drawRect(QRectF(5, 5, 4, 1.6));
      p.drawRect(QRectF(7, 8, 5, 1.6));
      p.drawRect(QRectF(5, 11, 3, 1.6));
      break;
    case Glyph::Script:  // text lines with a bracket
      p.setPen(QPen(c, 1.2));
      p.drawLine(QPointF(5.5, 5), QPointF(5.5, 12));
      p.drawLine(QPointF(5.5, 5), QPointF(7, 5));
      p.drawLine(QPointF(5.5, 12), QPointF(7, 12));
      p.drawLine(QPointF(8, 7), QPointF(12, 7));
      p.drawLine(QPointF(8, 10), QPointF(11, 10));
      break;
    case Glyph::Wave: {
      QPainterPath w;
      w.moveTo(4.5, 9);
      w.cubicTo(6, 3, 7, 3, 8.5, 9);
      w.cubicTo(10, 15, 11, 15, 12.5, 9);
      p.setPen(QPen(c, 1.4));
      p.setBrush(Qt::NoBrush);
      p.drawPath(w);
      break;
    }
    case Glyph::Tracker:  // pattern grid
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
          if ((row + col) % 2 == 0) p.drawRect(QRectF(5 + col * 2.5, 5.5 + row * 2.5, 2, 2));
      break;
    case Glyph::Vq:  // two stacked bars
      p.drawRect(QRectF(5, 6, 7, 2));
      p.drawRect(QRectF(5, 10, 4.5, 2));
      break;
    case Glyph::List:
      for (int i = 0; i < 4; ++i) {
        p.drawEllipse(QRectF(5, 4.6 + i * 2.5, 1.5, 1.5));
        p.drawRect(QRectF(7.5, 4.9 + i * 2.5, 4.5, 1));
      }
      break;
    default: break;
  }
}

void DrawLyricsBadge(QPainter& p) {
  p.setPen(QPen(QColor(150, 110, 0), 0.8));
  p.setBrush(QColor(255, 214, 64));
  p.drawRoundedRect(QRectF(8.5, 9, 7, 6.5), 1.2, 1.2);
  p.setPen(QPen(QColor(120, 80, 0), 0.9));
  p.drawLine(QPointF(10, 11), QPointF(14, 11));
  p.drawLine(QPointF(10, 13.3), QPointF(13, 13.3));
}

QPixmap Draw(const ImageSpec& spec, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  if (spec.glyph == Glyph::Folder || spec.glyph == Glyph::Up) {
    DrawFolder(p, spec.color);
    if (spec.glyph == Glyph::Up) {
      p.setPen(QPen(QColor(40, 90, 30), 1.5));
      p.drawLine(QPointF(8, 12.5), QPointF(8, 6.5));
      p.drawLine(QPointF(8, 6.5), QPointF(5.5, 9));
      p.drawLine(QPointF(8, 6.5), QPointF(10.5, 9));
    }
  } else {
    DrawPage(p, spec.color);
    DrawGlyph(p, spec.glyph, spec.color);
    if (spec.lyrics) DrawLyricsBadge(p);
  }
  return pixmap;
}

QIcon MakeIcon(const ImageSpec& spec) {
  QIcon icon;
  icon.addPixmap(Draw(spec, 16));
  icon.addPixmap(Draw(spec, 32));
  return icon;
}

const QColor kFolderColor(236, 190, 80);

}  // namespace

QIcon MakeFolderIcon() { return MakeIcon({Glyph::Folder, kFolderColor, false}); }

std::vector<QIcon> MakeListIcons() {
  const QColor folder = kFolderColor, midi(40, 90, 200), rcp(30, 140, 70), g36(0, 130, 140),
      mgs(130, 60, 170), audio(215, 110, 20), mod(190, 40, 50), vq(120, 85, 50), list(90, 90, 100);
  const ImageSpec specs[kImageCount] = {
      {Glyph::Up, folder, false},       {Glyph::Note, midi, false},     {Glyph::Note, midi, true},
      {Glyph::Sequence, rcp, false},    {Glyph::Sequence, rcp, true},   {Glyph::Sequence, g36, false},
      {Glyph::Sequence, g36, true},     {Glyph::Script, mgs, false},    {Glyph::Script, mgs, true},
      {Glyph::Wave, audio, false},      {Glyph::Wave, audio, true},     {Glyph::Tracker, mod, false},
      {Glyph::Tracker, mod, true},      {Glyph::Vq, vq, false},         {Glyph::Vq, vq, true},
      {Glyph::List, list, false},       {Glyph::Folder, folder, false},
  };
  std::vector<QIcon> icons;
  icons.reserve(kImageCount);
  for (const ImageSpec& spec : specs) icons.push_back(MakeIcon(spec));
  return icons;
}

}  // namespace kadrel
