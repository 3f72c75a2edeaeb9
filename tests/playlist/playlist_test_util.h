#pragma once
// Shared pieces of the play-list tests: a scripted message box and item builders.

#include <deque>
#include <string>
#include <vector>

#include "catalog/format_table.h"
#include "base/message_box.h"
#include "catalog/pl_music_info.h"

namespace kadrel::test {

// Records every box and answers questions from a script (then with the default).
class ScriptedBox final : public IMessageBox {
 public:
  explicit ScriptedBox(std::deque<MessageAnswer> answers = {}, MessageAnswer otherwise = MessageAnswer::Cancel)
      : answers_(std::move(answers)), otherwise_(otherwise) {}
  MessageAnswer Show(const MessageRequest& request) override {
    shown.push_back(request);
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers_.empty()) return otherwise_;
    MessageAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }

  std::vector<MessageRequest> shown;
  std::vector<BeepKind> beeps;

 private:
  std::deque<MessageAnswer> answers_;
  MessageAnswer otherwise_;
};

inline TMusicFileInfo MusicRecord(const std::string& stem, int row = kRowMID, const std::string& archive = {}) {
  TMusicFileInfo r;
  r.FileName = stem;
  r.FileExt = "." + std::string(kFormatTable[row].Code);
  r.FileType = row;
  r.ItemKind = archive.empty() ? kLooseFile : kArchiveMember;
  r.Archiver = archive;
  r.IconIndex = IconIndexFor(row, 0);
  r.InfoState = kInfoNoTitle;
  return r;
}

inline void AddItem(TPLInfo& list, const std::string& folder, const TMusicFileInfo& music, int32_t order = kNoOrder) {
  auto item = std::make_unique<TPLMusicInfo>();
  item->Folder = folder;
  item->Music = music;
  item->Order = order;
  list.Items.push_back(std::move(item));
}

inline std::vector<std::string> Names(const TPLInfo& list) {
  std::vector<std::string> names;
  for (const auto& item : list.Items) names.push_back(item->Music.FileName);
  return names;
}

}  // namespace kadrel::test
