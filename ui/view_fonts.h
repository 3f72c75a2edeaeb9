#pragma once
// Fonts of the "\Font" groups as the window uses them. The built-in face (an empty
// stored face, or the Windows face it stands for) is an installed Japanese font.

#include <string>
#include <string_view>

#include <QFont>

#include "settings/startup_settings.h"

namespace kadrel {

// The face the groups use by default.
inline constexpr const char* kDefaultFontFace = "ＭＳ Ｐゴシック";

// The group's built-in size in points ("AF", "FL", "PL", "DW", "FJ", "FW"); 10 for others.
int DefaultFontPoints(std::string_view group);
// An installed CJK family for the built-in face (Noto Sans CJK JP, IPAPGothic, …), or
// the application font's family.
QString JapaneseFontFamily();
QFont FontFromSetting(const FontSetting& setting, std::string_view group);
// A stored size that cannot be right (0 or less, or absurdly large) reads as the default.
int SanePoints(int points, std::string_view group);

}  // namespace kadrel
