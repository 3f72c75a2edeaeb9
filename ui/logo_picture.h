#pragma once
// The program's logo, drawn in code, and the picture operations of the logo windows:
// the surface flood fill that repaints the logo's key-coloured surround, and the
// cut-out shape that leaves the key-coloured pixels out of a window.

#include <vector>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

namespace kadrel {

// Pure red: the logo's background, and the colour the shaped windows leave out.
inline constexpr QRgb kLogoKeyColour = 0xffff0000;
inline constexpr QSize kLogoSize{78, 76};

// The logo at `scale` times its designed size, on a pure red background. The
// silhouette is drawn without smoothing so that no blended pixels fringe it.
QImage DrawKadrelLogo(int scale = 1);

// Repaints with `fill` the 4-connected area of pixels that share the colour of the
// pixel at `seed`. Pixels of that colour elsewhere are left alone. Returns how many
// pixels changed (0 for a seed outside the picture or a fill equal to the area's colour).
int SurfaceFloodFill(QImage& picture, QPoint seed, QRgb fill);

// The four fills of the about box, seeded one pixel inside each corner, of the areas
// in `key`; a corner of another colour is not filled.
int FillKeyBackground(QImage& picture, QRgb key, QRgb fill);

// The runs of `key` pixels, row by row from the top, left to right, each a rectangle
// one pixel high.
std::vector<QRect> KeyColourRuns(const QImage& picture, QRgb key);

// The window shape of a picture control of the picture's size placed at `offset` in a
// window of `window` size: the window's rectangle without the key-coloured pixels.
QRegion CutOutShape(const QImage& picture, QRgb key, QPoint offset, QSize window);

}  // namespace kadrel
