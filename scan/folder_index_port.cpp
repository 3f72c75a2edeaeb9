#include "scan/folder_index_port.h"

#include <memory>
#include <vector>

namespace kadrel {
namespace {

// Each record straight into its own place, as the file list keeps them.
class RecordBatch final : public IndexRecordSink {
 public:
  explicit RecordBatch(std::vector<std::unique_ptr<TMusicFileInfo>>& records) : records_(records) {}
  void Expect(size_t count) override { records_.reserve(records_.size() + count); }
  void Take(TMusicFileInfo&& record) override { records_.push_back(std::make_unique<TMusicFileInfo>(std::move(record))); }

 private:
  std::vector<std::unique_ptr<TMusicFileInfo>>& records_;
};

}  // namespace

bool FolderIndexPort::ReadFolder(const std::string& folder, const IndexListPlace& place,
                                 const std::atomic<bool>& stop, std::vector<std::unique_ptr<TMusicFileInfo>>& out) {
  IndexReadOptions read;
  read.listCount = place.listed;
  read.firstScreenful = place.firstScreenful;
  read.shouldStop = [&stop] { return stop.load(); };
  RecordBatch batch(out);
  return index_.OpenFolderIndex(folder, batch, read);
}

void FolderIndexPort::SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) {
  if (index_.CurrentFolder() != folder) index_.SetCurrentFolder(folder);
  index_.WriteFolderBlock(entries);
}

void FolderIndexPort::ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) {
  if (index_.CurrentFolder() != folder) index_.SetCurrentFolder(folder);
  if (index_.DeleteFolderBlock(folder, false)) index_.WriteFolderBlock(entries);
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
