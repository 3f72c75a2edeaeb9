#pragma once
// Opening a folder: on the scan worker the folder's listing (its sub-folder rows go to
// the list first), the index look-up and the passes, with their end handlers. The desktop program and
// `kadrel-cli list` drive the same controller; tests drive it with fakes.
//
// Threads: ShowFolder, StartUpdatePass, Stop and the end handlers run on the window's
// thread. The worker (TFileFindThread) lists the folder, reads the index block and runs
// the pass, and reaches the window through the bridge only.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "scan/archive_port.h"
#include "scan/index_port.h"
#include "scan/scan_pass.h"
#include "scan/scan_view.h"
#include "base/window_bridge.h"
#include "catalog/sort_state.h"
#include "catalog/options.h"

namespace kadrel {

class TFileFindThread;

// The file list's sort order (TSortState: key 1..12 or 0, direction, sorted flag).
using SortState = TSortState;

struct ScanSettings {
  TMainOption main;
  TListViewOption view;
  std::string workFolder;  // where archive members are extracted, ends in "/"
  bool useIndex = true;    // false: neither read nor write the index (kadrel-cli --no-index)
  bool sortOption = true;  // "SortOption": ignore leading symbols in the information columns
};

class FolderScanController {
 public:
  FolderScanController(IWindowBridge& bridge, IScanView& view, IScanWindowHooks& hooks, IMessageBox& messages);
  ~FolderScanController();  // tells the worker to terminate and joins it
  FolderScanController(const FolderScanController&) = delete;
  FolderScanController& operator=(const FolderScanController&) = delete;

  void SetSettings(const ScanSettings& settings);
  // Collaborators; each may be left unset (no archives, no index, no documents).
  void SetArchivePort(IArchivePort* archives) { archives_ = archives; }
  void SetIndexPort(IFolderIndexPort* index) { index_ = index; }
  void SetDocumentStep(DocumentStep step) { documentStep_ = std::move(step); }
  const ScanSettings& Settings() const { return settings_; }
  SortState& Sort() { return sort_; }

  // Lists `folder` and starts a pass (full scan, or an update pass after an index load).
  // Does nothing while a pass runs. `previousFolder` decides which row gets the focus.
  void ShowFolder(const std::string& folder, const std::string& previousFolder);
  // Update pass: mode 1 after an index load, mode 2 also re-checks the sub-folders.
  // The folder's index block is written anew only when the list came from the index.
  void StartUpdatePass(ScanMode mode);
  // Re-read all: drops the folder's index block and lists `folder` anew by a full scan.
  // When the block cannot be dropped, that scan neither reads nor writes the index, so
  // the old entries are not shown again. Does nothing while a pass runs.
  void ReReadFolder(const std::string& folder);
  // Sets the stop flag; the pass ends soon and still runs its end handler.
  void Stop();

  // True from ShowFolder (or an update pass) until the pass's end handler has run.
  bool ScanRunning() const { return scanRunning_ || passActive_; }
  bool ListBusy() const { return listBusy_; }
  const std::string& CurrentFolder() const { return folder_; }
  // Called after every end handler (on the window's thread): true when the index was used.
  std::function<void(bool fromIndex)> onPassFinished;

 private:
  friend class TFileFindThread;
  void ShowFolderRows(const FolderListing* listing);
  void BeginFullScan();
  // `indexFirst`: the pass starts by loading the folder's index block; when it holds
  // entries, the pass becomes the update pass that follows an index load.
  // `folderRows`: the pass starts by listing the folder and showing its sub-folders
  // (the opening of a folder); the pass works on the same listing.
  void StartPass(ScanMode mode, bool indexFirst = false, bool folderRows = false);
  void RunPass(ScanMode mode, bool indexFirst, bool folderRows);  // on the worker
  bool LoadFromIndex(ScanMode& mode);            // on the worker
  // The end of a pass on the window's thread: what it shows (true: the list is to be
  // stored in the index), then, after the worker stored it, the end handler.
  bool ShowEndOfFullScan();
  bool ShowEndOfUpdatePass();
  void FinishPass(bool fromIndex);
  // On the worker: the list's entries, copied on the window's thread in slices; false
  // when the window is gone.
  bool CopyListedEntries(std::vector<TMusicFileInfo>& entries);

  IWindowBridge& bridge_;
  IScanView& view_;
  IScanWindowHooks& hooks_;
  IMessageBox& messages_;
  ScanSettings settings_;
  SortState sort_;
  std::string folder_;
  std::string previousFolder_;  // the opening's focus goes to the row of this sub-folder
  int countAtStart_ = 0;
  IndexListPlace indexPlace_;  // set with the folder rows for the index load on the worker
  bool fromIndex_ = false;
  bool indexInUse_ = false;     // the shown folder's passes read and write the index
  bool skipIndexOnce_ = false;  // set by ReReadFolder for the listing it starts
  std::atomic<bool> scanRunning_{false};
  std::atomic<bool> listBusy_{false};
  std::atomic<bool> stop_{false};
  std::atomic<bool> passActive_{false};
  IArchivePort* archives_ = nullptr;
  IFolderIndexPort* index_ = nullptr;
  DocumentStep documentStep_;
  std::unique_ptr<TFileFindThread> worker_;
};

}  // namespace kadrel
