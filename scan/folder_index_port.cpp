#include "scan/folder_index_port.h"

#include <memory>
#include <vector>

namespace kadrel {
namespace {

// Each record straight into its own place, as the file list keeps them.
class RecordBatch final : public IndexRecordSink {
 public:
  void Expect(size_t count) override { records.reserve(records.size() + count); }
  void Take(TMusicFileInfo&& record) override { records.push_back(std::make_unique<TMusicFileInfo>(std::move(record))); }
  std::vector<std::unique_ptr<TMusicFileInfo>> records;
};

std::vector<TMusicFileInfo> Entries(const IScanView& view) {
  std::vector<TMusicFileInfo> list;
  list.reserve(static_cast<size_t>(view.Count()));
  for (int i = 0; i < view.Count(); ++i) list.push_back(view.CopyEntry(i));
  return list;
}

}  // namespace

bool FolderIndexPort::LoadFolder(const std::string& folder, IScanView& view, const std::atomic<bool>& stop) {
  int top = 0, perPage = 0;
  view.VisibleRange(top, perPage);
  IndexReadOptions read;
  read.listCount = view.Count();
  read.firstScreenful = top + perPage + 1;
  read.shouldStop = [&stop] { return stop.load(); };
  RecordBatch batch;
  if (!index_.OpenFolderIndex(folder, batch, read)) return false;
  view.AddRecords(std::move(batch.records));
  return true;
}

void FolderIndexPort::SaveFolder(const std::string& folder, const IScanView& view) {
  if (index_.CurrentFolder() != folder) index_.SetCurrentFolder(folder);
  index_.WriteFolderBlock(Entries(view));
}

void FolderIndexPort::ReplaceFolder(const std::string& folder, const IScanView& view) {
  if (index_.CurrentFolder() != folder) index_.SetCurrentFolder(folder);
  if (index_.DeleteFolderBlock(folder, false)) index_.WriteFolderBlock(Entries(view));
}

bool FolderIndexPort::ForgetFolder(const std::string& folder) {
  // Only the volume's file and the folder's own file are ever read; a folder of any
  // other style (none, or the disk's root, which is not provided) has no block to drop
  // and must not get a file nobody reads.
  const int32_t style = index_.IndexStyleFor(folder);
  if (style != kDriveIndex && style != kFolderIndex) return true;
  if (index_.CurrentFolder() != folder) index_.SetCurrentFolder(folder);
  if (index_.DeleteFolderBlock(folder, false)) return true;
  // A missing or deleted foreign file is replaced by an empty index for the full scan.
  index_.EnsureIndexFile(index_.IndexPathFor(folder));
  return false;
}

}  // namespace kadrel
