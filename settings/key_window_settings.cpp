#include "settings/key_window_settings.h"

#include <fmt/format.h>

#include "settings/setting_keys.h"

namespace kadrel {

KeyWindowSettings ReadKeyWindowSettings(RegTreat& reg) {
  KeyWindowSettings s;
  s.keyFile = reg.ReadStr("KeyCust", keys::kMain);
  s.height = reg.ReadInt("KeyCust_H", keys::kGrid);
  s.width = reg.ReadInt("KeyCust_W", keys::kGrid);
  s.splitter = reg.ReadInt("KeyCust_Splt", keys::kGrid);
  for (size_t i = 0; i < s.columnWidths.size(); ++i)
    s.columnWidths[i] = reg.ReadInt(fmt::format("KeyCust_{}", i), keys::kGrid);
  return s;
}

void WriteKeyWindowSettings(RegTreat& reg, const KeyWindowSettings& s) {
  if (!s.keyFile.empty()) reg.RegWriteStr("KeyCust", s.keyFile, keys::kMain);
  reg.RegWriteInt("KeyCust_H", s.height, keys::kGrid);
  reg.RegWriteInt("KeyCust_W", s.width, keys::kGrid);
  reg.RegWriteInt("KeyCust_Splt", s.splitter, keys::kGrid);
  for (size_t i = 0; i < s.columnWidths.size(); ++i)
    reg.RegWriteInt(fmt::format("KeyCust_{}", i), s.columnWidths[i], keys::kGrid);
}

}  // namespace kadrel
