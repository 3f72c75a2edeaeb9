#include "playback/slot_choice.h"

#include "catalog/format_table.h"

namespace kadrel {

namespace {

// The format row of the extension, by "." + code only (the row "no format" is not one).
int RowOfPath(std::string_view path) {
  const size_t slash = path.rfind('/');
  const int row = FormatRowForFileName(slash == std::string_view::npos ? path : path.substr(slash + 1));
  return row >= 0 && row < kFormatCount ? row : -1;
}

}  // namespace

int SlotAllowsFile(const PlayerSlots& playerSlots, std::string_view path, int slot) {
  if (slot < 1 || slot > kPlayerSlots) return kSlotRefused;
  const int row = RowOfPath(path);
  if (row < 0) return kSlotRefused;
  const TPlayer_data& p = playerSlots[static_cast<size_t>(slot - 1)];
  if (!p.InUse || p.ExePath.empty() || !p.Formats[static_cast<size_t>(row)]) return kSlotRefused;
  if (((row == kRowRCP || row == kRowR36) && p.RcpcvRcp) || ((row == kRowG18 || row == kRowG36) && p.RcpcvG))
    return kSlotPlaysAfterRcpcv;
  return kSlotPlays;
}

int SlotForFile(const PlayerSlots& playerSlots, std::string_view path) {
  if (RowOfPath(path) < 0) return -1;
  for (int n = 1; n <= kPlayerSlots; ++n)
    if (SlotAllowsFile(playerSlots, path, n) != kSlotRefused) return n;
  return -1;
}

int ListPlaySlotForFile(const PlayerSlots& playerSlots, std::string_view path) {
  for (int n = 1; n <= kPlayerSlots; ++n)
    if (playerSlots[static_cast<size_t>(n - 1)].Recognised && SlotAllowsFile(playerSlots, path, n) != kSlotRefused) return n;
  return -1;
}

}  // namespace kadrel
