#include "rename/rename_on_disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

// Another entry of the folder whose name equals `name` without regard to letter case.
bool OtherEntryNamed(const std::string& folder, const std::string& oldName, const std::string& name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return false;
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string entry = e->d_name;
    if (entry != oldName && EqualsIgnoreCase(entry, name)) return true;
  }
  return false;
}

bool SameInode(const std::string& a, const std::string& b) {
  struct stat x {}, y {};
  return ::lstat(a.c_str(), &x) == 0 && ::lstat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

// For file systems without RENAME_NOREPLACE: a hard link fails when the name is
// taken; where links are not possible either, the name is tested just before.
int RenameWithoutNoReplace(const std::string& from, const std::string& to, bool directory) {
  if (!directory) {
    if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0 ? 0 : errno;
    if (errno == EEXIST) return EEXIST;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK) return errno;
  }
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

bool EntryExists(const std::string& folder, const std::string& name) {
  struct stat st {};
  return ::lstat((folder + name).c_str(), &st) == 0;
}

DiskRename RenameEntryNoReplace(const std::string& folder, const std::string& oldName, const std::string& newName,
                                std::string* why) {
  const std::string from = folder + oldName, to = folder + newName;
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return DiskRename::Missing;
  if (oldName == newName) return DiskRename::Done;
  if (OtherEntryNamed(folder, oldName, newName)) return DiskRename::Exists;
  int error = 0;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    error = errno;
    if (error == EEXIST && SameInode(from, to)) {
      // A file system that ignores letter case: the new name is the entry itself.
      error = ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    } else if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
      error = RenameWithoutNoReplace(from, to, S_ISDIR(st.st_mode));
    }
  }
  if (error == 0) return DiskRename::Done;
  if (error == EEXIST || error == ENOTEMPTY) return DiskRename::Exists;
  if (why) *why = std::strerror(error);
  return DiskRename::Failed;
}

bool RenameFileInFolder(const std::string& folder, const std::string& oldName, const std::string& newName,
                        IMessageBox& messages) {
  const std::string shown = ShortenPath(DisplayText(folder), 30);
  switch (RenameEntryNoReplace(folder, oldName, newName)) {
    case DiskRename::Done:
      return true;
    case DiskRename::Missing:
      messages.Error(shown + DisplayText(oldName) + " が存在しません.\n名前の変更に失敗しました.");
      return false;
    case DiskRename::Exists:
      messages.Error(shown + DisplayText(newName) + " は既に存在します.\n名前の変更に失敗しました.");
      return false;
    case DiskRename::Failed:
      break;
  }
  messages.Error("名前の変更に失敗しました.");
  return false;
}

}  // namespace kadrel
