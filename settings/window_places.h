#pragma once
// Window sizes kept under "\Grid" and "\startup\window" by the windows that open from
// the main window: the title editor's grid and the detail window's placement.

#include <array>

#include "settings/reg_treat.h"
#include "settings/startup_settings.h"

namespace kadrel {

// The title editor: window size and its seven column widths ("IEdit_H", "IEdit_W",
// "IEdit_0".."IEdit_6").
struct TitleGridSettings {
  int height = 400;
  int width = 640;
  std::array<int, 7> columns{100, 80, 80, 80, 80, 220, 70};
};

// Reads the values; a missing or damaged one (not positive, or larger than any screen)
// keeps its default.
TitleGridSettings ReadTitleGridSettings(RegTreat& reg);
void WriteTitleGridSettings(RegTreat& reg, const TitleGridSettings& grid);

// The detail window's restored rectangle ("Detail_H", "Detail_W", "Detail_T", "Detail_L").
void WriteDetailPlacement(RegTreat& reg, const WindowRect& rect);

}  // namespace kadrel
