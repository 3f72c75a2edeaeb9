#include "scan/folder_index_port.h"

#include <memory>
#include <vector>

namespace kadrel {
namespace {

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
  std::vector<TMusicFileInfo> records;
  if (!index_.OpenFolderIndex(folder, records, read)) return false;
  for (TMusicFileInfo& r : records) view.AddRecord(std::make_unique<TMusicFileInfo>(std::move(r)));
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
