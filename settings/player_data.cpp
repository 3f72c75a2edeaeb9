#include "settings/player_data.h"

#include "base/text_helpers.h"
#include "settings/linux_players.h"

namespace kadrel {

bool IsRecognisedPlayer(std::string_view path) {
  static constexpr std::string_view kPlayers[] = {
      "MIYAP95.EXE", "LEMON95.EXE", "UNREAL.EXE", "MPLAY32.EXE", "MPLAYER.EXE",
      "MPLAYER2.EXE", "WINAMP.EXE", "J_WINAMP.EXE", "MOEWINAMP.EXE", "SCMPX.EXE",
      "DPW.EXE", "WFP.EXE", "MPVG.EXE", "TMIDI.EXE",
  };
  size_t slash = path.find_last_of("/\\");
  std::string name = ToUpperAscii(slash == std::string_view::npos ? path : path.substr(slash + 1));
  for (auto p : kPlayers)
    if (name == p) return true;
  return FindLinuxPlayer(path) != nullptr;
}

void DecodePlayerSlot(int32_t info, int32_t formats, ConversionAvailability available, TPlayer_data& slot) {
  slot.InUse = (info & 1) && !slot.ExePath.empty();
  slot.RcpcvRcp = available.rcpcv && (info & 2);
  slot.RcpcvG = available.rcpcv && (info & 4);
  slot.SmfKnife = available.smfKnife && (info & 8);
  for (int i = 0; i < kFormatCount; ++i) slot.Formats[i] = (static_cast<uint32_t>(formats) >> i) & 1;
  slot.Recognised = IsRecognisedPlayer(slot.ExePath);
}

int32_t EncodePlayerInfo(const TPlayer_data& slot, ConversionAvailability available, int32_t storedInfo) {
  if (storedInfo < 0) storedInfo = 0;
  int32_t v = slot.InUse ? 1 : 0;
  v |= available.rcpcv ? (slot.RcpcvRcp ? 2 : 0) | (slot.RcpcvG ? 4 : 0) : (storedInfo & 6);
  v |= available.smfKnife ? (slot.SmfKnife ? 8 : 0) : (storedInfo & 8);
  return v;
}

int32_t EncodePlayerFormats(const TPlayer_data& slot) {
  uint32_t v = 0;
  for (int i = 0; i < kFormatCount; ++i)
    if (slot.Formats[i]) v |= 1u << i;
  return static_cast<int32_t>(v);
}

}  // namespace kadrel
