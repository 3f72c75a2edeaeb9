#include "index/drive_letters.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "index/volume_label.h"
#include "settings/drive_letter_store.h"
#include "settings/reg_file.h"
#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

constexpr int A = 0, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7, I = 8, Z = 25;

bool AnyFolder(const std::string&) { return true; }

// A mount table in mountinfo form; every block device is fixed (no /sys tree).
VolumeTable Mounts(const test::TempDir& dir, const std::string& lines) {
  return VolumeTable::FromMountInfo(dir.Write("mountinfo", lines), dir.path() + "no-sys");
}

const char* kFirstBoot =
    "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
    "21 20 0:5 / /proc rw - proc proc rw\n"
    "22 20 0:25 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "23 20 8:2 / /boot/efi rw - vfat /dev/sda2 rw\n"
    "24 20 8:3 / /home rw - ext4 /dev/sda3 rw\n"
    "25 20 8:17 / /media/me/DISK rw - vfat /dev/sdb1 rw\n"
    "26 20 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
    "27 20 0:40 / /mnt/share rw - cifs //srv/share rw\n"
    "28 20 0:41 / /tmp rw - tmpfs tmpfs rw\n";

TEST(DriveLetters, LettersStayPutAcrossRuns) {
  test::TempDir dir;
  auto store = SettingsStore::Open(dir.path() + "settings.db", nullptr);
  RegTreat reg(*store, dir.path());

  // First run: C is the root, H the home folder, the rest in mount-table order from D.
  DriveLetterTable table = LoadDriveLetters(reg);
  ASSERT_TRUE(AssignDriveLetters(table, Mounts(dir, kFirstBoot).Volumes(), "/home/me/", AnyFolder));
  SaveDriveLetters(reg, table);
  EXPECT_EQ(table[C], "/");
  EXPECT_EQ(table[H], "/home/me");
  EXPECT_EQ(table[D], "/home");
  EXPECT_EQ(table[E], "/media/me/DISK");
  EXPECT_EQ(table[F], "/media/cd");
  EXPECT_EQ(table[G], "/mnt/share");
  EXPECT_EQ(table[I], "/tmp");  // H is the home folder's
  for (int free : {A, 1, 9, 10, Z}) EXPECT_EQ(table[static_cast<size_t>(free)], "") << free;

  // Next run: the disk is gone and a stick came first in the table. The disk keeps E;
  // the stick takes the next free letter. A value the user edited is read back clean.
  reg.RegWriteStr("F", "  /media/cd/  ", "\\Drive");
  table = LoadDriveLetters(reg);
  EXPECT_EQ(table[F], "/media/cd");
  const std::string secondBoot =
      "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "30 20 8:33 / /media/me/STICK rw - vfat /dev/sdc1 rw\n"
      "24 20 8:3 / /home rw - ext4 /dev/sda3 rw\n";
  ASSERT_TRUE(AssignDriveLetters(table, Mounts(dir, secondBoot).Volumes(), "/home/me", AnyFolder));
  EXPECT_EQ(table[E], "/media/me/DISK");
  EXPECT_EQ(table[9], "/media/me/STICK");
  SaveDriveLetters(reg, table);

  // Third run: everything known again, nothing to add, every letter where it was.
  const DriveLetterTable stored = LoadDriveLetters(reg);
  table = stored;
  EXPECT_FALSE(AssignDriveLetters(table, Mounts(dir, kFirstBoot).Volumes(), "/home/me", AnyFolder));
  EXPECT_EQ(table, stored);
  // The values are paths: a .reg export keeps their bytes.
  EXPECT_TRUE(IsPathSetting("\\Drive", "E"));
}

TEST(DriveLetters, NewVolumesStopWhenTheLettersRunOut) {
  DriveLetterTable table;
  for (int i = D; i < Z; ++i) table[static_cast<size_t>(i)] = "/taken/" + std::to_string(i);
  table[C] = "/";
  std::vector<VolumeInfo> volumes{{"/mnt/one", "ext4", "8:1", VolumeKind::Fixed},
                                  {"/mnt/file-bind", "ext4", "8:1", VolumeKind::Fixed},
                                  {"/mnt/two", "ext4", "8:2", VolumeKind::Fixed}};
  // A mount point that is no folder (a bound file) gets no letter.
  auto isFolder = [](const std::string& f) { return f != "/mnt/file-bind"; };
  EXPECT_TRUE(AssignDriveLetters(table, volumes, "/home/me", isFolder));
  EXPECT_EQ(table[Z], "/mnt/one");
  EXPECT_EQ(table[A], "");  // A and B are never handed out
  EXPECT_EQ(table[1], "");
  EXPECT_FALSE(AssignDriveLetters(table, volumes, "/home/me", isFolder));
}

TEST(DriveLetters, FolderBelongsToTheLongestMappedPrefix) {
  DriveLetterTable table;
  table[C] = "/";
  table[D] = "/home";
  table[H] = "/home/me";
  EXPECT_EQ(DriveLetterOf(table, "/home/me/music/"), H);
  EXPECT_EQ(DriveLetterOf(table, "/home/me"), H);
  EXPECT_EQ(DriveLetterOf(table, "/home/metal/"), D);  // whole folder names only
  EXPECT_EQ(DriveLetterOf(table, "/home/"), D);
  EXPECT_EQ(DriveLetterOf(table, "/usr/share/"), C);
  table[C].clear();
  EXPECT_EQ(DriveLetterOf(table, "/usr/share/"), -1);
}

TEST(DriveLetters, DialogRowsShowMediaAndAskOnlyFixedAndNetworkForLabels) {
  test::TempDir dir;
  const VolumeTable volumes = Mounts(dir, kFirstBoot);
  DriveLetterTable table;
  table[C] = "/";
  table[D] = "/media/cd/music";  // a folder on the CD
  table[E] = "/mnt/share";
  table[F] = "/tmp";
  table[G] = "/gone";            // no such folder: not listed
  table[H] = "/home/me";
  std::vector<std::string> asked;
  auto labelOf = [&](const VolumeInfo& v) {
    asked.push_back(v.mountPoint);
    return "LABEL " + v.mountPoint;
  };
  auto isFolder = [](const std::string& f) { return f != "/gone"; };

  const DriveRows drives = ListDrives(table, volumes, "/home/me/midi/", labelOf, isFolder);
  ASSERT_EQ(drives.rows.size(), 5u);
  struct Row {
    int letter;
    const char* media;
    const char* label;
  } expected[] = {{C, "HardDisk", "LABEL /"},
                  {D, "CD-ROM", ""},
                  {E, "NetWork", "LABEL /mnt/share"},
                  {F, "RamDisk", ""},
                  {H, "HardDisk", "LABEL /home"}};
  for (size_t i = 0; i < drives.rows.size(); ++i) {
    EXPECT_EQ(drives.rows[i].letter, expected[i].letter) << i;
    EXPECT_STREQ(MediaText(drives.rows[i].kind), expected[i].media) << i;
    EXPECT_EQ(drives.rows[i].label, expected[i].label) << i;
  }
  EXPECT_EQ(asked, (std::vector<std::string>{"/", "/mnt/share", "/home"}));
  EXPECT_EQ(drives.current, 4);  // H

  // The current folder's letter not listed: the first row.
  EXPECT_EQ(ListDrives(table, volumes, "/gone/x/", labelOf, isFolder).current, 0);
}

TEST(DriveLetters, LabelComesFromTheLinkToTheVolumesDevice) {
  test::TempDir dir;
  const std::string byLabel = dir.MakeFolder("by-label");
  std::filesystem::create_symlink("/dev/null", byLabel + "/MY\\x20DISK");  // character device 1:3
  std::filesystem::create_symlink(dir.path() + "missing", byLabel + "/BROKEN");
  VolumeInfo volume{"/media/me/DISK", "vfat", "1:3", VolumeKind::Fixed};
  EXPECT_EQ(VolumeLabel(volume, byLabel), "MY DISK");
  volume.device = "8:1";
  EXPECT_EQ(VolumeLabel(volume, byLabel), "");
  volume.device = "0:40";  // no block device behind it
  EXPECT_EQ(VolumeLabel(volume, byLabel), "");
  EXPECT_EQ(VolumeLabel(volume, dir.path() + "none"), "");
  EXPECT_EQ(UnescapeUdevName("A\\x2fB\\x4"), "A/B\\x4");
}

}  // namespace
}  // namespace kadrel
