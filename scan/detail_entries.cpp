#include "scan/detail_entries.h"

#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"
#include "archive/unlha.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "scan/folder_listing.h"

namespace kadrel {
namespace {

bool SameStem(std::string_view name, std::string_view stem) {
  if (name.size() < stem.size() || !EqualsIgnoreCase(name.substr(0, stem.size()), stem)) return false;
  return name.size() == stem.size() || name[stem.size()] == '.';
}

TMusicFileInfo Entry(const std::string& name, const std::string& infoGetTypes) {
  TMusicFileInfo r;
  r.FileName = NameWithoutExtension(name);
  r.FileExt = ExtensionWithDot(name);
  r.FileType = DetailFormatRow(r.FileExt, infoGetTypes);
  r.IconIndex = r.FileType >= 0 ? IconIndexFor(r.FileType, 0) : -1;
  return r;
}

}  // namespace

int32_t DetailFormatRow(const std::string& extensionWithDot, const std::string& infoGetTypes) {
  if (extensionWithDot.size() > 1) {
    const int row = FormatRowForCode(extensionWithDot.substr(1));
    if (row >= 0) return row;
  }
  for (const std::string& type : CsvFields(infoGetTypes))
    if (!extensionWithDot.empty() && EqualsIgnoreCase(TrimBlanks(type), extensionWithDot)) return kDetailDocumentRow;
  return kDetailOtherRow;
}

DetailListing ListDetailEntries(const std::string& folder, const TMusicFileInfo& item,
                                const std::string& infoGetTypes, TUnLhaManagement& turns,
                                const std::function<bool()>& giveUp) {
  DetailListing out;
  const std::string itemName = item.FullName();
  if (item.ItemKind == kLooseFile) {
    out.caption = "詳細情報 [" + DisplayText(itemName) + "]";
    const auto listing = FolderListing::Read(folder);
    if (!listing) return out;
    for (const DirEntry& e : listing->Entries()) {
      if (!e.isNormalFile || !SameStem(e.name, item.FileName)) continue;
      if (EqualsIgnoreCase(e.name, itemName)) {
        out.entries.push_back(item);
        continue;
      }
      TMusicFileInfo r = Entry(e.name, infoGetTypes);
      r.ItemKind = kLooseFile;
      r.Size = static_cast<int32_t>(std::min<int64_t>(e.size, INT32_MAX));
      const DosStamp stamp = DosStampFromUnixTime(e.mtime);
      r.DosDate = stamp.date;
      r.DosTime = stamp.time;
      out.entries.push_back(std::move(r));
    }
    return out;
  }
  if (item.ItemKind != kArchiveMember) return out;
  out.caption = "詳細情報 [" + DisplayText(item.Archiver) + "]";
  if (!LhaAvailable()) {
    out.libraryMissing = true;
    return out;
  }
  UnLhaTurn turn(turns, kSlotDetailWindow, giveUp);
  if (!turn.held()) return out;
  const LzhListing listing = ListLzhFile(folder + item.Archiver);
  for (const LzhMember& m : listing.members) {
    if (m.IsDirectory()) continue;
    if (MemberNamesEqual(m.name, itemName)) {
      out.entries.push_back(item);
      continue;
    }
    TMusicFileInfo r = Entry(m.name, infoGetTypes);
    r.ItemKind = kArchiveMember;
    r.Archiver = item.Archiver;
    r.Size = static_cast<int32_t>(std::min<uint64_t>(m.originalSize, INT32_MAX));
    r.DosDate = m.dosDate;
    r.DosTime = m.dosTime;
    out.entries.push_back(std::move(r));
  }
  return out;
}

}  // namespace kadrel
