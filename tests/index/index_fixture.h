#pragma once
// Shared pieces of the index tests: records, and a store over a temporary index folder
// whose folders all sit on a volume of a chosen kind.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "index/folder_index.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel::test {

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

// The row a folder listing starts with: the folder itself.
inline TMusicFileInfo FolderRow() {
  TMusicFileInfo r;
  r.FileType = -1;
  r.ItemKind = kFolderEntry;
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

  // Opens `folder` in `index` and writes `list` as its block.
  static bool SaveBlock(TFolderIndex& index, const std::string& folder, const std::vector<TMusicFileInfo>& list) {
    std::vector<TMusicFileInfo> out;
    index.OpenFolderIndex(folder, out);
    return index.WriteFolderBlock(list);
  }

  std::string DrivePath() const { return options.IndexFolder + "__index.dat"; }

  TempDir temp;
  TMainOption options;
  RecordingMessageBox messages;
  std::vector<std::pair<int, std::string>> status;
};

}  // namespace kadrel::test
