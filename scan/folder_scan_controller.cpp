#include "scan/folder_scan_controller.h"

#include <algorithm>

#include "base/dos_datetime.h"
#include "catalog/format_table.h"
#include "scan/file_find_thread.h"
#include "scan/folder_listing.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"

namespace kadrel {

FolderScanController::FolderScanController(IWindowBridge& bridge, IScanView& view, IScanWindowHooks& hooks,
                                           IMessageBox& messages)
    : bridge_(bridge), view_(view), hooks_(hooks), messages_(messages), worker_(std::make_unique<TFileFindThread>()) {}

FolderScanController::~FolderScanController() {
  stop_ = true;
  worker_.reset();  // terminates and joins the worker
}

void FolderScanController::SetSettings(const ScanSettings& settings) { settings_ = settings; }

void FolderScanController::Stop() { stop_ = true; }

void FolderScanController::ShowFolder(const std::string& folder, const std::string& previousFolder) {
  if (ScanRunning()) return;
  scanRunning_ = true;
  listBusy_ = true;
  stop_ = false;
  fromIndex_ = false;
  indexInUse_ = settings_.useIndex && index_ && !skipIndexOnce_;
  skipIndexOnce_ = false;

  folder_ = WithTrailingSlash(folder);
  sort_.Sorted = false;
  while (view_.Count() > 0) view_.RemoveEntry(view_.Count() - 1);
  view_.ResetItemCount(true);
  hooks_.SetBusy(true);
  view_.SetProgressPosition(0);
  hooks_.WatchFolder(folder_);

  previousFolder_ = previousFolder;
  countAtStart_ = view_.Count();

  // The worker lists the folder once, for its sub-folder rows and for the pass, and
  // reads and decodes the index block: for a folder of many thousand entries either
  // would otherwise hold the window up.
  if (indexInUse_) {
    StartPass(ScanMode::FullScan, /*indexFirst=*/true, /*folderRows=*/true);
    return;
  }
  BeginFullScan();
  StartPass(ScanMode::FullScan, /*indexFirst=*/false, /*folderRows=*/true);
}

void FolderScanController::BeginFullScan() {
  if (settings_.main.ShowWhileScanning) hooks_.Refresh();
  view_.SetStatusText(0, "ファイルの検索中です..");
}

// On the worker: the folder's entries from the index, handed to the list in one go;
// false when the window is gone.
bool FolderScanController::LoadFromIndex(ScanMode& mode) {
  std::vector<std::unique_ptr<TMusicFileInfo>> records;
  const bool found = index_->ReadFolder(folder_, indexPlace_, stop_, records);
  if (found) mode = ScanMode::UpdateAfterIndexLoad;
  return bridge_.RunOnWindowThread([&] {
    if (!found) {
      BeginFullScan();
      return;
    }
    fromIndex_ = true;
    view_.AddRecords(std::move(records));
    countAtStart_ = view_.Count();
    hooks_.SortAndRefresh();
    view_.SetStatusText(1, "インデックスを使用しました..");
  });
}

// On the window's thread, while the worker waits with the listing it took (null when
// the folder cannot be listed).
void FolderScanController::ShowFolderRows(const FolderListing* listing) {
  auto folderRecord = [](int32_t kind, const std::string& name, std::time_t mtime) {
    auto r = std::make_unique<TMusicFileInfo>();
    r->ItemKind = kind;
    r->FileType = -1;
    r->FileName = name;
    const DosStamp stamp = DosStampFromUnixTime(mtime);
    r->DosDate = stamp.date;
    r->DosTime = stamp.time;
    return r;
  };
  if (folder_ != "/") {
    if (auto parentTime = ParentFolderTime(folder_)) {
      auto parent = folderRecord(kParentEntry, "..", *parentTime);
      parent->Title = ParentEntryTitle();
      parent->IconIndex = 0;
      view_.AddRecord(std::move(parent));
    }
  }
  if (listing) {
    for (const DirEntry& e : listing->Entries()) {
      if (!e.isDirectory) continue;
      auto r = folderRecord(kFolderEntry, e.name, e.mtime);
      r->IconIndex = kFolderImage;
      view_.AddRecord(std::move(r));
    }
  }
  hooks_.SortAndRefresh();

  // Coming up from a sub-folder focuses that folder's row.
  int focus = 0;
  const std::string previous = WithTrailingSlash(previousFolder_);
  if (previous.size() > folder_.size() && previous.compare(0, folder_.size(), folder_) == 0) {
    std::string rest = previous.substr(folder_.size());
    rest.pop_back();
    if (rest.find('/') == std::string::npos) {
      for (int i = 0; i < view_.Count(); ++i) {
        TMusicFileInfo e = view_.CopyEntry(i);
        if (e.ItemKind == kFolderEntry && EqualsIgnoreCase(e.FileName, rest)) {
          focus = i;
          break;
        }
      }
    }
  }
  if (view_.Count() > 0) hooks_.FocusRow(focus);
}

void FolderScanController::ReReadFolder(const std::string& folder) {
  if (ScanRunning()) return;
  const std::string path = WithTrailingSlash(folder);
  skipIndexOnce_ = settings_.useIndex && index_ && !index_->ForgetFolder(path);
  ShowFolder(path, {});
}

void FolderScanController::StartUpdatePass(ScanMode mode) {
  if (ScanRunning()) return;
  hooks_.SetBusy(true);
  stop_ = false;
  countAtStart_ = view_.Count();
  StartPass(mode);
}

void FolderScanController::StartPass(ScanMode mode, bool indexFirst, bool folderRows) {
  passActive_ = true;
  if (!worker_->Resume([this, mode, indexFirst, folderRows] { RunPass(mode, indexFirst, folderRows); }))
    passActive_ = false;
}

void FolderScanController::RunPass(ScanMode mode, bool indexFirst, bool folderRows) {
  auto windowGone = [this] {
    passActive_ = false;
    scanRunning_ = false;
    listBusy_ = false;
  };
  std::optional<FolderListing> listing;  // taken here when `folderRows`
  if (folderRows) {
    listing = ScanPass::ReadListing(folder_);
    const bool shown = bridge_.RunOnWindowThread([&] {
      ShowFolderRows(listing ? &*listing : nullptr);
      countAtStart_ = view_.Count();
      if (indexFirst) {
        int top = 0, perPage = 0;
        view_.VisibleRange(top, perPage);
        indexPlace_ = {view_.Count(), top + perPage + 1};
      }
    });
    if (!shown) return windowGone();
  }
  if (indexFirst && !LoadFromIndex(mode)) return windowGone();
  ScanPassRequest request;
  request.folder = folder_;
  request.workFolder = settings_.workFolder;
  request.mode = mode;
  request.options = settings_.main;
  // An update pass adds to a list that is already in order: new rows take their place.
  request.insertSorted =
      mode != ScanMode::FullScan || (settings_.main.ShowWhileScanning && settings_.main.ScanSortMode == 1);
  {
    // The pass's listing and tables go before the end of the pass sorts the list.
    ScanPass pass({bridge_, view_, messages_, archives_, documentStep_, stop_}, request);
    if (folderRows) pass.Run(std::move(listing));
    else pass.Run();
  }
  // The end shows on the window first; the entries to store are copied from there a
  // slice at a time and written here, so that neither the copy nor encoding and
  // writing a large block holds the window. The end handler runs only after that:
  // until then no index command touches the store and the list stays as it is.
  bool store = false;
  const bool shown = bridge_.RunOnWindowThread([&] {
    store = mode == ScanMode::FullScan ? ShowEndOfFullScan() : ShowEndOfUpdatePass();
  });
  if (!shown) return windowGone();
  if (store) {
    std::vector<TMusicFileInfo> entries;
    if (!CopyListedEntries(entries)) return windowGone();
    if (mode == ScanMode::FullScan) index_->SaveFolder(folder_, entries);
    else index_->ReplaceFolder(folder_, entries);
  }
  const bool ran = bridge_.RunOnWindowThread([&] {
    passActive_ = false;
    FinishPass(mode != ScanMode::FullScan && fromIndex_);
  });
  if (!ran) windowGone();
}

// On the worker. Copying 20,000 records in one call held the window 20-30 ms.
bool FolderScanController::CopyListedEntries(std::vector<TMusicFileInfo>& entries) {
  constexpr int kSlice = 1000;
  for (bool more = true; more;) {
    const bool ran = bridge_.RunOnWindowThread([&] {
      const int count = view_.Count();
      if (entries.empty()) entries.reserve(static_cast<size_t>(count));
      const int from = static_cast<int>(entries.size());
      const int to = std::min(count, from + kSlice);
      for (int i = from; i < to; ++i) entries.push_back(view_.CopyEntry(i));
      more = to < count;
    });
    if (!ran) return false;
  }
  return true;
}

bool FolderScanController::ShowEndOfFullScan() {
  view_.SetStatusText(0, "検索完了しました..");
  view_.SetStatusText(1, "");
  if (!settings_.main.ShowWhileScanning) {
    hooks_.SortAndRefresh();
  } else if (settings_.main.ScanSortMode == 2 && view_.Count() != countAtStart_) {
    hooks_.SortAndRefresh();
  }
  // A stopped pass listed part of the folder only; storing that would hide the rest
  // the next time the folder is opened from the index.
  const int count = view_.Count();
  return !stop_ && count > 0 && indexInUse_ && index_ && view_.CopyEntry(count - 1).IsFile();
}

bool FolderScanController::ShowEndOfUpdatePass() {
  view_.SetStatusText(0, "ready..");
  // Only a list that came from the index has its block written anew. A list the full
  // scan made leaves the index alone: with the index off or on a volume that keeps none
  // there is no file to touch (nor to warn about), and a block the full scan stored is
  // brought up to date by the update pass that follows its next load.
  return !stop_ && fromIndex_ && view_.Count() != countAtStart_ && indexInUse_ && index_;
}

void FolderScanController::FinishPass(bool fromIndex) {
  hooks_.SetBusy(false);
  listBusy_ = false;
  scanRunning_ = false;
  if (onPassFinished) onPassFinished(fromIndex);
}

}  // namespace kadrel
