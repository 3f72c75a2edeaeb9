#include "index/title_edit.h"

#include "base/text_helpers.h"

namespace kadrel {

const std::array<const char*, kTitleColumnCount>& TitleGridHeader() {
  static const std::array<const char*, kTitleColumnCount> header = {
      "FileName", "Artist", "Composer", "SongWriter", "DataMaker", "Title", "Album"};
  return header;
}

std::vector<TitleRow> BuildTitleGrid(const std::vector<TMusicFileInfo>& list) {
  std::vector<TitleRow> rows;
  for (const TMusicFileInfo& r : list) {
    if (!r.IsFile()) continue;
    rows.push_back({r.FullName(), r.Artist, r.Composer, r.SongWriter, r.DataMaker, r.Title, r.Album});
  }
  return rows;
}

TitleSaveResult SaveTitleEdits(const std::vector<TitleRow>& rows, std::vector<TMusicFileInfo>& list,
                               TFolderIndex& index, std::atomic<bool>& indexBusy) {
  IMessageBox& messages = index.Messages();
  TitleSaveResult result = TitleSaveResult::Saved;
  size_t entry = 0;
  for (const TitleRow& row : rows) {
    while (entry < list.size() && !list[entry].IsFile()) ++entry;
    if (entry == list.size() || list[entry].FullName() != row[kTitleFileName]) {
      messages.Warn("ファイルリストの情報更新中に予期せぬエラーが発生しました.\nタイトルの編集を強制終了します.");
      result = TitleSaveResult::Mismatch;
      break;
    }
    TMusicFileInfo& r = list[entry++];
    r.Artist = row[kTitleArtist];
    r.Composer = row[kTitleComposer];
    r.SongWriter = row[kTitleSongWriter];
    r.DataMaker = row[kTitleDataMaker];
    r.Title = row[kTitleTitle];
    r.Album = row[kTitleAlbum];
    r.InfoState = TrimBlanks(r.Title).empty() ? kInfoNoTitle : kInfoRead;
  }
  bool expected = false;
  if (!indexBusy.compare_exchange_strong(expected, true)) {
    messages.Warn(
        "インデックスが使用中のため、保存に失敗しました.\nもう一度[Indexのタイトルの編集]を行ってみたください.\n"
        "メモリ内の編集内容は破棄されてはいません.");
    return TitleSaveResult::IndexBusy;
  }
  const bool ok = index.ReplaceFolderBlock(list);
  indexBusy = false;
  if (result == TitleSaveResult::Saved && !ok) result = TitleSaveResult::IndexFailed;
  return result;
}

}  // namespace kadrel
