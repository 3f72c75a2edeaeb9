#include "sorting/compare_items.h"

#include "base/trim_marks.h"
#include "base/encoding.h"
#include "sorting/collation_key.h"

namespace kadrel {
namespace {

constexpr int32_t kFirstInfoKey = 8;  // Title; 8..12 are the information texts

int Sign(int64_t v) { return (v > 0) - (v < 0); }

bool IsAsciiAlphanumeric(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// False when the first character is certainly no mark (letters, digits, kana, kanji),
// so most texts need no trimming at all.
bool MayStartWithMark(std::string_view text) {
  if (text.empty()) return false;
  const auto c = static_cast<unsigned char>(text[0]);
  if (c < 0x80) return !IsAsciiAlphanumeric(c);
  if (IsValidUtf8(text)) return true;  // judged in its CP932 form below
  // Every Shift-JIS mark of the tables and the full-width space start with 0x81 or
  // 0x84; the half-width ones are single bytes.
  return c == 0x81 || c == 0x84 || c == 0xA2 || c == 0xA3 || c == 0xA5;
}

std::string TrimLeadingMarks(std::string_view text) {
  if (!MayStartWithMark(text)) return std::string(text);
  // The mark tables are Shift-JIS; a text kept as UTF-8 is trimmed in its CP932 form
  // so that no multi-byte character is cut in half.
  std::string bytes(text);
  if (!IsAscii(text) && IsValidUtf8(text)) {
    std::optional<std::string> cp932 = Utf8ToCp932(text);
    if (!cp932) return bytes;
    bytes = std::move(*cp932);
  }
  return TrimMarks(TrimMarks(bytes, MarkSet::Openers, TrimSide::Leading), MarkSet::Closers, TrimSide::Leading);
}

}  // namespace

bool IsNumericSortKey(int32_t key) { return key == 5 || key == 6 || key == 7; }

int32_t KindClass(const TMusicFileInfo& r) {
  if (r.ItemKind == kParentEntry) return 0;
  if (r.ItemKind == kFolderEntry) return 1;
  return 2;
}

int64_t NumericSortValue(const TMusicFileInfo& r, int32_t key) {
  switch (key) {
    case 5: return r.Info;
    case 6: return r.Size;
    case 7: return static_cast<int64_t>(r.DosDate) * 65536 + r.DosTime;
    default: return 0;
  }
}

std::string TMusicFileInfo::*SortKeyMember(int32_t key) {
  switch (key) {
    case 1: return &TMusicFileInfo::FileName;
    case 2: return &TMusicFileInfo::FileExt;
    case 3: return &TMusicFileInfo::Archiver;
    case 4: return &TMusicFileInfo::Detail;
    case 8: return &TMusicFileInfo::Title;
    case 9: return &TMusicFileInfo::Artist;
    case 10: return &TMusicFileInfo::Composer;
    case 11: return &TMusicFileInfo::SongWriter;
    case 12: return &TMusicFileInfo::DataMaker;
    default: return nullptr;
  }
}

const std::string& SortKeyField(const TMusicFileInfo& r, int32_t key) {
  static const std::string kEmpty;
  std::string TMusicFileInfo::*member = SortKeyMember(key);
  return member ? r.*member : kEmpty;
}

void AppendSortKeyText(const TMusicFileInfo& r, const TSortSpec& spec, std::string& out) {
  const std::string& field = SortKeyField(r, spec.Key);
  if (spec.IgnoreLeadingMarks && spec.Key >= kFirstInfoKey && MayStartWithMark(field)) out += TrimLeadingMarks(field);
  else out += field;
  out += ' ';
}

std::string SortKeyText(const TMusicFileInfo& r, const TSortSpec& spec) {
  std::string text;
  AppendSortKeyText(r, spec, text);
  return text;
}

std::string FileNameSortText(const TMusicFileInfo& r) { return r.FileName + ' '; }

int CompareItems(const TMusicFileInfo& a, const TMusicFileInfo& b, const TSortSpec& spec) {
  int kind = Sign(KindClass(a) - KindClass(b));
  if (kind != 0) return kind;
  if (spec.Key == kNoSortKey) return 0;

  int result;
  if (IsNumericSortKey(spec.Key)) {
    result = Sign(NumericSortValue(a, spec.Key) - NumericSortValue(b, spec.Key));
  } else {
    result = Sign(CollationKey(SortKeyText(a, spec)).compare(CollationKey(SortKeyText(b, spec))));
  }
  if (spec.Descending) result = -result;
  if (result != 0) return result;
  return Sign(CollationKey(FileNameSortText(a)).compare(CollationKey(FileNameSortText(b))));
}

int CompareItems(const TMusicFileInfo& a, const TMusicFileInfo& b, const TSortState& state, bool sortOption) {
  return CompareItems(a, b, TSortSpec::From(state, sortOption));
}

}  // namespace kadrel
