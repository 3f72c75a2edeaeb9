#include "catalog/column_text.h"

#include "base/dos_datetime.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

std::string ApplyNameCase(const std::string& name, const TListViewOption& o) {
  if (o.NameCase == 1) return ToUpperAscii(name);
  if (o.NameCase == 2) return ToLowerAscii(name);
  return name;
}

}  // namespace

std::string CompanionText(int32_t info) {
  std::string s;
  if (info & kCompanionWrd) s += "Wrd ";
  if (info & kCompanionDv) s += "DV ";
  if (info & kCompanionSry) s += "SW ";
  return s;
}

std::string SizeText(int64_t size) { return std::to_string((size + 1023) / 1024) + "KB"; }

std::string ColumnText(const TMusicFileInfo& r, int column, const TListViewOption& o) {
  if (r.ItemKind == kParentEntry || r.ItemKind == kFolderEntry) {
    switch (column) {
      case kColFileName: return ApplyNameCase(r.FileName, o);
      case kColType: return "<Dir>";
      case kColArchiver: return ".";
      case kColDate: return DateText(r.DosDate, r.DosTime, o.DateForm, o.FourDigitYear);
      case kColTitle: return r.ItemKind == kParentEntry ? ParentEntryTitle() : std::string();
      default: return {};
    }
  }
  switch (column) {
    case kColFileName: return ApplyNameCase(r.FileName, o);
    case kColType: return o.NameCase == 2 ? ToLowerAscii(r.FileExt) : ToUpperAscii(r.FileExt);
    case kColArchiver: return r.Archiver.empty() ? "." : ApplyNameCase(r.Archiver, o);
    case kColDetail: return (r.InfoState == kInfoRead || r.InfoState == kInfoNoTitle) ? r.Detail : "***";
    case kColInfo: return CompanionText(r.Info);
    case kColSize: return SizeText(r.Size);
    case kColDate: return DateText(r.DosDate, r.DosTime, o.DateForm, o.FourDigitYear);
    case kColTitle:
      if (r.InfoState >= 1 && r.InfoState <= 5) return o.ErrTitle[static_cast<size_t>(r.InfoState - 1)];
      return r.Title;
    case kColArtist: return (r.Artist.empty() && o.ArtistFallsBackToComposer) ? r.Composer : r.Artist;
    case kColComposer: return (r.Composer.empty() && o.ComposerFallsBackToArtist) ? r.Artist : r.Composer;
    case kColSongWriter: return r.SongWriter;
    case kColDataMaker: return r.DataMaker;
    default: return {};
  }
}

}  // namespace kadrel
