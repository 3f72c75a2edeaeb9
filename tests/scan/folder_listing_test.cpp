// The listing's name order and its grouping by extension, against the plain rules:
// names compared with ASCII letters folded (CompareIgnoreCase), equal ones in byte
// order; an extension matched with its letter case ignored.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "scan/folder_listing.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const DirEntry& e : entries) names.push_back(e.name);
  return names;
}

TEST(FolderListing, NamesInFoldedOrderWhateverTheirPrefixes) {
  test::TempDir dir;
  // Long shared prefixes, names ending inside the first eight bytes, letter case
  // differing before and after the eighth byte, Shift-JIS names (a trail byte may be a
  // letter) and names equal but for case.
  std::vector<std::string> names = {"SONGBOOK1.MID", "songbook1.mid", "SongBook10.MID", "songbooK2.mid", "SONGBOOK",
                                    "SONG.MID", "song.mid", "SONGBOO.MID", "A.MID", "a", "_x.MID", "Zz.MID",
                                    "12345678.MID", "1234567.MID", Cp932("曲名.MID"), Cp932("ソング.mid"),
                                    Cp932("ソングa.mid"), "\x83" "a.MID", "\x83" "A.MID", "z\x83" "b.MID"};
  for (const std::string& n : names) dir.Write(n, "x");
  const auto listing = FolderListing::Read(dir.path());
  ASSERT_TRUE(listing);

  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int c = CompareIgnoreCase(a, b);
    return c != 0 ? c < 0 : a < b;
  });
  EXPECT_EQ(Names(listing->Entries()), names);
}

TEST(FolderListing, FilesByExtensionGroupsInTheOrderAsked) {
  test::TempDir dir;
  for (const char* n : {"b.mid", "A.MID", "c.Rcp", "d.MP3", "e.lzh", "f.MIDI", "g.mi", "MID", "h.TXT.MID"})
    dir.Write(n, "x");
  dir.MakeFolder("folder.MID");
  const auto listing = FolderListing::Read(dir.path());
  ASSERT_TRUE(listing);

  const auto groups = listing->FilesByExtension({"RCP", "MID", "LZH", "WAV"});
  ASSERT_EQ(groups.size(), 4u);
  auto names = [](const std::vector<const DirEntry*>& group) {
    std::vector<std::string> out;
    for (const DirEntry* e : group) out.push_back(e->name);
    return out;
  };
  EXPECT_EQ(names(groups[0]), (std::vector<std::string>{"c.Rcp"}));
  EXPECT_EQ(names(groups[1]), (std::vector<std::string>{"A.MID", "b.mid", "h.TXT.MID"}));
  EXPECT_EQ(names(groups[2]), (std::vector<std::string>{"e.lzh"}));
  EXPECT_TRUE(groups[3].empty());
}

}  // namespace
}  // namespace kadrel
