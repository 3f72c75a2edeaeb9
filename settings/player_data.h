#pragma once
// The six player slots and the player options stored under "\Player".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/format_table.h"

namespace kadrel {

struct TPlayer_data {
  bool InUse = false;       // forced false when ExePath is empty
  bool Recognised = false;  // IsRecognisedPlayer(ExePath); computed, never stored
  std::string ExePath;
  std::string DisplayName;
  std::array<bool, kFormatCount> Formats{};
  bool RcpcvRcp = false;
  bool RcpcvG = false;
  bool SmfKnife = false;
};

inline constexpr int kPlayerSlots = 6;
using PlayerSlots = std::array<TPlayer_data, kPlayerSlots>;

// "PlayerDetailInfo" bits.
enum PlayerDetailBit : int32_t {
  kMiyapLoop = 1 << 0,
  kDpwLoop = 1 << 1,
  kWfpLoop = 1 << 2,
  kWfpWrdWindowControl = 1 << 3,
  kTmidiLoop = 1 << 4,
};

// The program's file name (any letter case) is one of the Windows players the ListPlay
// engine knows how to drive, or (exactly) one of the Linux players of linux_players.h.
bool IsRecognisedPlayer(std::string_view path);

// Availability of the conversion helpers found at start-up; they gate the
// conversion bits of "P<n>Info".
struct ConversionAvailability {
  bool rcpcv = false;
  bool smfKnife = false;
};

// "P<n>Info" and "P<n>FTypeInfo" into a slot (path and name are set before).
void DecodePlayerSlot(int32_t info, int32_t formats, ConversionAvailability available, TPlayer_data& slot);
// The stored "P<n>Info": conversion bits of a helper that is unavailable in this run
// are taken from `storedInfo`, so that they survive a run without that helper.
int32_t EncodePlayerInfo(const TPlayer_data& slot, ConversionAvailability available, int32_t storedInfo);
int32_t EncodePlayerFormats(const TPlayer_data& slot);

}  // namespace kadrel
