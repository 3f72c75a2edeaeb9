#pragma once
// Which sound module a Standard MIDI song was written for, from its title, its
// document or its file name, so the matching conversion settings can be applied.

#include <string>
#include <string_view>
#include <vector>

#include "catalog/music_file_info.h"
#include "catalog/smfk_info.h"

namespace kadrel {

enum class ModuleSearch {
  Name,  // a single text: the title or the file name
  Text,  // the lines of the item's document
};

// The index in `modules` of the module the lines name, or -1. `documentStem` is the
// name stem of the document the lines come from (Text only).
int ChooseSoundModule(const TMusicFileInfo& item, const std::vector<std::string>& lines,
                      const std::vector<TSmfkItem>& modules, ModuleSearch search,
                      std::string_view documentStem = {});

// The first lines of a document, split at LF (a CR before it is dropped).
std::vector<std::string> FirstLines(std::string_view text, std::size_t count = 50);

// The module for an item as the "FindStyle" bits allow: its title, then its document's
// lines (when there is a document), then its file name. -1 when none.
int ChooseSoundModuleForItem(const TMusicFileInfo& item, const std::vector<std::string>& documentLines,
                             std::string_view documentStem, const TSmfkInfo& settings);

}  // namespace kadrel
