#include "index/volume_info.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>

#include "base/atomic_file.h"

namespace kadrel {

namespace {

// mountinfo escapes space, tab, newline and backslash as \ooo.
std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && s.size() - i >= 4 &&
        s[i + 1] >= '0' && s[i + 1] <= '3' && s[i + 2] >= '0' && s[i + 2] <= '7' && s[i + 3] >= '0' &&
        s[i + 3] <= '7') {
      out.push_back(static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool OneOf(std::string_view v, std::initializer_list<std::string_view> set) {
  for (std::string_view s : set)
    if (v == s) return true;
  return false;
}

std::string FirstLine(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return {};
  const size_t nl = bytes->find('\n');
  return nl == std::string::npos ? *bytes : bytes->substr(0, nl);
}

bool PathUnder(std::string_view path, std::string_view mountPoint) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  if (path.substr(0, mountPoint.size()) != mountPoint) return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

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

VolumeTable VolumeTable::Parse(std::string_view mountinfo, std::string sysRoot) {
  VolumeTable table;
  size_t pos = 0;
  while (pos < mountinfo.size()) {
    size_t end = mountinfo.find('\n', pos);
    if (end == std::string_view::npos) end = mountinfo.size();
    const std::vector<std::string_view> f = SplitFields(mountinfo.substr(pos, end - pos));
    pos = end + 1;
    // id parent major:minor root mount-point options [optional...] - type source super
    size_t dash = 6;
    while (dash < f.size() && f[dash] != "-") ++dash;
    if (f.size() < 7 || dash + 1 >= f.size()) continue;
    VolumeInfo v;
    v.device = std::string(f[2]);
    v.mountPoint = Unescape(f[4]);
    v.fsType = std::string(f[dash + 1]);
    if (v.mountPoint.empty() || v.mountPoint[0] != '/') continue;
    v.kind = ClassifyVolume(v.fsType, v.device, sysRoot);
    // A later mount on the same point hides the earlier one.
    std::erase_if(table.volumes_, [&](const VolumeInfo& o) { return o.mountPoint == v.mountPoint; });
    table.volumes_.push_back(std::move(v));
  }
  return table;
}

VolumeTable VolumeTable::System() {
  auto text = ReadWholeFile("/proc/self/mountinfo");
  return Parse(text ? *text : std::string());
}

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
