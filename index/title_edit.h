#pragma once
// The title editor's data: one grid row per file or archive member of the file list,
// and the save that copies the edited cells back into the list and rewrites the
// folder's block in the index.

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "index/folder_index.h"

namespace kadrel {

// Columns of the grid, in header order.
enum TitleColumn { kTitleFileName, kTitleArtist, kTitleComposer, kTitleSongWriter, kTitleDataMaker,
                   kTitleTitle, kTitleAlbum, kTitleColumnCount };

// Cells hold the bytes stored in the records (CP932 or the bytes found); the window
// converts edited texts back to those bytes before saving.
using TitleRow = std::array<std::string, kTitleColumnCount>;

const std::array<const char*, kTitleColumnCount>& TitleGridHeader();

std::vector<TitleRow> BuildTitleGrid(const std::vector<TMusicFileInfo>& list);

enum class TitleSaveResult {
  Saved,        // entries updated and the folder's block rewritten (or not indexed)
  Mismatch,     // a row no longer matched its entry; rows before it were saved
  IndexBusy,    // the index was in use: the entries were updated, the index was not
  IndexFailed,  // the block could not be deleted or written
};

// Copies the rows into the entries of kind 2 or 3 in order (InfoState 0 with a title,
// 4 without), then deletes and rewrites the current folder's block unless the index
// is busy. The editor closes afterwards whatever the result.
TitleSaveResult SaveTitleEdits(const std::vector<TitleRow>& rows, std::vector<TMusicFileInfo>& list,
                               TFolderIndex& index, std::atomic<bool>& indexBusy);

}  // namespace kadrel
