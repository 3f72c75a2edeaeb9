#include "rename/rename_names.h"

#include <cstring>

#include "base/encoding.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

constexpr const char* kForbidden = "/\\:*?\"<>|";

bool Forbidden(unsigned char c) { return c != 0 && std::strchr(kForbidden, c) != nullptr; }

// A folder's name splits at its last "." unless that dot starts or ends the name.
size_t FolderDot(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return std::string_view::npos;
  return dot;
}

}  // namespace

std::optional<RenameKind> RenameKindOf(const TMusicFileInfo& entry) {
  if (entry.ItemKind == kFolderEntry && entry.FileType < 0) return RenameKind::Folder;
  if (entry.ItemKind == kLooseFile) return RenameKind::LooseFile;
  if (entry.ItemKind == kArchiveMember && !entry.Archiver.empty()) return RenameKind::Member;
  return std::nullopt;
}

RenameFields InitialRenameFields(const TMusicFileInfo& entry) {
  RenameFields f;
  const std::optional<RenameKind> kind = RenameKindOf(entry);
  if (kind == RenameKind::Folder) {
    const std::string name = DisplayText(entry.FullName());
    const size_t dot = FolderDot(name);
    f.fileName = name.substr(0, dot);
    if (dot != std::string::npos) f.fileType = name.substr(dot + 1);
  } else {
    f.fileName = DisplayText(entry.FileName);
    f.fileType = DisplayText(entry.FileExt.empty() ? entry.FileExt : entry.FileExt.substr(1));
  }
  if (kind == RenameKind::Member) {
    f.arcName = DisplayText(NameWithoutExtension(entry.Archiver));
    f.arcType = DisplayText(ExtensionWithoutDot(entry.Archiver));
  } else {
    f.arcName = kNotAnArchiveText;
  }
  return f;
}

bool IsValidFileName(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) return false;
  const bool utf8 = IsValidUtf8(trimmed);
  for (size_t i = 0; i < trimmed.size(); ++i) {
    const auto c = static_cast<unsigned char>(trimmed[i]);
    if (!utf8 && IsSjisLeadByte(c)) {
      ++i;  // the trail byte is part of the character
      continue;
    }
    if (Forbidden(c)) return false;
  }
  return true;
}

std::string JoinFieldName(std::string_view name, std::string_view extension) {
  std::string joined = TrimBlanks(name);
  const std::string ext = TrimBlanks(extension);
  if (!ext.empty()) joined += "." + ext;
  return joined;
}

}  // namespace kadrel
