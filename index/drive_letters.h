#pragma once
// Drive letters on a system without them: each letter A … Z names a folder (usually a
// mount point). "C" is "/", "H" the home folder, and further volumes get the next free
// letters in mount-table order. The table is stored, so a letter keeps its folder from
// one run to the next; this file holds the rules, the settings store keeps the values.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "index/volume_info.h"

namespace kadrel {

inline constexpr int kDriveLetters = 26;

// Letter index (0 = "A") -> folder ("/", "/media/user/DISK"; no trailing "/" except the
// root). Empty: the letter is free.
using DriveLetterTable = std::array<std::string, kDriveLetters>;

using FolderProbe = std::function<bool(const std::string& folder)>;

// True for a folder on disk (not a file bind mount, not a missing mount point).
bool IsExistingFolder(const std::string& folder);

// A mounted volume a user keeps files on: no pseudo file system and no system mount
// (/dev, /proc, /sys, /run except /run/media, /boot, /snap, container storage).
bool IsUserVolume(const VolumeInfo& volume);

// Fills the table: an empty table first gets "C" = "/" and "H" = `home`; then every user
// volume whose mount point no letter holds gets the first free letter from "D" on, in
// the order of `volumes`. Letters already set are never changed. True when anything
// was added (the table should be stored again).
bool AssignDriveLetters(DriveLetterTable& table, const std::vector<VolumeInfo>& volumes, const std::string& home,
                        const FolderProbe& isFolder = IsExistingFolder);

// The letter whose folder is the longest prefix of `path` (whole folder names only), or
// -1 when none is.
int DriveLetterOf(const DriveLetterTable& table, std::string_view path);

// "HardDisk", "Removable", "CD-ROM", "RamDisk", "NetWork"; empty for Unknown.
const char* MediaText(VolumeKind kind);

// One row of the drive dialog.
struct DriveRow {
  int letter = 0;  // 0 = "A"
  std::string folder;
  VolumeKind kind = VolumeKind::Unknown;
  std::string label;  // file-system label of fixed and network volumes; may be empty
};

struct DriveRows {
  std::vector<DriveRow> rows;
  int current = 0;  // the row of the current folder's letter; 0 when it is not listed
};

// The letters, in order, whose folder exists and lies on a volume of a known kind.
// Only fixed and network volumes are asked for their label, so a removable or optical
// medium is never touched.
DriveRows ListDrives(const DriveLetterTable& table, const VolumeTable& volumes, std::string_view currentFolder,
                     const std::function<std::string(const VolumeInfo&)>& labelOf,
                     const FolderProbe& isFolder = IsExistingFolder);

}  // namespace kadrel
