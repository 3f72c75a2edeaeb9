// The member rename writer, checked with lhasa's own tool and reader as oracles.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/encoding.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::RunProcess;
using test::TempDir;

std::vector<std::string> Paths(const std::string& bytes) {
  MemoryByteSource src(bytes);
  std::vector<std::string> out;
  for (const auto& m : ListLzhArchive(src).members) out.push_back(m.Path());
  return out;
}

std::string DataOf(const std::string& bytes, size_t index) {
  MemoryByteSource src(bytes);
  LzhListing l = ListLzhArchive(src);
  std::string data;
  if (index < l.members.size()) DecodeLzhMember(src, l.members[index], data);
  return data;
}

class RenameLevel : public ::testing::TestWithParam<int> {};

TEST_P(RenameLevel, RoundTripKeepsDataOtherMembersAndTrailingBytes) {
  TempDir dir;
  const std::string original =
      BuildStoredArchive({{"a/ONE.TXT", "one"}, {"TWO.TXT", "two two"}, {"three.txt", "3"}}, GetParam()) + "TAIL";
  const std::string path = dir.Write("r.lzh", original);
  const std::string newName = Cp932("新しい名前.TXT");

  EXPECT_EQ(Unlha("n " + path + " two.txt -n -gr" + newName), 0);
  std::string renamed = ReadFileBytes(path);
  EXPECT_EQ(Paths(renamed), (std::vector<std::string>{"a/ONE.TXT", newName, "three.txt"}));
  EXPECT_EQ(DataOf(renamed, 1), "two two");
  EXPECT_EQ(renamed.substr(renamed.size() - 5), std::string("\0TAIL", 5));
  EXPECT_EQ(RunProcess({"lha", "t", path}).exitCode, 0);

  // Back again: byte for byte the original.
  EXPECT_TRUE(RenameLzhMembers(path, newName, "TWO.TXT").ok);
  EXPECT_EQ(ReadFileBytes(path), original);
  // A member inside a folder keeps its folder.
  EXPECT_EQ(RenameLzhMembers(path, "a/one.txt", "UNO.TXT").renamed, 1);
  EXPECT_EQ(Paths(ReadFileBytes(path))[0], "a/UNO.TXT");
}

INSTANTIATE_TEST_SUITE_P(Levels, RenameLevel, ::testing::Values(0, 1, 2));

TEST(LzhRename, Level2HeaderCrossingThePaddingBoundaryBothWays) {
  TempDir dir;
  // A level-2 stored header is 34 + name bytes long; 222 bytes reach 256 and need padding.
  const std::string shortName(221, 'S'), longName(222, 'L');
  const std::string path = dir.Write("p.lzh", BuildStoredArchive({{shortName, "x"}, {"NEXT.TXT", "next"}}, 2));
  for (const auto& [from, to] : {std::pair{shortName, longName}, std::pair{longName, shortName}}) {
    RenameResult r = RenameLzhMembers(path, from, to);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Paths(ReadFileBytes(path)), (std::vector<std::string>{to, "NEXT.TXT"}));
    EXPECT_EQ(RunProcess({"lha", "t", path}).exitCode, 0);
  }
}

TEST(LzhRename, RefusesLevel3BadNamesAndDamagedArchivesLeavingTheFileUnchanged) {
  TempDir dir;
  const std::string level3 = dir.Write(
      "h3.lzh", ReadFileBytes(test::TestDataDir() + "lzh/lha_os2_208/h3_lh5.lzh"));
  const std::string before3 = ReadFileBytes(level3);
  MemoryByteSource src(before3);
  RenameResult r = RenameLzhMembers(level3, ListLzhArchive(src).members.at(0).name, "X.TXT");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("level-3"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(level3), before3);

  const std::string path = dir.Write("a.lzh", BuildStoredArchive({{"A.TXT", "a"}}, 1));
  const std::string before = ReadFileBytes(path);
  for (const std::string& bad : std::vector<std::string>{"", "..", "x/y.txt", "x\\y.txt", std::string("a\0b", 3), std::string(240, 'n')})
    EXPECT_FALSE(RenameLzhMembers(path, "A.TXT", bad).ok) << bad;
  EXPECT_EQ(RenameLzhMembers(path, "NONE.TXT", "B.TXT").renamed, 0);
  const std::string truncated = dir.Write("t.lzh", before.substr(0, before.size() - 3));
  EXPECT_FALSE(RenameLzhMembers(truncated, "A.TXT", "B.TXT").ok);
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);  // no temp left
}

// Renaming the first file of a real level 0-2 archive keeps lhasa's verdict on it.
// Returns how many archives of `root`/lzh qualified.
int RenameKeepsLhasaVerdict(const std::string& root, bool onlyThoseMissingFromTestData) {
  TempDir dir;
  int checked = 0;
  for (const auto& e : fs::recursive_directory_iterator(root + "lzh")) {
    if (e.path().extension() != ".lzh" || e.path().string().find("/crafted/") != std::string::npos) continue;
    if (onlyThoseMissingFromTestData && fs::exists(test::TestDataDir() + e.path().lexically_relative(root).string()))
      continue;
    const std::string bytes = ReadFileBytes(e.path().string());
    MemoryByteSource src(bytes);
    LzhListing l = ListLzhArchive(src);
    if (l.damaged || l.members.empty() || l.members[0].level > 2 || l.members[0].os == 'K' ||
        !l.members[0].IsRegularFile() || l.members[0].name.empty() || l.members[0].originalSize > (8u << 20))
      continue;
    SCOPED_TRACE(e.path().string());
    const std::string copy = dir.Write("c.lzh", bytes);
    const int verdict = RunProcess({"lha", "t", copy}).exitCode;
    const std::string newName = l.members[0].name + "_rn";
    RenameResult r = RenameLzhMembers(copy, l.members[0].name, newName);
    EXPECT_TRUE(r.ok) << r.error;
    if (!r.ok) continue;
    EXPECT_EQ(RunProcess({"lha", "t", copy}).exitCode, verdict);
    EXPECT_NE(RunProcess({"lha", "l", copy}).out.find("_rn"), std::string::npos);
    ++checked;
  }
  return checked;
}

TEST(LzhRename, RealArchivesStayValidForLhasa) {
  EXPECT_GT(RenameKeepsLhasaVerdict(test::TestDataDir(), false), 120);
}

TEST(LzhRename, LongArchivesOfTheSharedCorpusStayValidForLhasa) {
  if (!test::RequireCorpus()) return;
  EXPECT_GE(RenameKeepsLhasaVerdict(test::CorpusDir(), true), 2);
}

}  // namespace
}  // namespace kadrel
