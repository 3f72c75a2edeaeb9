#pragma once
// Column ids of the file list and the play list, and the lists shown before the user
// chooses any.

#include <cstdint>

namespace kadrel {

enum FileListColumn : int {
  kColFileName = 1, kColType, kColArchiver, kColDetail, kColInfo, kColSize, kColDate,
  kColTitle, kColArtist, kColComposer, kColSongWriter, kColDataMaker,
};
inline constexpr int kFileListColumnCount = 12;
inline constexpr int kPlayListColumnCount = 13;

// The stored "FLitem" and "PLitem" defaults, without the terminating 0.
inline constexpr int32_t kDefaultFileListColumns[] = {1, 2, 5, 8, 3};
inline constexpr int32_t kDefaultPlayListColumns[] = {1, 2, 3, 9, 4};

}  // namespace kadrel
