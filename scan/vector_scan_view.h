#pragma once
// The folder scan's window side over a plain vector: the list of the command-line tool,
// the tests and the benchmarks. The list is sorted with the cached collation keys the
// window uses. Subclasses add what they show or record (progress, status texts).

#include <memory>
#include <string>
#include <vector>

#include "catalog/sort_state.h"
#include "scan/scan_view.h"
#include "sorting/sort_list.h"

namespace kadrel {

class VectorScanView : public IScanView, public IScanWindowHooks {
 public:
  VectorScanView() = default;
  VectorScanView(const TSortState& sort, bool sortOption) : sort(sort), sortOption(sortOption) {}

  void AddRecord(std::unique_ptr<TMusicFileInfo> record) override { list.push_back(std::move(record)); }
  void InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) override;
  int Count() const override { return static_cast<int>(list.size()); }
  TMusicFileInfo CopyEntry(int index) const override { return *list.at(static_cast<size_t>(index)); }
  void RemoveEntry(int index) override { list.erase(list.begin() + index); }
  void VisibleRange(int& top, int& rowsPerPage) const override {
    top = 0;
    rowsPerPage = kRowsPerPage;
  }
  void ResetItemCount(bool) override {}
  void SetStatusText(int, const std::string&) override {}
  void SetProgressRange(int maximum) override { progressMax = maximum; }
  void SetProgressPosition(int) override {}
  int ProgressMaximum() const override { return progressMax; }

  void SetBusy(bool) override {}
  void WatchFolder(const std::string&) override {}
  void SortAndRefresh() override;
  void Refresh() override {}
  void FocusRow(int) override {}

  static constexpr int kRowsPerPage = 40;

  std::vector<std::unique_ptr<TMusicFileInfo>> list;
  TSortState sort;
  bool sortOption = true;  // "SortOption": ignore leading symbols in the information columns
  int progressMax = 100;

 private:
  TSortKeyCache keys_;
};

}  // namespace kadrel
