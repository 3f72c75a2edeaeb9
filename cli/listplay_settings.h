#pragma once
// The settings continuous play and item preparation use from the user's store, read
// without changing it.

#include <cstdint>

#include "catalog/smfk_info.h"
#include "playback/listplay_launcher.h"
#include "playback/lp_convert_for_play.h"

namespace kadrel::cli {

struct ListPlaySettings {
  ListPlayLauncherSettings launcher;
  int32_t lzhMeltStyle = 0;
  TSmfkInfo smfk;
};

// Without a store the slots are those a first start would register.
ListPlaySettings LoadListPlaySettings();

// The slots a first start registers: the players found on PATH.
PlayerSlots FirstStartPlayerSlots();

// The conversion settings over these settings (wine from PATH).
ConvertForPlaySettings ConversionSettings(const ListPlaySettings& settings);

}  // namespace kadrel::cli
