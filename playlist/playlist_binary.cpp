// The current play-list version: header, size field, base folder, title, one item record
// per item (the index file's record encoding) and the end tag.

#include "base/byte_source.h"
#include "base/byte_cursor.h"
#include "catalog/format_table.h"
#include "formats/readers/header_readers.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "catalog/index_record.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_folders.h"

namespace kadrel {
namespace {

constexpr size_t kSizeFieldOffset = 28;
constexpr size_t kBaseLengthOffset = 32;
constexpr size_t kMaxShortString = 255;
constexpr char kTag = '\xFF';

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

int32_t ValidSlot(int32_t slot) { return slot >= 1 && slot <= 6 ? slot : kAutomaticSlot; }

}  // namespace

std::string StoredBaseFolder(const TPLInfo& list) {
  std::string base = list.BaseFolder.empty() ? std::string() : WithTrailingSlash(list.BaseFolder);
  for (const auto& item : list.Items) {
    if (!StartsWith(item->Folder, base)) {
      base = CommonFolderOfItems(list);
      break;
    }
  }
  while (base.size() > kMaxShortString) base = FolderOfPath(std::string_view(base).substr(0, base.size() - 1));
  return base;
}

std::optional<std::string> EncodePlayList(const TPLInfo& list) {
  const std::string base = StoredBaseFolder(list);
  const std::string title(FitToLength(list.Title, kMaxShortString));

  std::string image(PlayListSignatureV1());
  image += std::string("\xFF\x20", 2);
  image += std::string(4, '\0');  // size, filled in at the end
  image += static_cast<char>(base.size());
  image += base;
  image += std::string("\xFF\x30", 2);
  image += static_cast<char>(title.size());
  image += title;

  for (const auto& item : list.Items) {
    TMusicFileInfo stored = item->Music;
    stored.IconIndex = ValidSlot(item->Slot);
    const std::string folder = WithTrailingSlash(item->Folder);
    const std::string archive = stored.ItemKind == kArchiveMember ? stored.Archiver : std::string();
    stored.Archiver = folder.substr(base.size()) + archive;
    // A cut name or folder would send the item elsewhere: refuse the whole file instead.
    if (stored.Archiver.size() > kMaxShortString || stored.FileName.size() > kMaxShortString) return std::nullopt;
    image += EncodeIndexRecord(stored);
  }
  image += std::string("\xFF\x29", 2);
  if (image.size() > UINT32_MAX) return std::nullopt;
  StoreLe32(image, kSizeFieldOffset, static_cast<uint32_t>(image.size()));
  return image;
}

PlayListReadStatus ReadBinaryPlayList(std::string_view image, std::string_view listFolder, PlayListContent& out) {
  out = {};
  if (image.size() < kBaseLengthOffset + 1 || image.size() > kMaxPlayListBytes) return PlayListReadStatus::Broken;
  if (Le32At(image, kSizeFieldOffset) != image.size()) return PlayListReadStatus::Broken;
  const size_t baseLength = static_cast<unsigned char>(image[kBaseLengthOffset]);
  const size_t bodyStart = kBaseLengthOffset + 1 + baseLength;
  if (bodyStart > image.size()) return PlayListReadStatus::Broken;

  std::string base(image.substr(kBaseLengthOffset + 1, baseLength));
  // Lists made on Windows carry "X:\..." folders; ours always start at the root.
  const bool windowsMade = base.empty() || base[0] != '/';
  if (windowsMade) base = SlashesFromBackslashes(base);

  std::vector<std::string> relativeFolders;
  for (size_t pos = bodyStart + 1; pos < image.size(); ++pos) {
    if (image[pos - 1] != kTag) continue;
    const char tag = image[pos];
    if (tag == ')') break;
    if (tag == '0') {
      if (pos + 1 >= image.size()) return PlayListReadStatus::Broken;
      const size_t length = static_cast<unsigned char>(image[pos + 1]);
      if (pos + 2 + length > image.size()) return PlayListReadStatus::Broken;
      out.Title = std::string(image.substr(pos + 2, length));
      pos += 1 + length;
    } else if (tag == '!') {
      size_t next = 0;
      std::optional<TMusicFileInfo> record = DecodeIndexRecord(image, pos - 1, &next);
      if (!record || record->FileName.empty()) continue;  // broken record: go on after its tag
      if (next > pos) pos = next - 1;

      TPLMusicInfo item;
      item.Slot = ValidSlot(record->IconIndex);
      std::string field = windowsMade ? SlashesFromBackslashes(record->Archiver) : record->Archiver;
      const std::string relative = FolderOfPath(field);
      record->Archiver = field.substr(relative.size());
      record->ItemKind = record->Archiver.empty() ? kLooseFile : kArchiveMember;
      record->IconIndex = IconIndexFor(record->FileType, record->Info);
      record->InfoState = record->Title.empty() ? kInfoNoTitle : kInfoRead;
      item.Music = std::move(*record);
      relativeFolders.push_back(relative);
      out.Items.push_back(std::move(item));
    }
  }

  // A list stored without a base folder holds its items relative to the list file.
  if (base.empty() && !listFolder.empty()) {
    bool allRelative = true;
    for (const std::string& relative : relativeFolders) allRelative = allRelative && !IsFullPath(relative);
    if (allRelative) base = WithTrailingSlash(listFolder);
  }
  for (size_t i = 0; i < out.Items.size(); ++i) out.Items[i].Folder = base + relativeFolders[i];
  out.BaseFolder = base;
  return PlayListReadStatus::Ok;
}

}  // namespace kadrel
