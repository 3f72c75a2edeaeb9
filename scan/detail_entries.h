#pragma once
// The files that belong together with one listed file, for the detail window: for a
// loose file every file of its folder with the same name stem, for an archive member
// every member of its archive. The opened item itself is taken over unchanged.

#include <functional>
#include <string>
#include <vector>

#include "archive/unlha_turn.h"
#include "catalog/music_file_info.h"

namespace kadrel {

// Entries that are not music files: -2 when the extension is one of the document
// extensions ("InfoGetType"), else -1.
inline constexpr int32_t kDetailDocumentRow = -2;
inline constexpr int32_t kDetailOtherRow = -1;

struct DetailListing {
  std::vector<TMusicFileInfo> entries;
  std::string caption;          // UTF-8: "詳細情報 [" + name + "]"
  bool libraryMissing = false;  // an archive member without the archive library
};

// `folder` ends in "/"; `infoGetTypes` is the comma-separated "InfoGetType" list
// (".TXT,.DOC"). For a member the archive turn of the detail window is waited for;
// `giveUp` (polled while waiting) ends the wait with an empty list.
DetailListing ListDetailEntries(const std::string& folder, const TMusicFileInfo& item,
                                const std::string& infoGetTypes, TUnLhaManagement& turns,
                                const std::function<bool()>& giveUp = {});

// The format row of an entry found beside the item (see the constants above).
int32_t DetailFormatRow(const std::string& extensionWithDot, const std::string& infoGetTypes);

}  // namespace kadrel
