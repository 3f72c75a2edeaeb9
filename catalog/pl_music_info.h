#pragma once
// One play-list item and the play-list state.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"

namespace kadrel {

inline constexpr int32_t kAutomaticSlot = 99;
inline constexpr int32_t kNoMark = 99;
inline constexpr int32_t kNoOrder = 99;
inline constexpr int32_t kUnplayed = 100;
inline constexpr int32_t kPlayed = 101;

struct TPLMusicInfo {
  std::string Folder;             // full folder of the item, ending in "/"
  int32_t Slot = kAutomaticSlot;  // player slot 1..6, or 99 = automatic
  int32_t Mark = kNoMark;         // state picture: 99 none, 0 playing, 1 next, 2 played
  int32_t Order = kNoOrder;       // 0 playing, 1 next, negative = played that many items ago
  int32_t Played = kUnplayed;     // 100 not yet played, 101 played
  std::string Reserved;
  TMusicFileInfo Music;

  void ResetListPlayMarks() {
    Mark = kNoMark;
    Order = kNoOrder;
    Played = kUnplayed;
  }
};

struct TPLInfo {
  std::vector<std::unique_ptr<TPLMusicInfo>> Items;
  std::string BaseFolder;  // common folder of all items, ending in "/", or empty
  std::string Title;       // CP932
  std::string FileName;    // play-list file last loaded
};

}  // namespace kadrel
