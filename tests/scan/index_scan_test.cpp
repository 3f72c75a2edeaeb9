// The folder scan over the real index store, with every folder on a volume of a
// chosen kind: what the passes write to the index, and what they tell the user.

#include <gtest/gtest.h>

#include <filesystem>

#include "scan/folder_index_port.h"
#include "scan/scan_fixture.h"

namespace kadrel {
namespace {
using namespace kadrel::test;
namespace fs = std::filesystem;

std::vector<std::string> FilesUnder(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(folder)) names.push_back(e.path().string());
  return names;
}

// The names in the folder's block, in stored order, as a fresh store reads them.
std::vector<std::string> StoredNames(const TMainOption& options, const std::string& folder) {
  RecordingMessageBox messages;
  TFolderIndex fresh(options, messages, {}, [](const std::string&) { return VolumeInfo{"/", "ext4", "8:1", VolumeKind::Fixed}; });
  std::vector<TMusicFileInfo> records;
  fresh.OpenFolderIndex(folder, records);
  std::vector<std::string> names;
  for (const TMusicFileInfo& r : records) names.push_back(r.FullName());
  return names;
}

// Declared in this order so that the scan ends before the port and the store go.
struct IndexedScan {
  explicit IndexedScan(VolumeKind kind, int indexMode = 2) {
    options.IndexFolder = indexFolder.path();
    options.IndexMode = indexMode;
    store = std::make_unique<TFolderIndex>(options, storeMessages, StatusCallback{},
                                           [kind](const std::string&) { return VolumeInfo{"/", "ext4", "8:1", kind}; });
    port = std::make_unique<FolderIndexPort>(*store);
    scan.indexPort = port.get();
    scan.settings().main = options;
  }
  // Every text either box was asked to show.
  std::vector<std::string> Messages() const {
    std::vector<std::string> all;
    for (const auto* box : {&storeMessages, &scan.messages})
      for (const MessageRequest& r : box->shown) all.push_back(r.text);
    return all;
  }

  TempDir indexFolder;
  TMainOption options;
  RecordingMessageBox storeMessages;
  std::unique_ptr<TFolderIndex> store;
  std::unique_ptr<FolderIndexPort> port;
  ScanHarness scan;
};

// Where no index file is kept (the index off, or a volume that keeps none), a list
// checked against the disk and a re-read list the folder from its files: no warning
// about an index file that was never used, and none created.
TEST(IndexedScan, WhereNoIndexIsKeptNoneIsUsedOrCreated) {
  struct Case {
    const char* what;
    VolumeKind kind;
    int indexMode;
  } cases[] = {
      {"index off", VolumeKind::Fixed, 0}, {"network", VolumeKind::Network, 2}, {"tmpfs", VolumeKind::RamDisk, 2},
      {"removable, index in its root", VolumeKind::Removable, 2}, {"cd-rom", VolumeKind::CdRom, 2},
      {"unknown", VolumeKind::Unknown, 2},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write("ONE.MID", Midi("one"));
    IndexedScan s(c.kind, c.indexMode);
    EXPECT_FALSE(s.scan.Open(dir.path())) << c.what;
    for (const char* added : {"TWO.MID", "THREE.MID"}) {  // each change the folder watcher reports
      dir.Write(added, Midi(added));
      s.scan.Update(ScanMode::UpdateWithSubFolders);
      EXPECT_TRUE(s.scan.Find(added)) << c.what;
    }
    dir.Write("FOUR.MID", Midi("four"));
    EXPECT_FALSE(s.scan.ReRead()) << c.what;
    EXPECT_TRUE(s.scan.Find("FOUR.MID")) << c.what;
    EXPECT_EQ(s.Messages(), std::vector<std::string>{}) << c.what;
    EXPECT_EQ(FilesUnder(s.indexFolder.path()), std::vector<std::string>{}) << c.what;
    EXPECT_EQ(FilesUnder(dir.path()).size(), 4u) << c.what;
  }
}

// A list taken from the index gets its block written anew when the update changed it.
// The update reads size and time of the new files only; their records are those a full
// scan makes.
TEST(IndexedScan, UpdateAfterAnIndexLoadRewritesTheBlock) {
  TempDir dir;
  dir.Write("ONE.MID", Midi("one"));
  IndexedScan s(VolumeKind::Fixed);
  EXPECT_FALSE(s.scan.Open(dir.path()));
  EXPECT_TRUE(s.scan.Open(dir.path()));
  dir.Write("TWO.MID", Midi("two") + std::string(700, 'x'));
  s.scan.Update(ScanMode::UpdateWithSubFolders);
  ASSERT_TRUE(s.scan.Find("TWO.MID"));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{});
  ScanHarness full;
  full.settings().main = s.options;
  ASSERT_FALSE(full.Open(dir.path()));
  ASSERT_TRUE(full.Find("TWO.MID"));
  EXPECT_GT(full.Find("TWO.MID")->Size, 700);
  EXPECT_NE(full.Find("TWO.MID")->DosDate, 0);
  EXPECT_EQ(*s.scan.Find("TWO.MID"), *full.Find("TWO.MID"));

  EXPECT_EQ(StoredNames(s.options, dir.path()), (std::vector<std::string>{"ONE.MID", "TWO.MID"}));
}

// The list is copied for the index a slice at a time: a folder of more entries than a
// slice is stored whole, in the list's order.
TEST(IndexedScan, ALongListIsStoredWholeInItsOrder) {
  TempDir dir;
  const int kFiles = 1203;
  for (int i = 0; i < kFiles; ++i) dir.Write("S" + std::to_string(kFiles - i) + ".MID", Midi("s"));
  dir.MakeFolder("SUB");
  IndexedScan s(VolumeKind::Fixed);
  EXPECT_FALSE(s.scan.Open(dir.path()));
  std::vector<std::string> listed;
  for (const std::string& name : s.scan.Names())
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".MID") == 0) listed.push_back(name);
  ASSERT_EQ(listed.size(), static_cast<size_t>(kFiles));

  EXPECT_EQ(StoredNames(s.options, dir.path()), listed);
}

// Re-read all drops the block and lists the files; the full scan stores them again. A
// block that cannot be dropped is neither read nor written by that one scan.
TEST(IndexedScan, ReReadListsTheFolderFromItsFiles) {
  TempDir dir;
  dir.Write("ONE.MID", Midi("the first song"));
  IndexedScan s(VolumeKind::Fixed);
  s.scan.Open(dir.path());
  EXPECT_TRUE(s.scan.Open(dir.path()));
  EXPECT_FALSE(s.scan.ReRead());
  EXPECT_TRUE(s.scan.Open(dir.path()));
  EXPECT_EQ(s.Messages(), std::vector<std::string>{});

  ScanHarness scan;  // over the recording index
  scan.Open(dir.path());
  scan.index.blocks[dir.path()][0].Title = "edited";
  scan.index.forgetFails = true;
  EXPECT_FALSE(scan.ReRead());
  EXPECT_EQ(scan.Find("ONE.MID")->Title, "the first song");
  EXPECT_EQ(scan.index.saves, 1);  // not stored over the block that stayed
  EXPECT_TRUE(scan.Open(dir.path()));  // the next opening uses the index again
  EXPECT_EQ(scan.Find("ONE.MID")->Title, "edited");
  // The block is read and written on the worker, its records reach the list on the
  // window's thread.
  EXPECT_TRUE(scan.index.readOffWindowThread);
  EXPECT_TRUE(scan.index.writtenOffWindowThread);
  EXPECT_FALSE(scan.view.touchedOffWindowThread);
}

}  // namespace
}  // namespace kadrel
