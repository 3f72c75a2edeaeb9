#pragma once
// The file list of `kadrel-cli list`: the folder scan's window side over a plain vector.

#include <memory>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "scan/folder_scan_controller.h"
#include "scan/scan_view.h"
#include "sorting/sort_list.h"

namespace kadrel::cli {

class CliScanView final : public IScanView, public IScanWindowHooks {
 public:
  CliScanView(const SortState& sort, bool sortOption, bool showProgress)
      : sort_(sort), sortOption_(sortOption), showProgress_(showProgress) {}

  void AddRecord(std::unique_ptr<TMusicFileInfo> record) override;
  void InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) override;
  int Count() const override { return static_cast<int>(list_.size()); }
  TMusicFileInfo CopyEntry(int index) const override { return *list_.at(static_cast<size_t>(index)); }
  void RemoveEntry(int index) override { list_.erase(list_.begin() + index); }
  void VisibleRange(int& top, int& rowsPerPage) const override {
    top = 0;
    rowsPerPage = 40;
  }
  void ResetItemCount(bool) override {}
  void SetStatusText(int, const std::string&) override {}
  void SetProgressRange(int maximum) override { progressMax_ = maximum; }
  void SetProgressPosition(int) override;
  int ProgressMaximum() const override { return progressMax_; }

  void SetBusy(bool) override {}
  void WatchFolder(const std::string&) override {}
  void SortAndRefresh() override;
  void Refresh() override {}
  void FocusRow(int) override {}
  void ProcessPendingEvents() override {}

  const std::vector<std::unique_ptr<TMusicFileInfo>>& List() const { return list_; }
  void EndProgressLine();

 private:
  const SortState& sort_;
  bool sortOption_;
  bool showProgress_;
  bool progressShown_ = false;
  int progressMax_ = 100;
  TSortKeyCache cache_;
  std::vector<std::unique_ptr<TMusicFileInfo>> list_;
};

// Messages go to standard error; questions get the cautious answer (No / Cancel).
class StderrMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override;
  void Beep(BeepKind) override {}
};

}  // namespace kadrel::cli
