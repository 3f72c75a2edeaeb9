#include "playlist/playlist_io.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "base/encoding.h"
#include "base/atomic_file.h"
#include "base/path_helpers.h"
#include "playlist/playlist_folders.h"
#include "playlist/playlist_texts.h"

namespace kadrel {
namespace {

void Tell(const StatusSink& status, std::string_view text) {
  if (status) status(text);
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool EveryItemUnder(const TPLInfo& list, const std::string& base) {
  for (const auto& item : list.Items) {
    if (item->Folder.compare(0, base.size(), base) != 0) return false;
  }
  return true;
}

}  // namespace

void ReportPlayListReadFailure(PlayListReadStatus status, const std::string& path, IMessageBox& box) {
  if (status == PlayListReadStatus::NotPlayList) box.Error(DisplayText(path) + std::string(playlist_text::kNotPlayListSuffix));
  if (status == PlayListReadStatus::Broken) box.Error(DisplayText(path) + std::string(playlist_text::kBrokenSuffix));
}

void AppendPlayListContent(TPLInfo& list, PlayListContent content, const std::string& path) {
  for (TPLMusicInfo& item : content.Items) {
    item.ResetListPlayMarks();
    list.Items.push_back(std::make_unique<TPLMusicInfo>(std::move(item)));
  }
  list.FileName = path;
  list.Title = std::move(content.Title);
  list.BaseFolder = std::move(content.BaseFolder);
  // Items already in the list may lie outside the file's base folder.
  if (list.BaseFolder.empty() ? !list.Items.empty() : !EveryItemUnder(list, list.BaseFolder)) {
    list.BaseFolder = CommonFolderOfItems(list);
  }
}

LoadResult LoadPlayListFile(TPLInfo& list, const std::string& path, const ListPlayState& state, IMessageBox& box,
                            const StatusSink& status) {
  if (state.Running) {
    box.Warn(std::string(playlist_text::kListPlayRunning));
    return LoadResult::Refused;
  }
  Tell(status, playlist_text::kLoading);
  PlayListContent content;
  const PlayListReadStatus read = ReadPlayListFile(path, content);
  LoadResult result = LoadResult::Loaded;
  if (read == PlayListReadStatus::Ok) {
    AppendPlayListContent(list, std::move(content), path);
  } else {
    ReportPlayListReadFailure(read, path, box);
    result = read == PlayListReadStatus::Broken ? LoadResult::Broken : LoadResult::NotPlayList;
  }
  Tell(status, playlist_text::kReady);
  if (result == LoadResult::Loaded) box.Beep(BeepKind::Plain);
  return result;
}

SaveResult SavePlayListFile(const TPLInfo& list, const std::string& path, bool confirmOverwrite, IMessageBox& box,
                            const StatusSink& status) {
  const std::string failed = DisplayText(path) + std::string(playlist_text::kSaveFailedSuffix);
  const std::string folder = FolderOfPath(path);
  if (!folder.empty() && !Exists(folder)) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
      box.Error(failed);
      return SaveResult::Failed;
    }
  }
  if (confirmOverwrite && Exists(path)) {
    const std::string question = DisplayText(path) + std::string(playlist_text::kOverwriteSuffix);
    if (box.Confirm(question, MessageButtons::YesNo) != MessageAnswer::Yes) return SaveResult::Declined;
  }
  Tell(status, playlist_text::kSaving);
  const std::optional<std::string> image = EncodePlayList(list);
  if (!image || !ReplaceFileAtomically(path, *image)) {
    box.Error(failed);
    return SaveResult::Failed;
  }
  box.Beep(BeepKind::Information);
  Tell(status, playlist_text::kSaved);
  return SaveResult::Saved;
}

}  // namespace kadrel
