#include "index/volume_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace kadrel {
namespace {

TEST(VolumeInfo, MountTableGivesLongestPrefixAndKinds) {
  test::TempDir sys;
  // sdb is a removable disk with partition sdb1; sda1 sits on a fixed disk.
  sys.Write("devices/sdb/removable", "1\n");
  sys.Write("devices/sdb/sdb1/partition", "1\n");
  sys.Write("devices/sda/removable", "0\n");
  sys.Write("devices/sda/sda1/partition", "1\n");
  std::filesystem::create_directories(sys.path() + "dev/block");
  std::filesystem::create_directory_symlink(sys.path() + "devices/sdb/sdb1", sys.path() + "dev/block/8:17");
  std::filesystem::create_directory_symlink(sys.path() + "devices/sda/sda1", sys.path() + "dev/block/8:1");

  const std::string mountinfo =
      "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
      "24 22 8:17 / /media/me/MY\\040DISK rw,nosuid shared:1 master:2 - vfat /dev/sdb1 rw\n"
      "25 22 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
      "26 22 0:30 / /mnt/share rw - cifs //srv/share rw\n"
      "27 22 0:31 / /tmp rw - tmpfs tmpfs rw\n"
      "28 22 0:32 / /mnt/over rw - overlay overlay rw\n"
      "garbage line\n"
      "29 22 0:33 / /media/cd rw - udf /dev/sr1 rw\n";
  const std::string table = sys.Write("mountinfo", mountinfo);
  const VolumeTable t = VolumeTable::FromMountInfo(table, sys.path().substr(0, sys.path().size() - 1));

  struct Case {
    const char* path;
    const char* mount;
    VolumeKind kind;
  } cases[] = {
      {"/home/me/music/", "/", VolumeKind::Fixed},
      {"/media/me/MY DISK/songs/", "/media/me/MY DISK", VolumeKind::Removable},
      {"/media/me/MY DISKETTE/", "/", VolumeKind::Fixed},  // prefix must end at a "/"
      {"/media/cd/", "/media/cd", VolumeKind::CdRom},
      {"/mnt/share/a/", "/mnt/share", VolumeKind::Network},
      {"/tmp/x/", "/tmp", VolumeKind::RamDisk},
      {"/mnt/over/x/", "/mnt/over", VolumeKind::Fixed},
      {"/proc/1/", "/proc", VolumeKind::Unknown},
  };
  for (const Case& c : cases) {
    const VolumeInfo v = t.VolumeOf(c.path);
    EXPECT_EQ(v.mountPoint, c.mount) << c.path;
    EXPECT_EQ(v.kind, c.kind) << c.path;
  }
  // An empty or unreadable table knows no volume.
  for (const std::string& path : {sys.Write("empty", ""), sys.path() + "missing"})
    EXPECT_EQ(VolumeTable::FromMountInfo(path).VolumeOf("/x/").kind, VolumeKind::Unknown) << path;
}

TEST(VolumeInfo, RunningSystemHasARootVolume) {
  const VolumeInfo root = VolumeTable::System().VolumeOf("/");
  EXPECT_EQ(root.mountPoint, "/");
  EXPECT_FALSE(root.fsType.empty());
}

TEST(VolumeInfo, DriveIndexFileNames) {
  EXPECT_EQ(DriveIndexFileName("/"), "__index.dat");
  EXPECT_EQ(DriveIndexFileName("/media/usb"), "_media_usb_index.dat");
  EXPECT_EQ(DriveIndexFileName(""), "__index.dat");
}

}  // namespace
}  // namespace kadrel
