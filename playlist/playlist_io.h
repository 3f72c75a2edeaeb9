#pragma once
// Loading a play-list file into the list and saving the list, with the results the user
// is told about.

#include <functional>
#include <string>
#include <string_view>

#include "base/message_box.h"
#include "catalog/pl_music_info.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_file.h"

namespace kadrel {

// Receives the status-bar texts (UTF-8).
using StatusSink = std::function<void(std::string_view)>;

enum class LoadResult { Loaded, Refused, NotPlayList, Broken };

// Appends the file's items. The list takes the file's name, title and base folder; when
// items already in the list lie outside that base, the base becomes the common folder of
// all items, so that a later save stays correct.
LoadResult LoadPlayListFile(TPLInfo& list, const std::string& path, const ListPlayState& state, IMessageBox& box,
                            const StatusSink& status = {});

// The merge step of loading, on a file already read.
void AppendPlayListContent(TPLInfo& list, PlayListContent content, const std::string& path);

// The error box of a failed read (file name first).
void ReportPlayListReadFailure(PlayListReadStatus status, const std::string& path, IMessageBox& box);

enum class SaveResult { Saved, Declined, Failed };

// Writes the list, creating missing folders, replacing an existing file atomically.
// With `confirmOverwrite`, an existing file is replaced only when the user agrees.
SaveResult SavePlayListFile(const TPLInfo& list, const std::string& path, bool confirmOverwrite, IMessageBox& box,
                            const StatusSink& status = {});

}  // namespace kadrel
