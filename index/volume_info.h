#pragma once
// Mounted volumes in place of drive letters: which volume holds a folder, what kind of
// medium it is, and the name of its index file.

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

enum class VolumeKind { Unknown, Fixed, Removable, CdRom, RamDisk, Network };

struct VolumeInfo {
  std::string mountPoint;  // "/" or "/media/user/DISK" (no trailing "/" except the root)
  std::string fsType;
  std::string device;      // "major:minor"
  VolumeKind kind = VolumeKind::Unknown;
};

class VolumeTable {
 public:
  // The volumes of a mount table in mountinfo form, read with libmount. `sysRoot` is
  // where the block-device tree lives ("/sys"); tests point both at crafted files. A
  // file that cannot be read gives an empty table.
  static VolumeTable FromMountInfo(const std::string& path, const std::string& sysRoot = "/sys");
  // The running system's table (/proc/self/mountinfo, /sys).
  static VolumeTable System();

  // The volume whose mount point is the longest prefix of `path` (an absolute path);
  // a path on no known volume gives a VolumeInfo of kind Unknown.
  VolumeInfo VolumeOf(std::string_view path) const;
  const std::vector<VolumeInfo>& Volumes() const { return volumes_; }

 private:
  std::vector<VolumeInfo> volumes_;
};

// Kind of a mounted file system by its type; Unknown for pseudo file systems. For
// block devices `sysRoot` decides between fixed and removable.
VolumeKind ClassifyVolume(std::string_view fsType, std::string_view device, const std::string& sysRoot);

// The drive index file's name: the mount point with "/" replaced by "_" ("_" for the
// root) followed by "_index.dat".
std::string DriveIndexFileName(std::string_view mountPoint);

}  // namespace kadrel
