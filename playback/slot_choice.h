#pragma once
// Which player slot may play a file.

#include <string_view>

#include "settings/player_data.h"

namespace kadrel {

inline constexpr int kSlotRefused = -1;
inline constexpr int kSlotPlays = 1;
inline constexpr int kSlotPlaysAfterRcpcv = 2;  // convert to Standard MIDI first

// -1 when `slot` is outside 1..6, the extension of `path` names no format, the slot is
// off or does not play that format; 2 when the slot converts that Recomposer format
// first; otherwise 1.
int SlotAllowsFile(const PlayerSlots& playerSlots, std::string_view path, int slot);
// The first slot that plays `path`, or -1.
int SlotForFile(const PlayerSlots& playerSlots, std::string_view path);
// The first slot with a recognised player that plays `path`, or -1.
int ListPlaySlotForFile(const PlayerSlots& playerSlots, std::string_view path);

}  // namespace kadrel
