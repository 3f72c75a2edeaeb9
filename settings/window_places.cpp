#include "settings/window_places.h"

#include <fmt/format.h>

#include "settings/setting_keys.h"

namespace kadrel {

namespace {

constexpr int kLargestSize = 30000;  // beyond any screen: a damaged value

int ReadSize(RegTreat& reg, const std::string& name, int fallback) {
  const int32_t value = reg.ReadInt(name, keys::kGrid);
  return value > 0 && value <= kLargestSize ? value : fallback;
}

}  // namespace

TitleGridSettings ReadTitleGridSettings(RegTreat& reg) {
  TitleGridSettings g;
  g.height = ReadSize(reg, "IEdit_H", g.height);
  g.width = ReadSize(reg, "IEdit_W", g.width);
  for (size_t i = 0; i < g.columns.size(); ++i) g.columns[i] = ReadSize(reg, fmt::format("IEdit_{}", i), g.columns[i]);
  return g;
}

void WriteTitleGridSettings(RegTreat& reg, const TitleGridSettings& g) {
  reg.RegWriteInt("IEdit_H", g.height, keys::kGrid);
  reg.RegWriteInt("IEdit_W", g.width, keys::kGrid);
  for (size_t i = 0; i < g.columns.size(); ++i) reg.RegWriteInt(fmt::format("IEdit_{}", i), g.columns[i], keys::kGrid);
}

void WriteDetailPlacement(RegTreat& reg, const WindowRect& rect) {
  reg.RegWriteInt("Detail_H", rect.Height, keys::kStartupWindow);
  reg.RegWriteInt("Detail_W", rect.Width, keys::kStartupWindow);
  reg.RegWriteInt("Detail_T", rect.Top, keys::kStartupWindow);
  reg.RegWriteInt("Detail_L", rect.Left, keys::kStartupWindow);
}

}  // namespace kadrel
