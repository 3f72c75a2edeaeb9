#pragma once

#include <memory>
#include <string>

#include "catalog/pl_music_info.h"

namespace kadrel::test {

inline TPLInfo MakeList(int count) {
  TPLInfo list;
  for (int i = 0; i < count; ++i) {
    auto item = std::make_unique<TPLMusicInfo>();
    item->Folder = "/music/";
    item->Music.FileName = "SONG" + std::to_string(i);
    item->Music.FileExt = ".MID";
    item->Music.FileType = 1;
    list.Items.push_back(std::move(item));
  }
  return list;
}

}  // namespace kadrel::test
