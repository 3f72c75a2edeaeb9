#pragma once
// Index files for the search tests, written by the index store itself: folders under
// a temporary root, each filed on the volume its first folder name chooses
// ("usb/..." on /media/usb, anything else on /).

#include <string>
#include <vector>

#include "base/encoding.h"
#include "index/folder_index.h"
#include "search/index_search.h"
#include "search/index_snapshot.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel::test {

inline TMusicFileInfo Song(const std::string& name, int row, const std::string& title, const std::string& archive = {}) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileType = row;
  r.ItemKind = archive.empty() ? kLooseFile : kArchiveMember;
  r.Archiver = archive;
  r.Title = title;
  r.Size = 1234;
  return r;
}

inline SearchQuery Query(std::string text) {
  SearchQuery q;
  q.text = std::move(text);
  return q;
}

class SearchFixture {
 public:
  SearchFixture() {
    options.IndexFolder = temp.path() + "index/";
    options.IndexMode = 2;
  }

  TFolderIndex MakeStore() {
    const std::string usb = temp.path() + "usb/";
    return TFolderIndex(options, messages, StatusCallback{}, [usb](const std::string& folder) {
      const bool onUsb = folder.starts_with(usb);
      return VolumeInfo{onUsb ? "/media/usb" : "/", "ext4", onUsb ? "8:17" : "8:1", VolumeKind::Fixed};
    });
  }

  // Makes the folder (relative to the root) and files its records in the index.
  std::string File(const std::string& relative, const std::vector<TMusicFileInfo>& records) {
    const std::string folder = temp.MakeFolder(relative);
    TFolderIndex store = MakeStore();
    std::vector<TMusicFileInfo> out;
    store.OpenFolderIndex(folder, out);
    store.WriteFolderBlock(records);
    return folder;
  }

  std::vector<std::string> IndexFiles() const { return IndexFilesIn(options.IndexFolder); }

  // Every hit of `query` over the index files, in the order they came.
  std::vector<SearchHit> Search(const SearchQuery& query, SearchOutcome* outcome = nullptr) {
    std::vector<SearchHit> hits;
    IndexSearch search(cache);
    SearchOutcome o = search.Run(query, IndexFiles(), [&](std::vector<SearchHit>&& batch) {
      for (auto& h : batch) hits.push_back(std::move(h));
    });
    if (outcome) *outcome = o;
    return hits;
  }
  std::vector<SearchHit> Search(const std::string& text) { return Search(Query(text)); }

  TempDir temp;
  TMainOption options;
  RecordingMessageBox messages;
  SearchCache cache;
};

inline std::vector<std::string> Names(const std::vector<SearchHit>& hits) {
  std::vector<std::string> names;
  for (const SearchHit& h : hits) names.push_back(h.record.FileName);
  return names;
}

}  // namespace kadrel::test
