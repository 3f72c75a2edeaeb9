// The rename of loose files, folders, archives and members over temporary folders.

#include "rename/rename_engine.h"

#include <gtest/gtest.h>

#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "index/index_fixture.h"
#include "rename/rename_index.h"
#include "rename/rename_on_disk.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

using test::ReadFileBytes;

TMusicFileInfo Loose(const std::string& name, const std::string& ext) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileExt = ext;
  r.FileType = kRowMID;
  r.ItemKind = kLooseFile;
  return r;
}

TMusicFileInfo Member(const std::string& name, const std::string& ext, const std::string& archive) {
  TMusicFileInfo r = Loose(name, ext);
  r.ItemKind = kArchiveMember;
  r.Archiver = archive;
  return r;
}

std::vector<std::string> MemberNames(const std::string& path) {
  std::vector<std::string> names;
  for (const LzhMember& m : ListLzhFile(path).members) names.push_back(m.Path());
  return names;
}

class RenameTest : public test::IndexTest {
 protected:
  RenameOutcome Rename(const TMusicFileInfo& entry, const std::string& name, std::vector<TMusicFileInfo>* listed = nullptr) {
    RenameFields f = InitialRenameFields(entry);
    f.fileName = name;
    return engine.Apply(entry, f, folder, listed);
  }
  RenameOutcome RenameArchive(const TMusicFileInfo& entry, const std::string& arcName, const std::string& name,
                              std::vector<TMusicFileInfo>* listed = nullptr) {
    RenameFields f = InitialRenameFields(entry);
    f.arcName = arcName;
    f.fileName = name;
    return engine.Apply(entry, f, folder, listed);
  }
  std::string Archive(const std::string& name, const std::vector<StoredMember>& members, int level = 2) {
    return temp.Write("m/" + name, BuildStoredArchive(members, level));
  }

  std::string folder = temp.MakeFolder("m");
  TUnLhaManagement turns;
  RenameEngine engine{messages, turns};
};

TEST(RenameNames, ForbiddenCharactersAreFoundByCharacterNotByByte) {
  EXPECT_TRUE(IsValidFileName("song"));
  for (const char* bad : {"a?b", "a/b", "a\\b", "a:b", "a*b", "a\"b", "a<b", "a>b", "a|b", "", "   "})
    EXPECT_FALSE(IsValidFileName(bad)) << bad;
  // "ソ" in Shift-JIS ends in 0x5C: not a backslash.
  EXPECT_TRUE(IsValidFileName("\x83\x5C"));
  EXPECT_FALSE(IsValidFileName("\x83\x5C\\"));
  // In UTF-8 the bytes of "あ" (E3 81 82) look like Shift-JIS leads; the "?" after them
  // is still found.
  EXPECT_FALSE(IsValidFileName("あ?"));
  EXPECT_TRUE(IsValidFileName("ソング"));
}

TEST(RenameNames, FieldsSplitAFolderAtItsLastDotAndJoinWithOne) {
  TMusicFileInfo folderEntry;
  folderEntry.FileType = -1;
  folderEntry.ItemKind = kFolderEntry;
  folderEntry.FileName = "disk.v2.old";
  RenameFields f = InitialRenameFields(folderEntry);
  EXPECT_EQ(f.fileName, "disk.v2");
  EXPECT_EQ(f.fileType, "old");
  EXPECT_EQ(f.arcName, kNotAnArchiveText);
  EXPECT_EQ(JoinFieldName(f.fileName, f.fileType), "disk.v2.old");
  folderEntry.FileName = "trailing.";
  f = InitialRenameFields(folderEntry);
  EXPECT_EQ(JoinFieldName(f.fileName, f.fileType), "trailing.");

  f = InitialRenameFields(Member("SONG", ".MID", "PACK.LZH"));
  EXPECT_EQ(f.fileName, "SONG");
  EXPECT_EQ(f.fileType, "MID");
  EXPECT_EQ(f.arcName, "PACK");
  EXPECT_EQ(f.arcType, "LZH");
}

TEST_F(RenameTest, LooseFileChangesExactCaseAndFolderToo) {
  temp.Write("m/song.mid", "MThd");
  std::vector<TMusicFileInfo> listed = {Loose("song", ".mid")};
  const RenameOutcome out = Rename(listed[0], "Song", &listed);
  EXPECT_EQ(out.status, RenameStatus::Renamed);
  EXPECT_EQ(ReadFileBytes(folder + "Song.mid"), "MThd");
  EXPECT_FALSE(EntryExists(folder, "song.mid"));
  EXPECT_EQ(listed[0].FullName(), "Song.mid");

  temp.MakeFolder("m/old.disk");
  TMusicFileInfo sub;
  sub.FileType = -1;
  sub.ItemKind = kFolderEntry;
  sub.FileName = "old.disk";
  RenameFields f = InitialRenameFields(sub);
  f.fileName = "new";
  EXPECT_EQ(engine.Apply(sub, f, folder, nullptr).status, RenameStatus::Renamed);
  EXPECT_TRUE(EntryExists(folder, "new.disk"));
  f = InitialRenameFields(Loose("Song", ".mid"));
  EXPECT_EQ(engine.Apply(Loose("Song", ".mid"), f, folder, nullptr).status, RenameStatus::Unchanged);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RenameTest, ATakenNameInEitherCaseIsNeverReplaced) {
  temp.Write("m/a.mid", "first");
  temp.Write("m/b.mid", "second");
  temp.Write("m/c.MID", "third");
  for (const char* taken : {"b", "B"}) {
    const RenameOutcome out = Rename(Loose("a", ".mid"), taken);
    EXPECT_EQ(out.status, RenameStatus::Refused) << taken;
    EXPECT_TRUE(out.restoreFields);
  }
  EXPECT_EQ(messages.shown.back().text, folder + "B.mid は既に存在します.\n名前の変更に失敗しました.");
  EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
  // Only the letter case of the extension differs.
  EXPECT_EQ(Rename(Loose("a", ".mid"), "c").status, RenameStatus::Refused);
  EXPECT_EQ(ReadFileBytes(folder + "a.mid"), "first");
  EXPECT_EQ(ReadFileBytes(folder + "b.mid"), "second");
  EXPECT_EQ(ReadFileBytes(folder + "c.MID"), "third");
  // A folder is no more replaced than a file.
  temp.MakeFolder("m/dir");
  EXPECT_EQ(RenameEntryNoReplace(folder, "a.mid", "dir"), DiskRename::Exists);
  EXPECT_EQ(RenameEntryNoReplace(folder, "dir", "b.mid"), DiskRename::Exists);
}

TEST_F(RenameTest, BadNamesAreRefusedWithTheOldNamesBack) {
  temp.Write("m/a.mid", "x");
  for (const char* bad : {"what?", "   "}) {
    const RenameOutcome out = Rename(Loose("a", ".mid"), bad);
    EXPECT_EQ(out.status, RenameStatus::Refused);
    EXPECT_TRUE(out.restoreFields);
    EXPECT_EQ(messages.shown.back().text, "ファイル名に不適切な文字が含まれています.\n名前の変更に失敗しました.");
  }
  EXPECT_TRUE(EntryExists(folder, "a.mid"));

  // A member name must have a Shift-JIS form: "?" is never written for it.
  const std::string path = Archive("P.LZH", {{"SONG.MID", "d"}});
  const std::string before = ReadFileBytes(path);
  EXPECT_EQ(Rename(Member("SONG", ".MID", "P.LZH"), "歌\xF0\x9F\x8E\xB5").status, RenameStatus::Refused);
  EXPECT_EQ(ReadFileBytes(path), before);

  // A missing file is forgotten.
  const RenameOutcome gone = Rename(Loose("gone", ".mid"), "other");
  EXPECT_EQ(gone.status, RenameStatus::Forgotten);
  EXPECT_EQ(messages.shown.back().text, folder + "gone.mid が存在しません.\n名前の変更に失敗しました.");
}

TEST_F(RenameTest, MemberCaseOnlyChangeIsNoChangeButAShiftJisNameIsWritten) {
  const std::string path = Archive("P.LZH", {{"SONG.MID", "d"}, {"READ.DOC", "r"}});
  const std::string before = ReadFileBytes(path);
  EXPECT_EQ(Rename(Member("SONG", ".MID", "P.LZH"), "song").status, RenameStatus::Unchanged);
  EXPECT_EQ(ReadFileBytes(path), before);

  std::vector<TMusicFileInfo> listed = {Member("SONG", ".MID", "P.LZH"), Member("READ", ".DOC", "P.LZH")};
  const RenameOutcome out = Rename(listed[0], "ソング", &listed);
  ASSERT_EQ(out.status, RenameStatus::Renamed);
  const std::string sjis = Cp932("ソング.MID");
  EXPECT_EQ(MemberNames(path), (std::vector<std::string>{sjis, "READ.DOC"}));
  EXPECT_EQ(listed[0].FullName(), sjis);
  EXPECT_EQ(listed[1].FullName(), "READ.DOC");
}

TEST_F(RenameTest, MemberConflictLeavesTheArchiveWithItsOldName) {
  const std::string path = Archive("A.LZH", {{"SONG.MID", "d"}, {"READ.MID", "r"}});
  const std::string before = ReadFileBytes(path);
  std::vector<TMusicFileInfo> listed = {Member("SONG", ".MID", "A.LZH")};
  const RenameOutcome out = RenameArchive(listed[0], "B", "read", &listed);
  EXPECT_EQ(out.status, RenameStatus::Refused);
  EXPECT_TRUE(out.restoreFields);
  EXPECT_EQ(messages.shown.back().text,
            "圧縮ファイル内に既に read.MID は既に存在します.\n圧縮ファイル内の名前の変更に失敗しました.");
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_FALSE(EntryExists(folder, "B.LZH"));
  EXPECT_EQ(listed[0].Archiver, "A.LZH");
}

TEST_F(RenameTest, DuplicateBaseNamesAreRefused) {
  const std::string path = Archive("D.LZH", {{"one/SONG.MID", "1"}, {"two/song.mid", "2"}});
  const std::string before = ReadFileBytes(path);
  const RenameOutcome out = RenameArchive(Member("SONG", ".MID", "D.LZH"), "E", "NEW");
  EXPECT_EQ(out.status, RenameStatus::Refused);
  EXPECT_EQ(messages.shown.back().text, "圧縮ファイル内に SONG.MID が複数あります.\n圧縮ファイル内の名前の変更に失敗しました.");
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_FALSE(EntryExists(folder, "E.LZH"));
}

TEST_F(RenameTest, RefusedMemberRenameUndoesTheArchiveRename) {
  const std::string level3 =
      temp.Write("m/H3.LZH", ReadFileBytes(test::TestDataDir() + "lzh/lha_os2_208/h3_lh5.lzh"));
  const std::string before = ReadFileBytes(level3);
  const LzhMember first = ListLzhFile(level3).members.at(0);
  TMusicFileInfo entry = Member(NameWithoutExtension(first.name), ExtensionWithDot(first.name), "H3.LZH");
  std::vector<TMusicFileInfo> listed = {entry};
  const RenameOutcome out = RenameArchive(entry, "MOVED", "renamed", &listed);
  EXPECT_EQ(out.status, RenameStatus::Refused);
  EXPECT_TRUE(out.restoreFields);
  EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
  EXPECT_EQ(messages.shown.back().text,
            "renamed" + ExtensionWithDot(first.name) + " への名前の変更に失敗しました.\n圧縮ファイル名は元に戻しました.");
  EXPECT_EQ(ReadFileBytes(level3), before);
  EXPECT_FALSE(EntryExists(folder, "MOVED.LZH"));
  EXPECT_EQ(listed[0], entry);
}

TEST_F(RenameTest, ArchiveRenameUpdatesEntriesAndTheIndexBlock) {
  Archive("A.LZH", {{"SONG.MID", "d"}, {"NEXT.RCP", "r"}});
  temp.Write("m/loose.mid", "MThd");
  std::vector<TMusicFileInfo> listed = {test::FolderRow(), Loose("loose", ".mid"), Member("SONG", ".MID", "A.LZH"),
                                        Member("NEXT", ".RCP", "A.LZH")};
  listed[3].FileType = kRowRCP;
  TFolderIndex index = MakeIndex();
  ASSERT_TRUE(SaveBlock(index, folder, listed));

  const RenameOutcome out = RenameArchive(listed[2], "B", "SONG", &listed);
  ASSERT_EQ(out.status, RenameStatus::Renamed);
  EXPECT_TRUE(EntryExists(folder, "B.LZH"));
  EXPECT_EQ(listed[2].Archiver, "B.LZH");
  EXPECT_EQ(listed[3].Archiver, "B.LZH");
  ASSERT_TRUE(index.ReplaceFolderBlock(listed));

  std::vector<TMusicFileInfo> stored;
  MakeIndex().OpenFolderIndex(folder, stored);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[1].Archiver, "B.LZH");
  EXPECT_EQ(stored[2].Archiver, "B.LZH");

  // Without the list in memory the block's records are renamed where they are stored.
  const RenameOutcome member = Rename(listed[3], "LAST");
  ASSERT_EQ(member.status, RenameStatus::Renamed);
  TFolderIndex other = MakeIndex();
  EXPECT_EQ(RenameInIndexBlock(other, folder, member), BlockUpdate::Saved);
  stored.clear();
  MakeIndex().OpenFolderIndex(folder, stored);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].FullName(), "LAST.RCP");
  EXPECT_EQ(stored[0].FullName(), "loose.MID");

  const RenameOutcome loose = Rename(listed[1], "first");
  ASSERT_EQ(loose.status, RenameStatus::Renamed);
  EXPECT_EQ(RenameInIndexBlock(other, folder, loose), BlockUpdate::Saved);
  stored.clear();
  MakeIndex().OpenFolderIndex(folder, stored);
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].FileName, "first");
}

}  // namespace
}  // namespace kadrel
