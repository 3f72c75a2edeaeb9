#include "index/folder_index.h"
#include "base/byte_cursor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "base/text_helpers.h"
#include "catalog/index_record.h"
#include "base/atomic_file.h"
#include "base/owned_temp.h"
#include "base/path_helpers.h"
#include "index/folder_names.h"
#include "index/index_format.h"

namespace kadrel {

namespace {

constexpr const char* kLoadingText = "インデックスをメモリに格納中..";
constexpr const char* kTidyingText = "インデックスの整理中..";

VolumeInfo SystemVolumeOf(const std::string& folder) {
  // Classify by where the folder really is (a link may lead onto another volume).
  char resolved[PATH_MAX];
  const std::string real = ::realpath(folder.c_str(), resolved) ? std::string(resolved) : folder;
  return VolumeTable::System().VolumeOf(real);
}

bool MkdirAll(const std::string& folder) {
  if (folder.empty()) return false;
  std::string path;
  for (size_t i = 0; i < folder.size(); ++i) {
    path.push_back(folder[i]);
    if ((folder[i] == '/' && i > 0) || i + 1 == folder.size()) {
      if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return FolderExists(folder);
}

}  // namespace

TFolderIndex::TFolderIndex(const TMainOption& options, IMessageBox& messages, StatusCallback status,
                           VolumeLookup volumes)
    : options_(options), messages_(messages), status_(std::move(status)), volumes_(std::move(volumes)) {
  if (!volumes_) volumes_ = SystemVolumeOf;
  // Saves of runs that were killed meanwhile left their temporary files here.
  if (!options_.IndexFolder.empty()) RemoveOrphanedTemporaries(options_.IndexFolder, {});
}

void TFolderIndex::SetStatus(int panel, const std::string& text) const {
  if (status_) status_(panel, text);
}

void TFolderIndex::SetCurrentFolder(const std::string& folder) { folder_ = WithTrailingSlash(folder); }

int32_t TFolderIndex::IndexStyleFor(const std::string& folder) const {
  if (options_.IndexMode == 0) return kNoIndex;
  switch (volumes_(folder).kind) {
    case VolumeKind::Fixed:
      return kDriveIndex;
    case VolumeKind::CdRom:
      return options_.SaveIndexCdRom ? kDriveIndex : kNoIndex;
    case VolumeKind::RamDisk:
      return options_.SaveIndexRam ? kDriveIndex : kNoIndex;
    case VolumeKind::Removable:
      return options_.SaveIndexRemovable ? options_.RemovableIndexPlace : kNoIndex;
    default:
      return kNoIndex;
  }
}

std::string TFolderIndex::DriveIndexPath(const std::string& folder) const {
  const VolumeInfo v = volumes_(folder);
  if (v.mountPoint.empty() || options_.IndexFolder.empty()) return {};
  return WithTrailingSlash(options_.IndexFolder) + DriveIndexFileName(v.mountPoint);
}

std::string TFolderIndex::IndexPathFor(const std::string& folder) const {
  const std::string own = WithTrailingSlash(folder) + kFolderIndexFileName;
  if (FileExists(own) || IndexStyleFor(WithTrailingSlash(folder)) == kFolderIndex) return own;
  return DriveIndexPath(WithTrailingSlash(folder));
}

std::vector<TMusicFileInfo> TFolderIndex::BlockRecords(std::string_view image, size_t blockOffset) {
  std::vector<TMusicFileInfo> records;
  auto block = BlockAt(image, blockOffset);
  if (!block) return records;
  const std::string_view bytes = image.substr(0, block->sound ? block->offset + block->length : image.size());
  size_t p = block->recordsOffset;
  while (p + 1 < bytes.size()) {
    const auto a = static_cast<unsigned char>(bytes[p]);
    const auto b = static_cast<unsigned char>(bytes[p + 1]);
    if (a == kMarkerByte && (b == kBlockEndMarker || b == kBlockMarker)) break;
    size_t next = 0;
    auto r = a == kMarkerByte && b == kRecordMarker ? DecodeIndexRecord(bytes, p, &next) : std::nullopt;
    if (!r) {
      ++p;
      continue;
    }
    p = r->FileName.empty() ? p + 2 : next;
    records.push_back(std::move(*r));
  }
  return records;
}

bool TFolderIndex::LoadImage(const std::string& path) {
  std::string bytes;
  switch (ReadFileUpTo(path, kMaxIndexFileBytes, bytes)) {
    case FileRead::Ok:
      image_ = std::move(bytes);
      return true;
    case FileRead::TooLarge:
      // Kept as the current file with an empty image: CheckIndexFile finds it foreign
      // and nothing is ever appended to it.
      image_.clear();
      return true;
    case FileRead::Unreadable:
      break;
  }
  return false;
}

bool TFolderIndex::LoadIndexFile(const std::string& path) {
  indexPath_ = path;
  if (LoadImage(path)) return true;
  indexPath_.clear();
  image_.clear();
  return false;
}

namespace {

class VectorSink final : public IndexRecordSink {
 public:
  explicit VectorSink(std::vector<TMusicFileInfo>& out) : out_(out) {}
  void Expect(size_t count) override { out_.reserve(out_.size() + count); }
  void Take(TMusicFileInfo&& record) override { out_.push_back(std::move(record)); }

 private:
  std::vector<TMusicFileInfo>& out_;
};

}  // namespace

bool TFolderIndex::OpenFolderIndex(const std::string& folder, std::vector<TMusicFileInfo>& out,
                                   const IndexReadOptions& read) {
  VectorSink sink(out);
  IndexReadOptions counted = read;
  counted.listCount += static_cast<int>(out.size());
  return OpenFolderIndex(folder, sink, counted);
}

bool TFolderIndex::ReadFolderBlock(std::vector<TMusicFileInfo>& out, const IndexReadOptions& read) {
  VectorSink sink(out);
  IndexReadOptions counted = read;
  counted.listCount += static_cast<int>(out.size());  // records the list holds already
  return ReadFolderBlock(sink, counted);
}

bool TFolderIndex::OpenFolderIndex(const std::string& folder, IndexRecordSink& out, const IndexReadOptions& read) {
  SetCurrentFolder(folder);
  const std::string ownFile = folder_ + kFolderIndexFileName;
  std::string candidate = FileExists(ownFile) ? ownFile : DriveIndexPath(folder_);
  style_ = IndexStyleFor(folder_);
  if (style_ == kDriveIndex) {
    if (candidate.empty()) return false;
    if (candidate != indexPath_) {
      SetStatus(1, kLoadingText);
      indexPath_ = candidate;
      EnsureIndexFile(indexPath_);
      if (!LoadImage(indexPath_)) indexPath_.clear();
    }
    return ReadFolderBlock(out, read);
  }
  if (style_ == kFolderIndex) {
    indexPath_ = ownFile;
    if (FileExists(indexPath_)) {
      SetStatus(1, kLoadingText);
      EnsureIndexFile(indexPath_);
      if (!LoadImage(indexPath_)) indexPath_.clear();
    }
    return ReadFolderBlock(out, read);
  }
  return false;
}

bool TFolderIndex::EnsureIndexFile(const std::string& path) {
  if (path.empty()) return false;
  if (FileExists(path)) return true;
  const std::string folder = FolderOfPath(path);
  if (!folder.empty() && !FolderExists(folder)) MkdirAll(folder);
  // Under the lock: a file another program has just made (and perhaps given a block)
  // is not replaced by a bare header.
  const std::string savedPath = indexPath_;
  std::string savedImage = image_;
  indexPath_ = path;
  const bool ok = UpdateImage([&path](std::string&) { return !FileExists(path); });
  indexPath_ = savedPath;
  if (!ok || path != savedPath) image_ = std::move(savedImage);
  return ok;
}

IndexCheck TFolderIndex::CheckIndexFile() {
  if (indexPath_.empty() || !FileExists(indexPath_)) return IndexCheck::Missing;
  if (HasIndexHeader(image_)) return IndexCheck::Usable;
  const std::string text = DisplayText(indexPath_) +
                           "は、\n形式が違うか、関係のないファイルです.\nこのファイルを削除しますか？";
  if (messages_.Confirm(text, MessageButtons::YesNo) == MessageAnswer::Yes) {
    if (::unlink(indexPath_.c_str()) != 0) {
      ::chmod(indexPath_.c_str(), 0644);
      ::unlink(indexPath_.c_str());
    }
    indexPath_.clear();
    image_.clear();
  }
  return IndexCheck::Foreign;
}

bool TFolderIndex::ReadFolderBlock(IndexRecordSink& out, const IndexReadOptions& read) {
  if (CheckIndexFile() != IndexCheck::Usable || image_.size() <= 28) return false;
  auto block = FindFolderBlock(image_, folder_);
  if (!block) return false;
  const std::string_view image(image_);
  // A damaged block is read up to the image's end; the walk still stops at its end marker.
  const size_t end = block->sound ? block->offset + block->length : image.size();
  const std::string_view bytes = image.substr(0, end);
  FolderNames names(folder_);
  bool found = false;
  size_t p = block->recordsOffset;
  // Records take about 40 to 80 bytes each; reserving spares the list its regrowth.
  out.Expect((end - p) / 40);
  int taken = 0;
  while (p + 1 < end) {
    if (read.shouldStop && read.shouldStop()) break;
    if (static_cast<unsigned char>(bytes[p]) != kMarkerByte) {
      ++p;
      continue;
    }
    const auto second = static_cast<unsigned char>(bytes[p + 1]);
    // A block that lost its end marker must not take the records of the next one.
    if (second == kBlockEndMarker || second == kBlockMarker) break;
    if (second != kRecordMarker) {
      ++p;
      continue;
    }
    size_t next = 0;
    auto record = DecodeIndexRecord(bytes, p, &next);
    if (!record) {
      ++p;
      continue;
    }
    found = true;
    if (record->FileName.empty()) {
      p += 2;  // resynchronise on the next marker
      continue;
    }
    p = next;
    if (!options_.Formats.Enabled(record->FileType)) continue;
    if (read.listCount + taken < read.firstScreenful) {
      const std::string& onDisk =
          record->ItemKind == kArchiveMember ? record->Archiver : record->FileName + record->FileExt;
      if (!names.Contains(onDisk)) continue;
    }
    out.Take(std::move(*record));
    ++taken;
  }
  return found;
}

std::optional<std::string> TFolderIndex::BuildFolderBlock(const std::vector<TMusicFileInfo>& list) const {
  if (style_ != kDriveIndex && style_ != kFolderIndex) return std::nullopt;
  if (list.empty() || !list.back().IsFile()) return std::nullopt;
  // A path the block cannot hold is not indexed: cutting it would file the entries
  // under another folder.
  if (folder_.empty() || folder_.size() > kMaxFolderPathBytes) return std::nullopt;
  std::string block;
  block.push_back(static_cast<char>(kMarkerByte));
  block.push_back(static_cast<char>(kBlockMarker));
  block.append(4, '\0');
  block.push_back(static_cast<char>(folder_.size()));
  block.append(folder_);
  bool anyMember = false;
  for (const TMusicFileInfo& r : list) {
    if (!r.IsFile()) continue;
    anyMember = anyMember || r.ItemKind == kArchiveMember;
    block.append(EncodeIndexRecord(r));
  }
  if (!anyMember && options_.IndexMode != 2) return std::nullopt;
  block.push_back(static_cast<char>(kMarkerByte));
  block.push_back(static_cast<char>(kBlockEndMarker));
  if (block.size() > UINT32_MAX) return std::nullopt;
  StoreLe32(block, 2, static_cast<uint32_t>(block.size()));
  return block;
}

bool TFolderIndex::WriteFolderBlock(const std::vector<TMusicFileInfo>& list) {
  const std::optional<std::string> block = BuildFolderBlock(list);
  if (!block) return true;
  if (!EnsureIndexFile(indexPath_)) return false;
  // Never append to an image that is not an index (a foreign file of the same name).
  if (!HasIndexHeader(image_)) return true;
  if (image_.size() > 27 && FindFolderBlock(image_, folder_, 27)) return true;
  bool appended = false;
  const bool saved = UpdateImage([&](std::string& image) {
    // The file as it is now: it may have turned foreign, or another run may have
    // written this folder's block meanwhile.
    if (!HasIndexHeader(image)) return false;
    if (image.size() > 27 && FindFolderBlock(image, folder_, 27)) return false;
    if (image.size() + block->size() > kMaxIndexFileBytes) return false;
    image.append(*block);
    appended = true;
    return true;
  });
  if (!saved) return false;
  if (appended) SetStatus(1, "インデックスを作成しました ..");
  return true;
}

bool TFolderIndex::ReplaceFolderBlock(const std::vector<TMusicFileInfo>& list) {
  if ((style_ != kDriveIndex && style_ != kFolderIndex) || indexPath_.empty()) return true;
  const std::optional<std::string> block = BuildFolderBlock(list);
  const IndexCheck check = CheckIndexFile();
  if (check == IndexCheck::Foreign) return false;
  // No file yet: nothing to remove, and the new block makes the file.
  if (check == IndexCheck::Missing && (!block || !EnsureIndexFile(indexPath_))) return !block;
  SetStatus(0, kTidyingText);
  SetStatus(1, " ");
  bool damaged = false;
  const bool saved = UpdateImage([&](std::string& image) {
    if (!HasIndexHeader(image)) return false;
    bool changed = false;
    if (image.size() > 28) {
      if (auto old = FindFolderBlock(image, folder_)) {
        if (!old->sound) {
          damaged = true;
          return false;
        }
        image.erase(old->offset, old->length);
        changed = true;
      }
    }
    if (block && image.size() + block->size() <= kMaxIndexFileBytes) {
      image.append(*block);
      changed = true;
    }
    return changed;
  });
  if (damaged) {
    messages_.Warn("Folder情報が正しくありません.\n直ちに[Indexのリフレッシュ]を行って下さい.\nIndexの削除は中止します.");
    return false;
  }
  return saved;
}

TFolderIndex::Cut TFolderIndex::CutFolderBlock(const std::string& folder) {
  Cut result = Cut::Absent;
  const bool saved = UpdateImage([&](std::string& image) {
    if (!HasIndexHeader(image) || image.size() <= 28) return false;
    auto block = FindFolderBlock(image, folder);
    if (!block) return false;
    if (!block->sound) {
      result = Cut::Damaged;
      return false;
    }
    image.erase(block->offset, block->length);
    result = Cut::Done;
    return true;
  });
  return saved ? result : Cut::Failed;
}

bool TFolderIndex::UpdateImage(const std::function<bool(std::string& image)>& change) {
  if (indexPath_.empty()) return false;
  std::string error;
  std::optional<FileLock> lock = FileLock::Acquire(indexPath_ + ".lock", lockWaitMs_, &error);
  if (!lock) {
    ReportSaveFailure(error);
    return false;
  }
  std::string current;
  switch (ReadFileUpTo(indexPath_, kMaxIndexFileBytes, current)) {
    case FileRead::Ok:
      break;
    case FileRead::TooLarge:
      current.clear();  // not ours: nothing is appended to it
      break;
    case FileRead::Unreadable:
      if (FileExists(indexPath_)) {
        ReportSaveFailure("cannot read the file as it is now");
        return false;
      }
      current.assign(IndexHeader());  // missing (or removed meanwhile): start anew
      break;
  }
  image_ = current;
  if (!change(image_)) return true;
  if (SaveImage()) return true;
  image_ = std::move(current);
  return false;
}

bool TFolderIndex::DeleteFolderBlock(const std::string& folder, bool interactive) {
  const std::string path = WithTrailingSlash(folder);
  const IndexCheck check = CheckIndexFile();
  if (check == IndexCheck::Missing) {
    messages_.Warn("Indexファイルが存在しません.");
    return false;
  }
  if (check == IndexCheck::Foreign) return false;
  if (interactive &&
      messages_.Confirm(DisplayText(path) + " のIndexを削除します.\nよろしいですか？") == MessageAnswer::Cancel)
    return false;
  SetStatus(0, kTidyingText);
  SetStatus(1, " ");
  if (image_.size() <= 28) return true;
  // Cut from the file as it is now (another program may have changed it since it
  // was loaded).
  const Cut cut = CutFolderBlock(path);
  if (cut == Cut::Failed) return false;
  if (cut == Cut::Damaged) {
    messages_.Warn("Folder情報が正しくありません.\n直ちに[Indexのリフレッシュ]を行って下さい.\nIndexの削除は中止します.");
    return false;
  }
  if (cut == Cut::Done) {
    if (interactive) {
      messages_.Beep(BeepKind::Information);
      SetStatus(0, "正常に終了しました..");
    }
    return true;
  }
  if (interactive) {
    messages_.Inform(DisplayText(path) + " のIndexは\n存在しませんでした.");
    SetStatus(0, "ready..");
  }
  return true;
}

std::optional<FileLock> TFolderIndex::LockAndReload() {
  if (indexPath_.empty()) return std::nullopt;
  std::string error;
  std::optional<FileLock> lock = FileLock::Acquire(indexPath_ + ".lock", lockWaitMs_, &error);
  if (!lock) {
    ReportSaveFailure(error);
    return std::nullopt;
  }
  std::string current;
  if (ReadFileUpTo(indexPath_, kMaxIndexFileBytes, current) != FileRead::Ok) {
    ReportSaveFailure("cannot read the file as it is now");
    return std::nullopt;
  }
  image_ = std::move(current);
  return lock;
}

bool TFolderIndex::SaveImage() {
  if (indexPath_.empty()) return false;
  std::string error;
  if (ReplaceFileAtomically(indexPath_, image_, &error)) return true;
  ReportSaveFailure(error);
  return false;
}

void TFolderIndex::ReportSaveFailure(const std::string& why) {
  ++saveFailures_;
  messages_.Error("Indexファイルの保存に失敗しました.\n" + DisplayText(indexPath_) + "\n" + why);
}

}  // namespace kadrel
