// Extraction through the command interpreter: designed semantics and hostile archives.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/encoding.h"
#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// An archive of tests/data/lzh; a missing one fails the test rather than passing unseen.
std::string Archive(const std::string& rel) { return test::DataFile("lzh/" + rel); }

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) out.push_back(e.path().string());
  std::sort(out.begin(), out.end());
  return out;
}

class Sandbox {
 public:
  Sandbox() : dest(WithSlash(tmp.MakeFolder("dest"))) {}
  static std::string WithSlash(std::string p) { return p.back() == '/' ? p : p + "/"; }
  int Extract(const std::string& archive, const std::string& spec = "\"*.*\"") {
    return Unlha(ExtractCommandLine(archive, dest, spec));
  }
  bool Has(const std::string& name) const { return fs::exists(fs::symlink_status(dest + name)); }
  TempDir tmp;    // holds only the destination
  TempDir store;  // archives and other files of the test
  std::string dest;
};

// Every entry that appears is a plain, readable file directly in the destination.
void ExpectOnlyPlainFilesInDest(const Sandbox& s) {
  for (const auto& path : Entries(s.tmp.path())) {
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    if (path + "/" == s.dest || path == s.dest) continue;
    EXPECT_EQ(fs::path(path).parent_path().string() + "/", s.dest) << path << " outside the destination";
    EXPECT_TRUE(S_ISREG(st.st_mode)) << path << " is not a regular file";
    EXPECT_EQ(st.st_mode & 07000, 0u) << path;
    EXPECT_NE(st.st_mode & 0400, 0u) << path;
    EXPECT_EQ(fs::path(path).filename().string().rfind(".kadrel-unpack-", 0), std::string::npos) << "temp left";
  }
}

class HostileArchive : public ::testing::TestWithParam<const char*> {};

TEST_P(HostileArchive, CreatesNothingOutsideTheDestination) {
  const std::string archive = Archive(GetParam());
  if (archive.empty()) return;
  Sandbox s;
  s.Extract(archive);
  s.Extract(archive, "");
  ExpectOnlyPlainFilesInDest(s);
  EXPECT_FALSE(fs::exists("/nonexistent/lzh-escape"));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, HostileArchive,
    ::testing::Values("crafted/evil_l0_abs.lzh", "crafted/evil_l0_bare_dotdot.lzh", "crafted/evil_l0_dotdot.lzh",
                      "crafted/evil_l0_drive.lzh", "crafted/evil_l0_empty_name.lzh", "crafted/evil_l0_long_name.lzh",
                      "crafted/evil_l0_nul_in_name.lzh", "crafted/evil_l1_setuid.lzh", "crafted/evil_l1_symlink.lzh",
                      "crafted/evil_l1_write_only.lzh", "crafted/evil_l2_dir_abs.lzh", "crafted/evil_l2_dir_dotdot.lzh",
                      "crafted/evil_l2_mid_dotdot.lzh", "crafted/evil_l2_name_slash.lzh", "regression/abspath.lzh",
                      "regression/badterm.lzh", "regression/dir.lzh", "regression/dotdot.lzh",
                      "regression/multiple.lzh", "regression/symlink1.lzh", "regression/symlink2.lzh",
                      "regression/symlink3.lzh", "regression/truncated.lzh", "regression/unixsep.lzh",
                      "lha_unix114i/h1_symlink.lzh", "lha_unix114i/h2_symlink3.lzh"));

TEST(LzhExtract, HostileNamesLandUnderTheirBaseNames) {
  Sandbox s;
  s.Extract(Archive("crafted/evil_l0_dotdot.lzh"));
  s.Extract(Archive("crafted/evil_l0_nul_in_name.lzh"));
  s.Extract(Archive("crafted/evil_l2_name_slash.lzh"));
  EXPECT_TRUE(s.Has("DOTDOT0.TXT"));
  EXPECT_TRUE(s.Has("NUL.TXT"));
  EXPECT_TRUE(s.Has("NAMESLASH.txt"));
  s.Extract(Archive("regression/truncated.lzh"));
  EXPECT_EQ(Entries(s.dest).size(), 3u);  // the truncated member left nothing
}

TEST(LzhExtract, PlantedSymlinkInTheDestinationIsReplacedNotFollowed) {
  Sandbox s;
  const std::string outside = s.store.Write("outside.txt", "keep");
  fs::create_symlink(outside, s.dest + "lnk");
  s.Extract(Archive("crafted/evil_l1_symlink.lzh"));
  EXPECT_EQ(test::ReadFileBytes(outside), "keep");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(s.dest + "lnk")));
}

TEST(LzhExtract, SpecsExclusionsDuplicatesAndShiftJisNames) {
  Sandbox s;
  const std::string archive = s.store.Write(
      "a.lzh", BuildStoredArchive({{"a/SONG.MID", "first"}, {"b/SONG.MID", "second"}, {"doc/readme.txt", "doc"},
                       {Cp932("表/アイ.RCP"), "rcp"}, {"my song.mid", "blank"}, {"x.WRD", "wrd"}}));
  // Named members in quotes, several names, a name with blanks.
  EXPECT_EQ(s.Extract(archive, "\"doc/readme.txt\" \"my song.mid\""), 0);
  EXPECT_EQ(Entries(s.dest).size(), 2u);
  EXPECT_TRUE(s.Has("readme.txt"));
  EXPECT_TRUE(s.Has("my song.mid"));
  // Everything except music files: duplicate base names, the last member wins.
  Sandbox t;
  EXPECT_EQ(t.Extract(archive, "*.* -jx*.MID -jx*.RCP "), 0);
  EXPECT_EQ(Entries(t.dest).size(), 2u);
  EXPECT_TRUE(t.Has("x.WRD"));
  Sandbox u;
  EXPECT_EQ(u.Extract(archive, "*.MID"), 0);
  EXPECT_EQ(test::ReadFileBytes(u.dest + "SONG.MID"), "second");
  EXPECT_EQ(u.Extract(archive, "-jxSONG.MID -jx\"my song.mid\" *.*"), 0);
  EXPECT_TRUE(u.Has("アイ.RCP"));
  EXPECT_EQ(u.Extract(archive, "\"NOSUCH.MID\""), 1);
}

TEST(LzhExtract, DamagedDataLeavesNoFile) {
  Sandbox s;
  std::string bytes = BuildStoredArchive({{"GOOD.TXT", "good data"}, {"BAD.TXT", "bad data here"}});
  bytes[bytes.size() - 3] ^= 0x55;  // inside BAD.TXT's data: CRC mismatch
  const std::string archive = s.store.Write("bad.lzh", bytes);
  EXPECT_NE(s.Extract(archive), 0);
  EXPECT_TRUE(s.Has("GOOD.TXT"));
  EXPECT_FALSE(s.Has("BAD.TXT"));

  // A member claiming 4 GiB with a few bytes of data: no file, no hang.
  std::string huge = BuildStoredArchive({{"HUGE.BIN", "tiny"}}, 0);
  for (int i = 0; i < 4; ++i) huge[7 + i] = huge[11 + i] = static_cast<char>(0xFF);
  unsigned sum = 0;
  for (size_t i = 2; i < size_t(uint8_t(huge[0])) + 2; ++i) sum += uint8_t(huge[i]);
  huge[1] = static_cast<char>(sum);
  EXPECT_NE(s.Extract(s.store.Write("huge.lzh", huge)), 0);
  EXPECT_FALSE(s.Has("HUGE.BIN"));
  ExpectOnlyPlainFilesInDest(s);
}

TEST(LzhExtract, MissingArchiveOrDestinationOrLibrary) {
  Sandbox s;
  EXPECT_NE(s.Extract(s.store.path() + "none.lzh"), 0);
  EXPECT_NE(Unlha(ExtractCommandLine(Archive("regression/multiple.lzh"), s.tmp.path() + "nodir/", "*.*")), 0);
  SetLhaLibraryForTesting(std::nullopt);
  EXPECT_NE(s.Extract(Archive("regression/multiple.lzh")), 0);
  ResetLhaLibraryForTesting();
  EXPECT_TRUE(Entries(s.dest).empty());
}

}  // namespace
}  // namespace kadrel
