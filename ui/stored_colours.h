#pragma once
// Stored colours of the "\Font" values and what the window paints with. A stored value
// is either 0x00BBGGRR or a system-colour code (0x80000000 + index); the codes follow
// the desktop's palette, so a dark theme stays dark where the user kept the defaults.

#include <cstdint>

#include <QColor>
#include <QPalette>

namespace kadrel {

inline constexpr int32_t kSystemColourFlag = static_cast<int32_t>(0x80000000u);

// The colour to paint for a stored value; an unknown system code is the window text.
QColor ColourFromStored(int32_t stored, const QPalette& palette);

// The value to store for `colour`. When `previous` is a system code whose palette
// colour equals `colour`, the code is kept, so that an unchanged default keeps
// following the theme.
int32_t StoredFromColour(const QColor& colour, int32_t previous, const QPalette& palette);

}  // namespace kadrel
