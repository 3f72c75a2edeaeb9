#pragma once
// What the folder scan needs of the index store.
//
// Threads: ReadFolder, SaveFolder and ReplaceFolder run on the scan's worker,
// ForgetFolder on the window's thread. They never overlap: the window leaves the
// store alone while a pass runs (index commands wait for the end of the pass).

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "scan/scan_view.h"

namespace kadrel {

// Where the indexed entries will go in the list, taken on the window's thread.
struct IndexListPlace {
  int listed = 0;          // entries the list holds already (parent entry, sub-folders)
  int firstScreenful = 0;  // first visible row + rows per page + 1
};

class IFolderIndexPort {
 public:
  virtual ~IFolderIndexPort() = default;
  // Reads the folder's indexed entries into `out`; true when the block held at least
  // one. Polls `stop` between records.
  virtual bool ReadFolder(const std::string& folder, const IndexListPlace& place, const std::atomic<bool>& stop,
                          std::vector<std::unique_ptr<TMusicFileInfo>>& out) = 0;
  // Appends the folder's block when it is missing, from the list's entries as shown
  // at the end of the pass (folders-only lists are not stored).
  virtual void SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) = 0;
  // Replaces the folder's block after the list changed.
  virtual void ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) = 0;
  // Re-read all: drops the folder's block so that the folder is listed from its files.
  // False when the block could not be dropped (the user was told).
  virtual bool ForgetFolder(const std::string& folder) = 0;
};

}  // namespace kadrel
