#pragma once
// The file list of `kadrel-cli list`: the folder scan's window side over a plain vector.

#include <memory>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "scan/folder_scan_controller.h"
#include "scan/vector_scan_view.h"

namespace kadrel::cli {

// The vector view with a progress line on a terminal.
class CliScanView final : public VectorScanView {
 public:
  CliScanView(const SortState& sort, bool sortOption, bool showProgress)
      : VectorScanView(sort, sortOption), showProgress_(showProgress) {}

  void AddRecord(std::unique_ptr<TMusicFileInfo> record) override;
  void SetProgressPosition(int position) override;

  const std::vector<std::unique_ptr<TMusicFileInfo>>& List() const { return list; }
  void EndProgressLine();

 private:
  bool showProgress_;
  bool progressShown_ = false;
};

// Messages go to standard error; questions get the cautious answer (No / Cancel).
class StderrMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override;
  void Beep(BeepKind) override {}
};

}  // namespace kadrel::cli
