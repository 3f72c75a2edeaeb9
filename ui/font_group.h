#pragma once
// A font group of the settings ("FJ" and the others): face, size, style, text and
// background colour, applied to a widget.

#include <optional>

#include <QColor>
#include <QWidget>

#include "settings/startup_settings.h"

namespace kadrel {

// A stored colour: 0x00BBGGRR, or a system colour (0x80000000 + index) taken from
// `palette`. Nullopt for a system colour this program does not know.
std::optional<QColor> ColorFromSetting(int32_t value, const QPalette& palette);

// An empty face, or the designed "ＭＳ Ｐゴシック", keeps the desktop's own face.
void ApplyFontGroup(QWidget& widget, const FontSetting& font);

}  // namespace kadrel
