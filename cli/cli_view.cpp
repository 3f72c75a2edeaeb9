#include "cli/cli_view.h"

#include <cstdio>
#include <iostream>

namespace kadrel::cli {

void CliScanView::AddRecord(std::unique_ptr<TMusicFileInfo> record) {
  VectorScanView::AddRecord(std::move(record));
  if (showProgress_ && list.size() % 100 == 0) {
    std::fprintf(stderr, "\r%zu entries...", list.size());
    progressShown_ = true;
  }
}

void CliScanView::SetProgressPosition(int position) {
  if (!showProgress_ || progressMax <= 1 || position <= 0) return;
  std::fprintf(stderr, "\rarchives %d/%d, %zu entries...", position, progressMax, list.size());
  progressShown_ = true;
}

void CliScanView::EndProgressLine() {
  if (progressShown_) std::fprintf(stderr, "\r\033[K");
  progressShown_ = false;
}

MessageAnswer StderrMessageBox::Show(const MessageRequest& request) {
  std::cerr << "kadrel-cli: " << request.text << "\n";
  switch (request.buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageAnswer::No;
    case MessageButtons::AbortRetryIgnore: return MessageAnswer::Abort;
    default: return MessageAnswer::Cancel;
  }
}

}  // namespace kadrel::cli
