#include "index/drive_letters.h"

#include <sys/stat.h>

#include <algorithm>

namespace kadrel {

namespace {

constexpr int kLetterC = 2;
constexpr int kLetterD = 3;
constexpr int kLetterH = 7;

// "/a/b/" and "/a/b" are the same folder; the root stays "/".
std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

bool Under(std::string_view path, std::string_view folder) {
  if (folder.empty() || path.substr(0, folder.size()) != folder) return false;
  return folder == "/" || path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace

bool IsExistingFolder(const std::string& folder) {
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsUserVolume(const VolumeInfo& volume) {
  if (volume.kind == VolumeKind::Unknown) return false;
  const std::string_view m = volume.mountPoint;
  if (Under(m, "/run/media")) return true;
  for (std::string_view system : {"/dev", "/proc", "/sys", "/run", "/boot", "/snap", "/var/lib/docker",
                                  "/var/lib/containers", "/var/lib/snapd", "/efi"})
    if (Under(m, system)) return false;
  return true;
}

bool AssignDriveLetters(DriveLetterTable& table, const std::vector<VolumeInfo>& volumes, const std::string& home,
                        const FolderProbe& isFolder) {
  bool changed = false;
  if (std::all_of(table.begin(), table.end(), [](const std::string& f) { return f.empty(); })) {
    table[kLetterC] = "/";
    if (!home.empty() && home[0] == '/' && WithoutTrailingSlash(home) != "/") table[kLetterH] = WithoutTrailingSlash(home);
    changed = true;
  }
  for (const VolumeInfo& v : volumes) {
    if (!IsUserVolume(v)) continue;
    const std::string mount = WithoutTrailingSlash(v.mountPoint);
    if (std::find(table.begin(), table.end(), mount) != table.end()) continue;
    auto free = std::find_if(table.begin() + kLetterD, table.end(), [](const std::string& f) { return f.empty(); });
    if (free == table.end()) break;  // every letter is taken
    if (!isFolder(mount)) continue;
    *free = mount;
    changed = true;
  }
  return changed;
}

int DriveLetterOf(const DriveLetterTable& table, std::string_view path) {
  int best = -1;
  size_t bestLength = 0;
  for (int i = 0; i < kDriveLetters; ++i) {
    const std::string folder = WithoutTrailingSlash(table[static_cast<size_t>(i)]);
    if (!Under(path, folder)) continue;
    if (best < 0 || folder.size() > bestLength) {
      best = i;
      bestLength = folder.size();
    }
  }
  return best;
}

const char* MediaText(VolumeKind kind) {
  switch (kind) {
    case VolumeKind::Removable: return "Removable";
    case VolumeKind::Fixed: return "HardDisk";
    case VolumeKind::Network: return "NetWork";
    case VolumeKind::CdRom: return "CD-ROM";
    case VolumeKind::RamDisk: return "RamDisk";
    case VolumeKind::Unknown: break;
  }
  return "";
}

DriveRows ListDrives(const DriveLetterTable& table, const VolumeTable& volumes, std::string_view currentFolder,
                     const std::function<std::string(const VolumeInfo&)>& labelOf, const FolderProbe& isFolder) {
  DriveRows out;
  const int currentLetter = DriveLetterOf(table, currentFolder);
  for (int i = 0; i < kDriveLetters; ++i) {
    const std::string& folder = table[static_cast<size_t>(i)];
    if (folder.empty() || folder[0] != '/' || !isFolder(folder)) continue;
    const VolumeInfo volume = volumes.VolumeOf(folder);
    if (volume.kind == VolumeKind::Unknown) continue;
    DriveRow row{i, folder, volume.kind, {}};
    if ((volume.kind == VolumeKind::Fixed || volume.kind == VolumeKind::Network) && labelOf) row.label = labelOf(volume);
    if (i == currentLetter) out.current = static_cast<int>(out.rows.size());
    out.rows.push_back(std::move(row));
  }
  return out;
}

}  // namespace kadrel
