#include "catalog/options.h"

#include <algorithm>

#include "base/encoding.h"

namespace kadrel {

const std::array<std::string, 5>& DefaultErrTitles() {
  static const std::array<std::string, 5> titles = {
      Cp932(" // FileSizeが大きいため読み込みを中止しました //"),
      Cp932(" // Fileが使用できません //"),
      Cp932(" // Formatが拡張子と一致しません //"),
      Cp932(" // タイトルが存在しません //"),
      Cp932(" // タイトル未検索 //"),
  };
  return titles;
}

TMainOption::TMainOption()
    : TextViewer("xdg-open"),
      TextViewType(Cp932("DOC,TXT,HED,WRD,UP,ﾎｿｸ")),
      InfoGetType(Cp932("ﾎｿｸ,UP,HED,DOC,TXT")) {
  DecodeSearchStyleEx(kDefaultSearchStyleEx, *this);
  DecodeIndexStyleEx(kDefaultIndexStyleEx, *this);
}

int32_t ClampSmfByte(int32_t value) { return std::clamp(value, kSmfByteMin, kSmfByteMax); }
int32_t ClampLzhByte(int32_t value) { return std::clamp(value, kLzhByteMin, kLzhByteMax); }

TListViewOption::TListViewOption() : ErrTitle(DefaultErrTitles()) {
  DecodeShowStyle(kDefaultShowStyle, *this);
  DecodeShowStyle2(kDefaultShowStyle2, *this);
  DecodeOperation(kDefaultOperation, *this);
}

namespace {
bool Bit(int32_t v, int n) { return (v >> n) & 1; }

// One-hot group of `count` bits from `first`: the highest set bit's position, or `none`.
int32_t OneHot(int32_t v, int first, int count, int32_t none) {
  int32_t choice = none;
  for (int i = 0; i < count; ++i)
    if (Bit(v, first + i)) choice = i;
  return choice;
}
}  // namespace

void DecodeShowStyle(int32_t v, TListViewOption& o) {
  o.NameCase = OneHot(v, 0, 3, o.NameCase);
  o.DateForm = OneHot(v, 4, 3, o.DateForm);
  o.FourDigitYear = Bit(v, 7);
}

void DecodeShowStyle2(int32_t v, TListViewOption& o) {
  o.ArtistFallsBackToComposer = Bit(v, 0);
  o.ComposerFallsBackToArtist = Bit(v, 1);
}

void DecodeOperation(int32_t v, TListViewOption& o) {
  o.ShowIcons = Bit(v, 0);
  o.SingleClickOpen = Bit(v, 1);
  o.WholeRowHighlight = Bit(v, 2);
  o.HoverSelect = Bit(v, 3);
  o.KeepSelectionOnFocusMove = Bit(v, 4);
  o.FocusedShownSelected = Bit(v, 5);
  o.SelectAllIncludesFolders = Bit(v, 6);
  o.QuickFolderOpen = Bit(v, 7);
}

void DecodeSearchStyleEx(int32_t v, TMainOption& o) {
  o.ShowWhileScanning = Bit(v, 0);
  // bits 1..3: never sort, keep sorted, sort at the end; none set: never sort.
  o.ScanSortMode = OneHot(v, 1, 3, 0);
}

void DecodeIndexStyleEx(int32_t v, TMainOption& o) {
  o.IndexMode = OneHot(v, 0, 3, 0);
  o.SaveIndexCdRom = Bit(v, 5);
  o.SaveIndexRam = Bit(v, 6);
  o.SaveIndexRemovable = Bit(v, 7);
  o.RemovableIndexPlace = 0;
  if (Bit(v, 8)) o.RemovableIndexPlace = 1;
  if (Bit(v, 9)) o.RemovableIndexPlace = 2;
}

void DecodeTaskTray(int32_t v, TWindowOption& o) {
  o.TrayIcon = Bit(v, 0);
  o.TrayAlways = Bit(v, 1);
  o.TrayHideTaskbar = Bit(v, 2);
}

int32_t EncodeShowStyle(const TListViewOption& o) {
  return (1 << o.NameCase) | (1 << (4 + o.DateForm)) | (o.FourDigitYear ? 0x80 : 0);
}

int32_t EncodeShowStyle2(const TListViewOption& o) {
  return (o.ArtistFallsBackToComposer ? 1 : 0) | (o.ComposerFallsBackToArtist ? 2 : 0);
}

int32_t EncodeOperation(const TListViewOption& o) {
  return (o.ShowIcons ? 1 : 0) | (o.SingleClickOpen ? 2 : 0) | (o.WholeRowHighlight ? 4 : 0) |
         (o.HoverSelect ? 8 : 0) | (o.KeepSelectionOnFocusMove ? 16 : 0) |
         (o.FocusedShownSelected ? 32 : 0) | (o.SelectAllIncludesFolders ? 64 : 0) |
         (o.QuickFolderOpen ? 128 : 0);
}

int32_t EncodeSearchStyleEx(const TMainOption& o) {
  return (o.ShowWhileScanning ? 1 : 0) | (1 << (1 + o.ScanSortMode));
}

int32_t EncodeIndexStyleEx(const TMainOption& o) {
  int32_t v = 1 << o.IndexMode;
  if (o.SaveIndexCdRom) v |= 1 << 5;
  if (o.SaveIndexRam) v |= 1 << 6;
  if (o.SaveIndexRemovable) v |= 1 << 7;
  if (o.RemovableIndexPlace == 1) v |= 1 << 8;
  if (o.RemovableIndexPlace == 2) v |= 1 << 9;
  return v;
}

}  // namespace kadrel
