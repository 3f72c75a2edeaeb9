#include "index/index_refresh.h"
#include "base/byte_cursor.h"

#include <fmt/format.h>

#include <memory>

#include "catalog/index_record.h"
#include "base/atomic_file.h"
#include "index/folder_names.h"
#include "index/index_format.h"

namespace kadrel {

namespace {

constexpr const char* kTidying = "インデックスの整理中..";

bool MarkerAt(std::string_view image, size_t p, unsigned char second) {
  return p + 1 < image.size() && static_cast<unsigned char>(image[p]) == kMarkerByte &&
         static_cast<unsigned char>(image[p + 1]) == second;
}

int Percent(size_t offset, size_t size, int scale) {
  if (size == 0) return 0;
  return static_cast<int>(static_cast<unsigned long long>(offset) * scale / size);
}

}  // namespace

PresenceCheck CaseBlindPresence(PresenceCheck archives) {
  auto names = std::make_shared<std::unique_ptr<FolderNames>>();
  return [archives = std::move(archives), names](const std::string& folder, const std::string& fileName,
                                                 const std::string& archive) {
    if (!archive.empty() && archive != ".") {
      const int presence = archives ? archives(folder, fileName, archive) : 0;
      // An archive that is there but cannot be read now has not gone.
      return presence == 2 && !EntryGone(folder + archive) ? 0 : presence;
    }
    if (!*names || (*names)->Folder() != folder) *names = std::make_unique<FolderNames>(folder);
    return (*names)->Contains(fileName) ? 0 : 1;
  };
}

IndexRefresher::IndexRefresher(TFolderIndex& index, PresenceCheck presence, RefreshView view)
    : index_(index), presence_(std::move(presence)), view_(std::move(view)) {}

void IndexRefresher::Row(const std::string& folder, const std::string& file, const std::string& arc,
                         const char* error) {
  if (view_.addRow) view_.addRow({folder, file, arc, error});
}

bool IndexRefresher::Step(int position, int maximum) {
  if (view_.serviceEvents) view_.serviceEvents();
  if (stop_) return false;
  progressMaximum_ = maximum;
  if (view_.progress) view_.progress(position, maximum);
  return true;
}

std::optional<RefreshResult> IndexRefresher::OnOk(int level, std::atomic<bool>& indexBusy) {
  if (level != 2) level = 1;
  index_.Messages().Beep(BeepKind::Question);
  if (index_.Messages().Confirm(fmt::format("Indexをリフレッシュ Level {} を開始します.\nよろしいですか？", level)) ==
      MessageAnswer::Cancel)
    return std::nullopt;
  indexBusy = true;
  const RefreshResult result = RefreshIndex(level);
  indexBusy = false;
  return result;
}

void IndexRefresher::OnStop() {
  if (view_.statusLine) view_.statusLine("リフレッシュの中止の準備中..");
  stop_ = true;
}

bool IndexRefresher::OnCloseRequest() {
  if (!running_) return true;
  index_.Messages().Warn("Indexをリフレッシュ中はwindowを閉じることは出来ません.");
  return false;
}

RefreshResult IndexRefresher::RefreshIndex(int level) {
  stop_ = false;
  switch (index_.CheckIndexFile()) {
    case IndexCheck::Missing: return RefreshResult::NoFile;
    case IndexCheck::Foreign: return RefreshResult::Foreign;
    case IndexCheck::Usable: break;
  }
  if (level <= 0) return RefreshResult::Done;
  // The walk works on the file as it is now and keeps other writers out until it is
  // saved; blocks they added since the file was loaded stay.
  const std::optional<FileLock> lock = index_.LockAndReload();
  if (!lock) return RefreshResult::SaveFailed;
  if (!HasIndexHeader(index_.Image())) return RefreshResult::Foreign;
  running_ = true;
  progressMaximum_ = level >= 2 ? 1100 : 100;
  if (view_.statusTimer) view_.statusTimer(false);
  index_.SetStatus(0, kTidying);
  index_.SetStatus(1, "");
  if (view_.statusLine) view_.statusLine("Indexのリフレッシュ Level 1");
  bool saved = true;
  if (index_.Image().size() > 28) {
    const bool finished = RunLevel1();
    if (finished) saved = index_.SaveImage();
    if (finished && saved && level >= 2) {
      index_.SetStatus(0, kTidying);
      if (view_.statusLine) view_.statusLine("Indexのリフレッシュ Level 2");
      if (RunLevel2()) saved = index_.SaveImage();
    }
  }
  const bool complete = !stop_ && saved;
  Finish(saved);
  // A stopped or unsaved walk leaves the image half changed: the next save of another
  // index operation would write it. The file as it stands is taken back instead.
  if (!complete) {
    const std::string path = index_.IndexPath();
    index_.LoadIndexFile(path);
  }
  return saved ? RefreshResult::Done : RefreshResult::SaveFailed;
}

bool IndexRefresher::RunLevel1() {
  std::string& image = index_.MutableImage();
  size_t p = kIndexHeaderSize;
  while (p < image.size()) {
    if (!Step(Percent(p, image.size(), 100), 100)) return false;
    if (!MarkerAt(image, p, kBlockMarker)) {
      // Bytes between blocks that belong to no block: drop them up to the next block.
      Row("", ".", ".", "Lev.1 Folder情報が不正です.");
      const size_t q = FindMarker(image, p, kBlockMarker);
      image.erase(p, q == std::string::npos ? std::string::npos : q - p);
      continue;
    }
    auto block = BlockAt(image, p);
    if (block && block->sound) {
      if (FolderGone(block->folder)) {
        Row(block->folder, ".", ".", "Lev.1 Folderが存在しません.");
        image.erase(p, block->length);
      } else {
        p += block->length;
      }
      continue;
    }
    Row(block ? block->folder : std::string(), ".", ".", "Lev.1 Folder情報が不正です.");
    const size_t next = FindMarker(image, p + 6, kBlockMarker);
    if (next == std::string::npos) {
      image.resize(p);
      break;
    }
    StoreLe32(image, p + 2, static_cast<uint32_t>(next - p));
    if (MarkerAt(image, next - 2, kBlockEndMarker) && next - p >= 9) {
      image.erase(p, next - p);
    } else {
      // No end marker where the corrected length says: the block is left for the user.
      index_.Messages().Warn(
          "Folder情報が正しくありません.\n直ちに[Indexのリフレッシュ]を行って下さい.\nIndexの削除は中止します.");
      p = next;
    }
  }
  return true;
}

void IndexRefresher::CutRecord(size_t blockOffset, size_t marker, size_t recordEnd) {
  std::string& image = index_.MutableImage();
  size_t q = recordEnd;
  while (q + 1 < image.size() && !(static_cast<unsigned char>(image[q]) == kMarkerByte &&
                                   (static_cast<unsigned char>(image[q + 1]) == kRecordMarker ||
                                    static_cast<unsigned char>(image[q + 1]) == kBlockEndMarker ||
                                    static_cast<unsigned char>(image[q + 1]) == kBlockMarker)))
    ++q;
  if (q + 1 >= image.size()) {
    index_.Messages().Error(
        "IndexのFile情報削除でエラーが発生しました.\nこの作業が終了後、もう一度リフレッシュを行ってください.");
    return;
  }
  size_t removed = q - marker;
  if (static_cast<unsigned char>(image[q + 1]) == kBlockMarker) {
    // The block had lost its end marker: the cut bytes become one.
    image.replace(marker, removed, "\xFF\x29");
    removed -= 2;
  } else {
    image.erase(marker, removed);
  }
  const uint32_t length = Le32At(image, blockOffset + 2).value_or(0);
  StoreLe32(image, blockOffset + 2, length - static_cast<uint32_t>(removed));
}

bool IndexRefresher::RunLevel2() {
  std::string& image = index_.MutableImage();
  size_t p = kIndexHeaderSize;
  while (p < image.size()) {
    if (!Step(100 + Percent(p, image.size(), 1000), 1100)) return false;
    auto block = MarkerAt(image, p, kBlockMarker) ? BlockAt(image, p) : std::nullopt;
    if (!block || !block->sound) {
      const size_t q = FindMarker(image, p + 1, kBlockMarker);
      if (q == std::string::npos) break;
      p = q;
      continue;
    }
    if (view_.folderShown) view_.folderShown(block->folder);
    size_t r = block->recordsOffset;
    bool anyRecord = false;
    for (;;) {
      const size_t end = block->offset + Le32At(image, block->offset + 2).value_or(0);
      if (r + 1 >= end || r + 1 >= image.size()) break;
      if (!Step(100 + Percent(r, image.size(), 1000), 1100)) return false;
      if (MarkerAt(image, r, kBlockEndMarker)) break;
      if (!MarkerAt(image, r, kRecordMarker)) {
        ++r;
        continue;
      }
      size_t next = 0;
      auto record = DecodeIndexRecord(std::string_view(image).substr(0, end), r, &next);
      if (!record || record->FileName.empty()) {
        anyRecord = anyRecord || record.has_value();
        r += 2;
        continue;
      }
      const std::string name = record->FileName + record->FileExt;
      const int presence = presence_ ? presence_(block->folder, name, record->Archiver) : 0;
      if (presence == 1 || presence == 2) {
        Row(block->folder, name, record->Archiver,
            presence == 1 ? "Lev.2 Fileが見つかりません." : "Lev.2 圧縮Fileが見つかりません.");
        const size_t before = image.size();
        CutRecord(block->offset, r, next);
        if (image.size() == before) r = next;  // the cut failed; go on after the record
      } else {
        anyRecord = true;
        r = next;
      }
    }
    const uint32_t length = Le32At(image, block->offset + 2).value_or(0);
    if (!anyRecord && FindMarker(std::string_view(image).substr(0, block->offset + length),
                                 block->recordsOffset, kRecordMarker) == std::string::npos) {
      image.erase(block->offset, length);
    } else {
      p = block->offset + length;
    }
  }
  return true;
}

void IndexRefresher::Finish(bool saved) {
  index_.Messages().Beep(BeepKind::Information);
  const bool stopped = stop_;
  if (!stopped && saved) {
    index_.SetStatus(0, "正常に終了しました..");
    if (view_.statusLine) view_.statusLine("ready..");
  } else if (stopped) {
    index_.SetStatus(0, "リフレッシュを中止しました..");
    if (view_.statusLine) view_.statusLine("リフレッシュを中止しました..");
  } else {
    index_.SetStatus(0, "ready..");
    if (view_.statusLine) view_.statusLine("ready..");
  }
  stop_ = false;
  if (view_.statusTimer) view_.statusTimer(true);
  if (view_.progress) view_.progress(progressMaximum_, progressMaximum_);
  if (view_.folderShown) view_.folderShown("..");
  index_.SetStatus(1, "");
  running_ = false;
}

}  // namespace kadrel
