#include "rename/rename_engine.h"

#include <optional>

#include "archive/lzh_names.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "rename/member_rename.h"
#include "rename/rename_on_disk.h"

namespace kadrel {
namespace {

constexpr const char* kInvalidText = "ファイル名に不適切な文字が含まれています.\n名前の変更に失敗しました.";
constexpr const char* kNoCp932Text = "ファイル名にShift-JISで表せない文字が含まれています.\n名前の変更に失敗しました.";
constexpr const char* kMemberFailedLine = "圧縮ファイル内の名前の変更に失敗しました.";

// The bytes of an edited name: the old bytes while the text is the one shown for
// them (a name on disk may be Shift-JIS), else the text as typed.
std::string DiskBytes(const std::string& typed, const std::string& oldBytes) {
  return typed == DisplayText(oldBytes) ? oldBytes : typed;
}

// Member names are Shift-JIS in the archive; nothing when the text has no such form.
std::optional<std::string> MemberBytes(const std::string& typed, const std::string& oldBytes) {
  if (typed == DisplayText(oldBytes)) return oldBytes;
  return Utf8ToCp932(typed);
}

void SetNameAndExtension(TMusicFileInfo& r, const std::string& fullName) {
  r.FileName = NameWithoutExtension(fullName);
  r.FileExt = ExtensionWithDot(fullName);
}

}  // namespace

RenameOutcome RenameEngine::Refuse(RenameOutcome out, const std::string& text, bool error) {
  if (error)
    messages_.Error(text);
  else
    messages_.Warn(text);
  out.status = RenameStatus::Refused;
  out.restoreFields = true;
  return out;
}

RenameOutcome RenameEngine::Apply(const TMusicFileInfo& entry, const RenameFields& fields, const std::string& folder,
                                  std::vector<TMusicFileInfo>* listed) {
  RenameOutcome out;
  out.entry = entry;
  const std::optional<RenameKind> kind = RenameKindOf(entry);
  if (!kind) {
    messages_.Warn("Kadrelファィル管理メモリ情報が不正です.\n名前の変更を中止します.");
    return out;
  }
  out.oldName = entry.FullName();
  out.oldArchive = entry.Archiver;
  const std::string typedName = JoinFieldName(fields.fileName, fields.fileType);
  const std::string typedArchive = JoinFieldName(fields.arcName, fields.arcType);
  if (!IsValidFileName(fields.fileName) || !IsValidFileName(typedName) || (kind == RenameKind::Member && !IsValidFileName(typedArchive)))
    return Refuse(out, kInvalidText);
  if (kind != RenameKind::Member) {
    out.newName = DiskBytes(typedName, out.oldName);
    out = RenameLoose(std::move(out), *kind, folder);
    if (listed) ApplyRenameToEntries(out, *listed);
    return out;
  }
  out.newArchive = DiskBytes(typedArchive, out.oldArchive);
  const std::optional<std::string> member = MemberBytes(typedName, out.oldName);
  if (!member) return Refuse(out, kNoCp932Text);
  out.newName = *member;
  out = RenameInArchive(std::move(out), folder);
  if (listed) ApplyRenameToEntries(out, *listed);
  return out;
}

RenameOutcome RenameEngine::RenameLoose(RenameOutcome out, RenameKind kind, const std::string& folder) {
  if (out.newName == out.oldName) {
    out.status = RenameStatus::Unchanged;
    return out;
  }
  if (!EntryExists(folder, out.oldName)) {
    RenameFileInFolder(folder, out.oldName, out.newName, messages_);  // shows the designed message
    out.status = RenameStatus::Forgotten;
    return out;
  }
  if (!RenameFileInFolder(folder, out.oldName, out.newName, messages_)) {
    out.status = RenameStatus::Refused;
    out.restoreFields = true;
    return out;
  }
  if (kind == RenameKind::Folder) {
    out.entry.FileName = out.newName;
    out.entry.FileExt.clear();
  } else {
    SetNameAndExtension(out.entry, out.newName);
  }
  out.status = RenameStatus::Renamed;
  return out;
}

bool RenameEngine::UndoArchiveRename(const RenameOutcome& out, const std::string& folder) {
  if (out.newArchive == out.oldArchive) return true;
  return RenameEntryNoReplace(folder, out.newArchive, out.oldArchive) == DiskRename::Done;
}

RenameOutcome RenameEngine::RenameInArchive(RenameOutcome out, const std::string& folder) {
  const bool archiveChanges = out.newArchive != out.oldArchive;
  const bool memberChanges = !MemberNamesEqual(out.newName, out.oldName);
  if (!archiveChanges && !memberChanges) {
    out.status = RenameStatus::Unchanged;
    return out;
  }
  if (archiveChanges) {
    if (!EntryExists(folder, out.oldArchive)) {
      RenameFileInFolder(folder, out.oldArchive, out.newArchive, messages_);
      out.status = RenameStatus::Forgotten;
      return out;
    }
    if (!RenameFileInFolder(folder, out.oldArchive, out.newArchive, messages_)) {
      out.status = RenameStatus::Refused;
      out.restoreFields = true;
      return out;
    }
    out.entry.Archiver = out.newArchive;
  }
  out.status = RenameStatus::Renamed;
  if (!memberChanges) return out;

  const std::string oldShown = DisplayText(out.oldName), newShown = DisplayText(out.newName);
  const auto refuseAndUndo = [&](const std::string& text, bool error) {
    if (!UndoArchiveRename(out, folder)) {
      // The archive could not be named back: the entries follow the disk.
      if (error)
        messages_.Error(text);
      else
        messages_.Warn(text);
      return out;
    }
    out.entry.Archiver = out.oldArchive;
    return Refuse(out, text, error);
  };
  UnLhaTurn turn(turns_, kSlotRename);
  if (!turn.held()) return refuseAndUndo(newShown + " への名前の変更に失敗しました.\n" + kMemberFailedLine, true);
  const int count = CountNamedMembers(folder, out.newArchive, out.oldName);
  if (count <= 0) {
    UndoArchiveRename(out, folder);
    messages_.Warn("名前を変更するファイル " + oldShown + " が存在しません.\n" + kMemberFailedLine);
    out.entry.Archiver = out.oldArchive;
    out.status = RenameStatus::Forgotten;
    return out;
  }
  // The writer renames every member of the name; two members of one name would both
  // get the new one.
  if (count > 1) return refuseAndUndo("圧縮ファイル内に " + oldShown + " が複数あります.\n" + kMemberFailedLine, false);
  if (MemberExists(folder, out.newArchive, out.newName))
    return refuseAndUndo("圧縮ファイル内に既に " + newShown + " は既に存在します.\n" + kMemberFailedLine, false);
  std::string why;
  if (!RenameMember(folder, out.newArchive, out.oldName, out.newName, &why)) {
    const bool back = !archiveChanges || UndoArchiveRename(out, folder);
    const std::string second = !archiveChanges ? kMemberFailedLine
                               : back          ? "圧縮ファイル名は元に戻しました."
                                               : "圧縮ファイル名は変更されました.";
    messages_.Error(newShown + " への名前の変更に失敗しました.\n" + second);
    out.restoreFields = back;
    if (back) {
      out.entry.Archiver = out.oldArchive;
      out.status = RenameStatus::Refused;
    }
    return out;
  }
  SetNameAndExtension(out.entry, out.newName);
  return out;
}

void ApplyRenameToEntries(const RenameOutcome& out, std::vector<TMusicFileInfo>& entries) {
  if (out.status != RenameStatus::Renamed) return;
  const TMusicFileInfo& now = out.entry;
  for (TMusicFileInfo& r : entries) {
    if (now.ItemKind != kArchiveMember) {
      // A loose file renamed on its own may be an archive whose members are listed.
      if (now.ItemKind == kLooseFile && r.ItemKind == kArchiveMember && r.Archiver == out.oldName)
        r.Archiver = now.FullName();
      // The index keeps a file's extension in upper case only.
      const bool same = now.ItemKind == kLooseFile ? r.FileName == NameWithoutExtension(out.oldName) &&
                                                         EqualsIgnoreCase(r.FileExt, ExtensionWithDot(out.oldName))
                                                   : r.FullName() == out.oldName;
      if (r.ItemKind == now.ItemKind && same) {
        r.FileName = now.FileName;
        r.FileExt = now.FileExt;
      }
      continue;
    }
    if (r.ItemKind != kArchiveMember || r.Archiver != out.oldArchive) continue;
    r.Archiver = now.Archiver;
    if (MemberNamesEqual(r.FullName(), out.oldName)) {
      r.FileName = now.FileName;
      r.FileExt = now.FileExt;
    }
  }
}

}  // namespace kadrel
