#include "ui/font_group.h"

#include "base/encoding.h"

namespace kadrel {

std::optional<QColor> ColorFromSetting(int32_t value, const QPalette& palette) {
  const uint32_t bits = static_cast<uint32_t>(value);
  if ((bits & 0xFF000000u) == 0) return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
  if ((bits & 0xFFFFFF00u) != 0x80000000u) return std::nullopt;
  switch (bits & 0xFF) {
    case 5: return palette.color(QPalette::Base);             // window
    case 8: return palette.color(QPalette::Text);             // window text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);          // button face
    case 18: return palette.color(QPalette::ButtonText);
    default: return std::nullopt;
  }
}

void ApplyFontGroup(QWidget& widget, const FontSetting& setting) {
  QFont font = widget.font();
  const QString face = QString::fromStdString(DisplayText(setting.Face)).trimmed();
  if (!face.isEmpty() && face != QString::fromUtf8("ＭＳ Ｐゴシック")) font.setFamilies({face, font.family()});
  if (setting.Points > 0 && setting.Points <= 200) font.setPointSize(setting.Points);
  font.setBold(setting.Bold);
  font.setItalic(setting.Italic);
  widget.setFont(font);

  QPalette palette = widget.palette();
  if (auto text = ColorFromSetting(setting.Color, palette)) palette.setColor(QPalette::Text, *text);
  if (auto back = ColorFromSetting(setting.BackColor, palette)) palette.setColor(QPalette::Base, *back);
  widget.setPalette(palette);
}

}  // namespace kadrel
