#pragma once
// Shared pieces of the play-list tests: item builders.

#include <string>
#include <vector>

#include "catalog/format_table.h"
#include "catalog/pl_music_info.h"

namespace kadrel::test {

inline TMusicFileInfo MusicRecord(const std::string& stem, int row = kRowMID, const std::string& archive = {}) {
  TMusicFileInfo r;
  r.FileName = stem;
  r.FileExt = "." + std::string(kFormatTable[row].Code);
  r.FileType = row;
  r.ItemKind = archive.empty() ? kLooseFile : kArchiveMember;
  r.Archiver = archive;
  r.InfoState = kInfoNoTitle;
  return r;
}

inline void AddItem(TPLInfo& list, const std::string& folder, const TMusicFileInfo& music, int32_t order = kNoOrder) {
  auto item = std::make_unique<TPLMusicInfo>();
  item->Folder = folder;
  item->Music = music;
  item->Order = order;
  list.Items.push_back(std::move(item));
}

inline std::vector<std::string> Names(const TPLInfo& list) {
  std::vector<std::string> names;
  for (const auto& item : list.Items) names.push_back(item->Music.FileName);
  return names;
}

}  // namespace kadrel::test
