#pragma once
// The window side of the folder scan: the file list and the status bar. Every method
// runs on the window's thread; the scan worker reaches them only through
// IWindowBridge::RunOnWindowThread. Tests implement it over a plain vector.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"

namespace kadrel {

// What an update pass compares of a listed entry: its kind, names and time, not its
// information texts.
struct ScanEntryKey {
  int32_t ItemKind = 0;
  std::string FileName;
  std::string FileExt;
  std::string Archiver;
  uint16_t DosDate = 0;
  uint16_t DosTime = 0;
};

class IScanView {
 public:
  virtual ~IScanView() = default;

  // The file list. Ownership of added records passes to the list.
  virtual void AddRecord(std::unique_ptr<TMusicFileInfo> record) = 0;
  virtual void InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) = 0;
  // A whole batch at the end of the list (an index block), in one call.
  virtual void AddRecords(std::vector<std::unique_ptr<TMusicFileInfo>> records) {
    for (auto& r : records) AddRecord(std::move(r));
  }
  virtual int Count() const = 0;
  virtual TMusicFileInfo CopyEntry(int index) const = 0;
  virtual void RemoveEntry(int index) = 0;
  // The keys of every entry in list order, in one call: `keys` is resized to Count()
  // and overwritten in place. A pass over many thousand rows thus copies their names,
  // not whole records, and a vector sized beforehand by the caller spares the window's
  // thread the cost of touching fresh memory.
  virtual void CopyEntryKeys(std::vector<ScanEntryKey>& keys) const {
    keys.resize(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) AssignKey(keys[static_cast<size_t>(i)], CopyEntry(i));
  }
  static void AssignKey(ScanEntryKey& key, const TMusicFileInfo& r) {
    key.ItemKind = r.ItemKind;
    key.FileName = r.FileName;
    key.FileExt = r.FileExt;
    key.Archiver = r.Archiver;
    key.DosDate = r.DosDate;
    key.DosTime = r.DosTime;
  }
  // First visible row and the number of rows a page shows.
  virtual void VisibleRange(int& top, int& rowsPerPage) const = 0;
  // Tells the view the count changed; repaint every row or only the visible tail.
  virtual void ResetItemCount(bool repaintAll) = 0;

  // Status bar panels 0 (state) and 1 (detail); texts are UTF-8.
  virtual void SetStatusText(int panel, const std::string& text) = 0;
  // The search progress bar.
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual int ProgressMaximum() const = 0;
};

// What the end of a pass and a folder listing ask of the window, besides the list.
class IScanWindowHooks {
 public:
  virtual ~IScanWindowHooks() = default;
  // Folder-changing and index commands and the folder watcher, off while a pass runs.
  virtual void SetBusy(bool busy) = 0;
  // The folder watcher follows the shown folder.
  virtual void WatchFolder(const std::string& folder) = 0;
  // Sort the whole list by the current sort state and repaint it.
  virtual void SortAndRefresh() = 0;
  // Repaint the list (after rows were added without repainting).
  virtual void Refresh() = 0;
  // Focus and select row `index` and scroll it into view.
  virtual void FocusRow(int index) = 0;
};

}  // namespace kadrel
