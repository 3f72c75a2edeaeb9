#include "index/volume_info.h"

#include <libmount.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "base/atomic_file.h"

namespace kadrel {

namespace {

bool OneOf(std::string_view v, std::initializer_list<std::string_view> set) {
  for (std::string_view s : set)
    if (v == s) return true;
  return false;
}

std::string FirstLine(const std::string& path) {
  std::string bytes;
  if (ReadFileUpTo(path, 64 * 1024, bytes) != FileRead::Ok) return {};
  const size_t nl = bytes.find('\n');
  return nl == std::string::npos ? bytes : bytes.substr(0, nl);
}

bool PathUnder(std::string_view path, std::string_view mountPoint) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  if (path.substr(0, mountPoint.size()) != mountPoint) return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

struct TableFree {
  void operator()(libmnt_table* t) const { mnt_unref_table(t); }
};
struct IterFree {
  void operator()(libmnt_iter* i) const { mnt_free_iter(i); }
};

}  // namespace

VolumeKind ClassifyVolume(std::string_view fsType, std::string_view device, const std::string& sysRoot) {
  if (OneOf(fsType, {"iso9660", "udf"})) return VolumeKind::CdRom;
  if (OneOf(fsType, {"tmpfs", "ramfs"})) return VolumeKind::RamDisk;
  if (OneOf(fsType, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "9p", "ceph", "glusterfs",
                     "lustre", "davfs", "fuse.sshfs", "sshfs", "fuse.davfs2", "fuse.rclone",
                     "fuse.glusterfs", "fuse.smbnetfs", "fuse.curlftpfs"}))
    return VolumeKind::Network;
  if (OneOf(fsType, {"proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "mqueue", "debugfs",
                     "tracefs", "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs",
                     "binfmt_misc", "autofs", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs"}))
    return VolumeKind::Unknown;
  // Block devices: a disk (or the disk of a partition) marked removable, or one on USB.
  // Major 0 is an anonymous device (overlay, btrfs sub-volumes, FUSE): a local disk.
  if (!device.empty() && device.substr(0, 2) != "0:") {
    const std::string node = sysRoot + "/dev/block/" + std::string(device);
    char resolved[PATH_MAX];
    if (::realpath(node.c_str(), resolved)) {
      const std::string real(resolved);
      if (real.find("/usb") != std::string::npos) return VolumeKind::Removable;
      if (FirstLine(real + "/removable") == "1") return VolumeKind::Removable;
      if (FirstLine(real + "/partition").empty()) return VolumeKind::Fixed;
      if (FirstLine(real + "/../removable") == "1") return VolumeKind::Removable;
    } else {
      if (FirstLine(node + "/removable") == "1") return VolumeKind::Removable;
      if (FirstLine(node + "/../removable") == "1") return VolumeKind::Removable;
    }
  }
  return VolumeKind::Fixed;
}

VolumeTable VolumeTable::FromMountInfo(const std::string& path, const std::string& sysRoot) {
  VolumeTable table;
  std::unique_ptr<libmnt_table, TableFree> mounts(mnt_new_table());
  std::unique_ptr<libmnt_iter, IterFree> it(mnt_new_iter(MNT_ITER_FORWARD));
  if (!mounts || !it) return table;
  // Lines libmount cannot parse are skipped (its parser takes them as recoverable),
  // and whatever it read before a failure is used; a file that cannot be read leaves
  // the table empty.
  (void)mnt_table_parse_file(mounts.get(), path.c_str());
  libmnt_fs* fs = nullptr;
  while (mnt_table_next_fs(mounts.get(), it.get(), &fs) == 0) {
    const char* target = mnt_fs_get_target(fs);  // unescaped ("\040" is a space)
    if (!target || target[0] != '/') continue;
    VolumeInfo v;
    v.mountPoint = target;
    const char* type = mnt_fs_get_fstype(fs);
    v.fsType = type ? type : "";
    const dev_t devno = mnt_fs_get_devno(fs);
    v.device = std::to_string(major(devno)) + ":" + std::to_string(minor(devno));
    v.kind = ClassifyVolume(v.fsType, v.device, sysRoot);
    // A later mount on the same point hides the earlier one.
    std::erase_if(table.volumes_, [&](const VolumeInfo& o) { return o.mountPoint == v.mountPoint; });
    table.volumes_.push_back(std::move(v));
  }
  return table;
}

VolumeTable VolumeTable::System() { return FromMountInfo("/proc/self/mountinfo"); }

VolumeInfo VolumeTable::VolumeOf(std::string_view path) const {
  const VolumeInfo* best = nullptr;
  for (const VolumeInfo& v : volumes_) {
    if (PathUnder(path, v.mountPoint) && (!best || v.mountPoint.size() > best->mountPoint.size()))
      best = &v;
  }
  return best ? *best : VolumeInfo{};
}

std::string DriveIndexFileName(std::string_view mountPoint) {
  std::string name(mountPoint);
  for (char& c : name)
    if (c == '/') c = '_';
  if (name.empty()) name = "_";
  return name + "_index.dat";
}

}  // namespace kadrel
