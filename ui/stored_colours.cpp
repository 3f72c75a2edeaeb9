#include "ui/stored_colours.h"

namespace kadrel {
namespace {

// The system-colour indexes the settings use, and their nearest palette roles.
QPalette::ColorRole RoleOf(int32_t index) {
  switch (index) {
    case 5: return QPalette::Base;              // window background
    case 8: return QPalette::Text;              // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;           // button face
    case 18: return QPalette::ButtonText;
    case 4: return QPalette::Window;            // menu
    case 7: return QPalette::WindowText;        // menu text
    default: return QPalette::Text;
  }
}

}  // namespace

QColor ColourFromStored(int32_t stored, const QPalette& palette) {
  if (stored & kSystemColourFlag) return palette.color(QPalette::Active, RoleOf(stored & 0xff));
  const auto value = static_cast<uint32_t>(stored);
  return QColor(static_cast<int>(value & 0xff), static_cast<int>((value >> 8) & 0xff),
                static_cast<int>((value >> 16) & 0xff));
}

int32_t StoredFromColour(const QColor& colour, int32_t previous, const QPalette& palette) {
  if ((previous & kSystemColourFlag) && ColourFromStored(previous, palette).rgb() == colour.rgb()) return previous;
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace kadrel
