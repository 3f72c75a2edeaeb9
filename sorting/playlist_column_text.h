#pragma once
// The text a play-list column shows for an item (columns 1..13).

#include <string>
#include <string_view>

#include "catalog/pl_music_info.h"
#include "catalog/options.h"

namespace kadrel {

// Bytes as the file-list columns give them (display them through DisplayText).
// `baseFolder` is the play list's base folder.
std::string PlayListColumnText(const TPLMusicInfo& item, int column, const TListViewOption& options,
                               std::string_view baseFolder);

// The "Place" text: the item's folder relative to the base folder, then its archive name.
// A folder that does not lie under the base is shown whole.
std::string PlayListPlaceText(const TPLMusicInfo& item, std::string_view baseFolder);

}  // namespace kadrel
