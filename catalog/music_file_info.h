#pragma once
// The record that describes one listed entry: the parent entry, a folder, a loose
// music file or a music file inside an archive. Strings hold the bytes found in the
// file system or in the file (Shift-JIS for texts read from files); they are never
// converted until they are displayed.

#include <cstdint>
#include <string>

namespace kadrel {

enum ItemKindCode : int32_t {
  kParentEntry = 0,
  kFolderEntry = 1,
  kLooseFile = 2,
  kArchiveMember = 3,
};

enum InfoStateCode : int32_t {
  kInfoRead = 0,          // information read (or nothing to report)
  kInfoTooLarge = 1,      // archive member not read because of its size
  kInfoCannotOpen = 2,    // the file cannot be opened
  kInfoFormatMismatch = 3,// the content does not match the extension's format
  kInfoNoTitle = 4,       // the format matched but no title was found
  kInfoNotSearched = 5,   // archive member listed without reading it
};

// Companion-document bits of `Info`.
enum CompanionBit : int32_t {
  kCompanionWrd = 1,
  kCompanionDv = 2,
  kCompanionSry = 4,
};

struct TMusicFileInfo {
  std::string FileName;   // name without extension
  std::string FileExt;    // extension with its dot, letter case as found
  int32_t FileType = 0;   // format row 0..16, -1 for folders and the parent entry
  std::string Detail;     // format detail text set by the header reader
  int32_t Info = 0;       // companion bits
  uint16_t DosDate = 0;
  uint16_t DosTime = 0;
  int32_t Size = 0;
  std::string LinkFile;   // MGS scripts: the file named by "@MIDIPLAY"
  std::string DocFile;    // chosen document: full path, or a bare name inside the same archive
  std::string Archiver;   // archive file name for archive members
  std::string Title;
  std::string Artist;
  std::string Album;
  std::string Composer;
  std::string SongWriter;
  std::string DataMaker;
  int32_t IconIndex = 0;
  uint8_t MacBinary = 0;
  int32_t ItemKind = 0;
  int32_t InfoState = 0;

  // The six information texts are always cleared together.
  void ClearInfoTexts();
  bool IsFile() const { return ItemKind == kLooseFile || ItemKind == kArchiveMember; }
  std::string FullName() const { return FileName + FileExt; }

  bool operator==(const TMusicFileInfo&) const = default;
};

// Title of the parent entry, as CP932 bytes.
const std::string& ParentEntryTitle();

}  // namespace kadrel
