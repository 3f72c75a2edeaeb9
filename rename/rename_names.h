#pragma once
// Names as the rename window edits them: the four fields filled from an entry, the
// check for characters a name may not hold, and the new names joined from the fields.

#include <optional>
#include <string>
#include <string_view>

#include "catalog/music_file_info.h"

namespace kadrel {

enum class RenameKind { Folder, LooseFile, Member };

// The kind of entry the window renames; nothing for the parent entry or a record
// whose kind and format row disagree. A file's extension can be changed only when it
// is no music file (format row below 0: a detail window's documents and others).
std::optional<RenameKind> RenameKindOf(const TMusicFileInfo& entry);

// The window's four fields, UTF-8 as shown and typed.
struct RenameFields {
  std::string fileName;  // name without extension (a folder: up to its last ".")
  std::string fileType;  // extension without its dot (a folder: after its last ".")
  std::string arcName;   // a member's archive name without extension
  std::string arcType;   // the archive's extension without its dot
};

inline constexpr const char* kNotAnArchiveText = "(圧縮ファイルではありません) ";

RenameFields InitialRenameFields(const TMusicFileInfo& entry);

// True when the trimmed text is non-empty and holds none of / \ : * ? " < > |.
// Valid UTF-8 is checked byte by byte (its multi-byte characters hold no ASCII
// bytes); anything else is read as Shift-JIS, so a trail byte such as the 0x5C of
// "ソ" is never taken for a backslash.
bool IsValidFileName(std::string_view text);

// Trimmed name, then "." and the trimmed extension when that is not empty.
std::string JoinFieldName(std::string_view name, std::string_view extension);

}  // namespace kadrel
