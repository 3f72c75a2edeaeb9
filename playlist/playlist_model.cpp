// The list's own state: marks, title, base folder and the header texts.

#include <sys/stat.h>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_folders.h"
#include "playlist/playlist_texts.h"

namespace kadrel {

void ResetListPlayMarks(TPLInfo& list) {
  for (auto& item : list.Items) item->ResetListPlayMarks();
}

void ClearPlayListItems(TPLInfo& list) {
  list.Items.clear();
  list.BaseFolder.clear();
  list.Title.clear();
  list.FileName.clear();
}

void SetPlayListTitle(TPLInfo& list, std::string_view utf8) { list.Title = PreferCp932(utf8); }

std::string BaseFolderHeaderText(const TPLInfo& list) {
  return list.BaseFolder.empty() ? std::string(playlist_text::kBaseFolderUnset) : DisplayText(list.BaseFolder);
}

std::string TitleHeaderText(const TPLInfo& list) {
  return list.Title.empty() ? std::string(playlist_text::kTitleUnset) : DisplayText(list.Title);
}

bool CanEditBaseFolder(const TPLInfo& list, IMessageBox& box) {
  if (!list.BaseFolder.empty()) return true;
  box.Warn(std::string(playlist_text::kNoBaseFolder));
  return false;
}

bool ChangeBaseFolder(TPLInfo& list, std::string_view folder) {
  if (list.BaseFolder.empty() || folder.empty() || folder == ".") return false;
  struct stat st {};
  if (::stat(std::string(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  const std::string oldBase = WithTrailingSlash(list.BaseFolder);
  const std::string newBase = WithTrailingSlash(folder);
  if (newBase == oldBase) return false;
  for (auto& item : list.Items) {
    // Every item lies under the base; one that does not is left where it is.
    if (item->Folder.compare(0, oldBase.size(), oldBase) == 0) item->Folder = newBase + item->Folder.substr(oldBase.size());
  }
  list.BaseFolder = newBase;
  return true;
}

void SyncListPlayIndices(const TPLInfo& list, ListPlayState& state) {
  state.CurrentIndex = -1;
  state.NextIndex = -1;
  for (size_t i = 0; i < list.Items.size(); ++i) {
    if (list.Items[i]->Order == 0 && state.CurrentIndex < 0) state.CurrentIndex = static_cast<int>(i);
    if (list.Items[i]->Order == 1 && state.NextIndex < 0) state.NextIndex = static_cast<int>(i);
  }
}

}  // namespace kadrel
