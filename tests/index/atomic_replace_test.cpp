// Replacing files the program keeps (index files, play lists, archives) where the
// name is a link or the file is not ours to replace.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "base/atomic_file.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;

// Nothing but the named entries in a folder: no temporary file left behind.
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

struct ReplaceCase {
  const char* what;
  // Lays out the files in `a` (where the name is) and `b` (another folder); returns
  // the path to replace.
  std::function<std::string(const std::string& a, const std::string& b)> setUp;
  bool replaced;
  const char* error;          // part of the message when refused
  const char* changedFile;    // relative to the test folder: holds the new bytes when replaced
  std::vector<std::string> entriesOfA, entriesOfB;
};

TEST(ReplaceFileAtomically, KeepsLinksAndLeavesFilesThatAreNotOursAlone) {
  const ReplaceCase cases[] = {
      {"a new file", [](const std::string& a, const std::string&) { return a + "idx"; }, true, nullptr, "a/idx",
       {"idx"}, {}},
      {"a plain file",
       [](const std::string& a, const std::string&) {
         test::WriteFileBytes(a + "idx", "old");
         return a + "idx";
       },
       true, nullptr, "a/idx", {"idx"}, {}},
      {"a link to a file in another folder",
       [](const std::string& a, const std::string& b) {
         test::WriteFileBytes(b + "real", "old");
         fs::create_symlink(b + "real", a + "idx");
         return a + "idx";
       },
       true, nullptr, "b/real", {"idx"}, {"real"}},
      {"a relative link to a link",
       [](const std::string& a, const std::string& b) {
         test::WriteFileBytes(b + "real", "old");
         fs::create_symlink("real", b + "hop");
         fs::create_symlink("../b/hop", a + "idx");
         return a + "idx";
       },
       true, nullptr, "b/real", {"idx"}, {"hop", "real"}},
      {"a link to a missing file",
       [](const std::string& a, const std::string& b) {
         fs::create_symlink(b + "gone", a + "idx");
         return a + "idx";
       },
       false, "symbolic link", nullptr, {"idx"}, {}},
      {"a file with a second hard link",
       [](const std::string& a, const std::string& b) {
         test::WriteFileBytes(a + "idx", "old");
         fs::create_hard_link(a + "idx", b + "other");
         return a + "idx";
       },
       false, "2 hard links", nullptr, {"idx"}, {"other"}},
      {"a read-only file",
       [](const std::string& a, const std::string&) {
         test::WriteFileBytes(a + "idx", "old");
         ::chmod((a + "idx").c_str(), 0444);
         return a + "idx";
       },
       false, "read-only", nullptr, {"idx"}, {}},
      {"a folder",
       [](const std::string& a, const std::string&) {
         fs::create_directory(a + "idx");
         return a + "idx";
       },
       false, "not a regular file", nullptr, {"idx"}, {}},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir tmp;
    const std::string a = tmp.MakeFolder("a") + "/", b = tmp.MakeFolder("b") + "/";
    const std::string path = c.setUp(a, b);
    auto before = [&](const std::string& p) { return fs::exists(p) && fs::is_regular_file(p) ? ReadFileBytes(p) : ""; };
    const std::string oldA = before(a + "idx");
    const bool wasLink = fs::is_symlink(a + "idx");
    std::string error;
    EXPECT_EQ(ReplaceFileAtomically(path, "new", &error), c.replaced) << error;
    if (c.replaced) {
      EXPECT_EQ(ReadFileBytes(tmp.path() + c.changedFile), "new");
      EXPECT_EQ(ReadFileBytes(path), "new");
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(before(a + "idx"), oldA);
    }
    EXPECT_EQ(Entries(a), c.entriesOfA);
    EXPECT_EQ(Entries(b), c.entriesOfB);
    EXPECT_EQ(fs::is_symlink(a + "idx"), wasLink) << "a link stays a link";
  }
}

TEST(ReplaceFileAtomically, KeepsTheOldFilesPermissions) {
  test::TempDir tmp;
  const std::string path = tmp.path() + "idx";
  test::WriteFileBytes(path, "old");
  ::chmod(path.c_str(), 0600);
  ASSERT_TRUE(ReplaceFileAtomically(path, "new"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_TRUE(ReplaceFileAtomically(tmp.path() + "fresh", "new", nullptr, 0640));
  ASSERT_EQ(::stat((tmp.path() + "fresh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace kadrel
