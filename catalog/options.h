#pragma once
// In-memory mirrors of the settings tree. The loaders of the settings store fill
// them; everything else reads them. Defaults here equal the stored defaults.

#include <array>
#include <cstdint>
#include <string>

#include "catalog/format_table.h"

namespace kadrel {

struct TMainOption {
  std::string StartFolder;   // resolved folder to open first
  std::string IndexFolder;   // resolved, ends with "/"
  std::string TempFolder;    // resolved, ends with "/"
  std::string Reserved;
  std::string TextViewer;    // "TextViewer"
  std::string TextViewType;  // "TextViewType"  (CP932)
  int32_t TextOpenType = 0;  // "TextOpenType"
  std::string InfoGetType;   // "InfoGetType"   (CP932)
  int32_t SMFByte = 300;
  int32_t LZHByte = 700;
  bool ShowWhileScanning = true;  // "SearchStyleEx" bit 0
  int32_t ScanSortMode = 2;       // 0 never, 1 keep sorted, 2 sort at the end
  bool MgsMusicInVisible = false;
  bool SaveIndexCdRom = false;
  bool SaveIndexRam = false;
  bool SaveIndexRemovable = true;
  int32_t RemovableIndexPlace = 2;  // 0 drive file, 1 per folder, 2 the disk's root
  int32_t IndexMode = 2;            // 0 off, 1 skip folders without archived music, 2 everywhere
  int32_t LzhStyle = 2;
  int32_t LzhMeltStyle = 1;
  int32_t TitleGetstyle = 2;
  int32_t OthersGetstyle = 0;
  FormatFilter Formats;             // "FTypeInfo"

  TMainOption();
};

// The ranges the settings dialog offers for "SMFByte" (bytes) and "LZHByte" (KB). A
// value from the store or the command line outside them is brought to the nearer end
// when loaded: 0 bytes would find no Standard MIDI title at all, and a negative limit
// would take every archive member as too large.
inline constexpr int32_t kSmfByteMin = 100;
inline constexpr int32_t kSmfByteMax = 1000;
inline constexpr int32_t kLzhByteMin = 25;
inline constexpr int32_t kLzhByteMax = 5000;
int32_t ClampSmfByte(int32_t value);
int32_t ClampLzhByte(int32_t value);

struct TListViewOption {
  bool KeepSelectionOnFocusMove = false;
  bool FocusedShownSelected = false;
  bool SingleClickOpen = false;
  bool WholeRowHighlight = true;
  bool HoverSelect = false;
  bool SelectAllIncludesFolders = false;
  bool QuickFolderOpen = true;
  bool ShowIcons = true;
  int32_t NameCase = 0;   // 0 as stored, 1 upper, 2 lower
  int32_t DateForm = 0;   // 0 date, 1 with hour:minute, 2 with seconds
  bool FourDigitYear = false;
  bool ArtistFallsBackToComposer = true;
  bool ComposerFallsBackToArtist = true;
  std::array<std::string, 5> ErrTitle;  // CP932, "ErrTitle1".."ErrTitle5"

  TListViewOption();
};

// The window and tray values.
struct TWindowOption {
  int32_t WinFlgMain = 0;
  bool TrayIcon = true;        // "tasktray" bit 0
  bool TrayAlways = true;      // bit 1
  bool TrayHideTaskbar = false;// bit 2
  int32_t PWCheckTime = 5000;
  bool SortOption = true;      // "SortOption" bit 0
};

inline constexpr int32_t kDefaultShowStyle = 17;
inline constexpr int32_t kDefaultShowStyle2 = 3;
inline constexpr int32_t kDefaultOperation = 133;
inline constexpr int32_t kDefaultSearchStyleEx = 9;
inline constexpr int32_t kDefaultIndexStyleEx = 660;
inline constexpr int32_t kDefaultTaskTray = 3;

// Default "ErrTitle"n texts (UTF-8 source, stored as CP932).
const std::array<std::string, 5>& DefaultErrTitles();

// Packed option decoders. A one-hot group takes the highest set bit.
void DecodeShowStyle(int32_t value, TListViewOption& o);
void DecodeShowStyle2(int32_t value, TListViewOption& o);
void DecodeOperation(int32_t value, TListViewOption& o);
void DecodeSearchStyleEx(int32_t value, TMainOption& o);
void DecodeIndexStyleEx(int32_t value, TMainOption& o);
void DecodeTaskTray(int32_t value, TWindowOption& o);

int32_t EncodeShowStyle(const TListViewOption& o);
int32_t EncodeShowStyle2(const TListViewOption& o);
int32_t EncodeOperation(const TListViewOption& o);
int32_t EncodeSearchStyleEx(const TMainOption& o);
int32_t EncodeIndexStyleEx(const TMainOption& o);

}  // namespace kadrel
