// The index search over files written by real folder scans, on two volumes: what the
// headers said is found, in the volume's own index file, with its folder.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "scan/folder_index_port.h"
#include "scan/scan_fixture.h"
#include "search/index_search.h"
#include "search/index_snapshot.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

TEST(SearchAfterScans, FindsWhatTheScansReadOnEveryVolume) {
  TempDir fixed, usb, indexFolder;
  TMainOption options;
  options.IndexFolder = indexFolder.path();
  options.IndexMode = 2;
  RecordingMessageBox storeMessages;
  const std::string usbRoot = usb.path();
  TFolderIndex store(options, storeMessages, StatusCallback{}, [usbRoot](const std::string& folder) {
    const bool onUsb = folder.starts_with(usbRoot);
    return VolumeInfo{onUsb ? "/media/usb" : "/", "ext4", onUsb ? "8:17" : "8:1", VolumeKind::Fixed};
  });
  FolderIndexPort port(store);

  // Generated folders: a title in half-width kana, one in full-width letters, plain ones.
  fixed.Write("game/BOSS.MID", Midi(Cp932("ﾎﾞｽ戦")));
  fixed.Write("game/FIELD.MID", Midi("Field"));
  fixed.Write("pops/SAKURA.MID", Midi(Cp932("ＳＡＫＵＲＡ")));
  usb.Write("old/TITLE.MID", Midi(Cp932("タイトル画面")));
  usb.Write("old/BOSS2.MID", Midi(Cp932("ボス戦その２")));
  {
    ScanHarness scan;
    scan.indexPort = &port;
    scan.settings().main = options;
    for (const std::string& folder : {fixed.path() + "game/", fixed.path() + "pops/", usb.path() + "old/"})
      EXPECT_FALSE(scan.Open(folder)) << folder;
  }
  EXPECT_EQ(storeMessages.shown.size(), 0u);

  const auto files = IndexFilesIn(options.IndexFolder);
  ASSERT_EQ(files.size(), 2u);
  SearchCache cache;
  auto search = [&](const std::string& text) {
    std::vector<std::string> found;
    SearchQuery query;
    query.text = text;
    IndexSearch(cache).Run(query, files, [&](std::vector<SearchHit>&& hits) {
      for (const SearchHit& h : hits) found.push_back(h.folder + h.record.FullName());
    });
    return found;
  };
  EXPECT_EQ(search("ぼす 戦"), (std::vector<std::string>{fixed.path() + "game/BOSS.MID", usb.path() + "old/BOSS2.MID"}));
  EXPECT_EQ(search("sakura"), (std::vector<std::string>{fixed.path() + "pops/SAKURA.MID"}));
  EXPECT_EQ(search("たいとる"), (std::vector<std::string>{usb.path() + "old/TITLE.MID"}));
  EXPECT_EQ(search("その2"), (std::vector<std::string>{usb.path() + "old/BOSS2.MID"}));
}

}  // namespace
}  // namespace kadrel
