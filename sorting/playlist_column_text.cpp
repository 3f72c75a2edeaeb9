#include "sorting/playlist_column_text.h"

#include "catalog/column_text.h"
#include "sorting/column_tables.h"

namespace kadrel {

std::string PlayListPlaceText(const TPLMusicInfo& item, std::string_view baseFolder) {
  std::string_view folder = item.Folder;
  // The base is a common folder of all items, but a list loaded in append mode can hold
  // items from elsewhere; cutting a prefix they do not have would show a wrong place.
  if (!baseFolder.empty() && folder.starts_with(baseFolder)) folder.remove_prefix(baseFolder.size());
  std::string text(folder);
  text += item.Music.Archiver;
  return text;
}

std::string PlayListColumnText(const TPLMusicInfo& item, int column, const TListViewOption& options,
                               std::string_view baseFolder) {
  switch (column) {
    case kPlColPlayer:
      return item.Slot == kAutomaticSlot ? std::string("*") : std::to_string(item.Slot);
    case kPlColFileName: return ColumnText(item.Music, kColFileName, options);
    case kPlColType: return ColumnText(item.Music, kColType, options);
    case kPlColPlace: return PlayListPlaceText(item, baseFolder);
    default:
      if (column > kPlColPlace && column <= kPlayListColumnCount)
        return ColumnText(item.Music, column - 1, options);
      return {};
  }
}

}  // namespace kadrel
