// Adding entries of the file list or the detail window to the play list.

#include <exception>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_folders.h"
#include "playlist/playlist_io.h"
#include "playlist/playlist_texts.h"

namespace kadrel {
namespace {

bool IsPlayListFile(const TMusicFileInfo& r) { return r.ItemKind == kLooseFile && r.FileType == kRowMPL; }

class Adder {
 public:
  Adder(TPLInfo& list, PlayListSelection& selection, int position, IMessageBox& box)
      : list_(list), selection_(selection), box_(box) {
    const int count = static_cast<int>(list.Items.size());
    position_ = position >= 0 && position < count ? position : -1;
  }

  // A new item with the default marks and slot.
  void Add(const std::string& folder, const TMusicFileInfo& music) {
    try {
      auto item = std::make_unique<TPLMusicInfo>();
      item->Folder = WithTrailingSlash(folder);
      item->Music = music;
      list_.BaseFolder = list_.Items.empty() ? item->Folder : CommonFolder(list_.BaseFolder, item->Folder);
      if (position_ < 0) {
        list_.Items.push_back(std::move(item));
      } else {
        list_.Items.insert(list_.Items.begin() + position_, std::move(item));
        for (int& row : selection_.Selected) row += row >= position_ ? 1 : 0;
        if (selection_.Focused >= position_) ++selection_.Focused;
      }
      ++added_;
    } catch (const std::exception&) {
      box_.Error(DisplayText(music.FullName()) + std::string(playlist_text::kAddErrorSuffix));
    }
  }

  int added() const { return added_; }

 private:
  TPLInfo& list_;
  PlayListSelection& selection_;
  IMessageBox& box_;
  int position_ = -1;
  int added_ = 0;
};

}  // namespace

AddResult AddToPlayList(TPLInfo& list, PlayListSelection& selection, const std::vector<PlayListSource>& sources,
                        int position, const ListPlayState& state, const SlotFinder& slotFor, IMessageBox& box) {
  AddResult result;
  if (state.Running) {
    for (const PlayListSource& source : sources) {
      if (IsPlayListFile(source.Music)) {
        box.Warn(std::string(playlist_text::kListPlayRunning));
        result.Result = EditResult::Refused;
        return result;
      }
    }
  }

  Adder adder(list, selection, position, box);
  for (const PlayListSource& source : sources) {
    const TMusicFileInfo& r = source.Music;
    if (r.ItemKind == kParentEntry || r.ItemKind == kFolderEntry || r.FileType < 0) continue;
    if (r.FileType == kRowMPL) {
      if (!IsPlayListFile(r)) continue;
      const std::string path = WithTrailingSlash(source.Folder) + r.FullName();
      PlayListContent content;
      const PlayListReadStatus status = ReadPlayListFile(path, content);
      if (status != PlayListReadStatus::Ok) {
        ReportPlayListReadFailure(status, path, box);
        continue;
      }
      for (const TPLMusicInfo& item : content.Items) adder.Add(item.Folder, item.Music);
      continue;
    }
    // The slot is only checked here; the item always starts on the automatic slot.
    const std::string path = WithTrailingSlash(source.Folder) + r.FullName();
    if (!slotFor || slotFor(path) < 1) {
      const MessageAnswer answer = box.Show({MessageKind::Warning, MessageButtons::CancelAbortIgnore, {},
                                             DisplayText(r.FullName()) + std::string(playlist_text::kNoPlayerSuffix)});
      if (answer == MessageAnswer::Cancel) {
        result.Result = EditResult::Cancelled;
        break;
      }
      if (answer != MessageAnswer::Ignore) continue;
    }
    adder.Add(source.Folder, r);
  }

  result.Added = adder.added();
  if (result.Added > 0 && selection.Selected.empty() && selection.Focused < 0) {
    selection.Selected = {0};
    selection.Focused = 0;
  }
  return result;
}

}  // namespace kadrel
