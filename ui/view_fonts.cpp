#include "ui/view_fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include "base/encoding.h"
#include "settings/default_tree.h"

namespace kadrel {

int DefaultFontPoints(std::string_view group) {
  for (const auto& g : kFontGroups)
    if (g.prefix == group) return g.points;
  return 10;
}

QString JapaneseFontFamily() {
  const QStringList installed = QFontDatabase::families();
  for (const char* name : {"Noto Sans CJK JP", "Noto Sans JP", "IPAPGothic", "IPAexGothic", "VL PGothic",
                           "Droid Sans Japanese", "TakaoPGothic"}) {
    const QString family = QString::fromLatin1(name);
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return QGuiApplication::font().family();
}

int SanePoints(int points, std::string_view group) {
  return points > 0 && points <= 200 ? points : DefaultFontPoints(group);
}

QFont FontFromSetting(const FontSetting& setting, std::string_view group) {
  const std::string face = DisplayText(setting.Face);
  const bool builtIn = face.empty() || face == kDefaultFontFace;
  QFont font(builtIn ? JapaneseFontFamily() : QString::fromStdString(face));
  font.setPointSize(SanePoints(setting.Points, group));
  font.setBold(setting.Bold);
  font.setItalic(setting.Italic);
  font.setUnderline(setting.Underline);
  font.setStrikeOut(setting.StrikeOut);
  return font;
}

}  // namespace kadrel
