#pragma once
// Shared pieces of the index tests: a message box that records what it was asked and
// answers from a script, and a store over a temporary index folder whose folders all
// sit on a volume of a chosen kind.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "base/message_box.h"
#include "index/folder_index.h"
#include "support/temp_dir.h"

namespace kadrel::test {

class RecordingMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& r) override {
    shown.push_back(r);
    if (!answers.empty()) {
      MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    return r.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }

  std::vector<MessageRequest> shown;
  std::vector<BeepKind> beeps;
  std::deque<MessageAnswer> answers;
};

inline TMusicFileInfo Entry(const std::string& name, int row, int kind, const std::string& archive = {}) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileType = row;
  r.FileExt = ".x";
  r.ItemKind = kind;
  r.Archiver = archive;
  r.Title = "T-" + name;
  r.Size = 100;
  return r;
}

class IndexTest : public ::testing::Test {
 protected:
  IndexTest() {
    options.IndexFolder = temp.path() + "index/";
    options.IndexMode = 2;
  }

  TFolderIndex MakeIndex(VolumeKind kind = VolumeKind::Fixed) {
    return TFolderIndex(
        options, messages, [this](int panel, const std::string& t) { status.emplace_back(panel, t); },
        [kind](const std::string&) { return VolumeInfo{"/", "ext4", "8:1", kind}; });
  }

  std::string DrivePath() const { return options.IndexFolder + "__index.dat"; }

  TempDir temp;
  TMainOption options;
  RecordingMessageBox messages;
  std::vector<std::pair<int, std::string>> status;
};

}  // namespace kadrel::test
