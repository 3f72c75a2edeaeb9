// Index files past the designed size: read through a bounded read, never loaded, and
// handled as files that are not ours.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "base/atomic_file.h"
#include "catalog/format_table.h"
#include "index/index_fixture.h"
#include "index/index_format.h"

namespace kadrel {
namespace {

using test::Entry;

// A file of `size` bytes that begins with `head` and holds no data blocks after it.
void MakeSparseFile(const std::string& path, std::string_view head, uint64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
  ::close(fd);
}

struct CapCase {
  uint64_t size;
  uint64_t cap;
  FileRead expected;
};

TEST(ReadFileUpTo, ReadsUpToTheCapAndNoFurther) {
  test::TempDir tmp;
  const CapCase cases[] = {
      {0, 0, FileRead::Ok},
      {0, 10, FileRead::Ok},
      {10, 10, FileRead::Ok},
      {11, 10, FileRead::TooLarge},
      {3ull << 30, 1u << 20, FileRead::TooLarge},  // a sparse 3 GiB file
  };
  for (const CapCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " bytes, cap " << c.cap);
    const std::string path = tmp.path() + "f";
    MakeSparseFile(path, "", c.size);
    std::string out = "stale";
    EXPECT_EQ(ReadFileUpTo(path, c.cap, out), c.expected);
    EXPECT_EQ(out.size(), c.expected == FileRead::Ok ? c.size : 0u);
  }
  std::string out;
  EXPECT_EQ(ReadFileUpTo(tmp.path() + "missing", 10, out), FileRead::Unreadable);
  EXPECT_EQ(ReadFileUpTo(tmp.path(), 10, out), FileRead::Unreadable);
}

class IndexSizeTest : public test::IndexTest {};

TEST_F(IndexSizeTest, AnOversizedIndexFileIsForeignAndNeverLoaded) {
  const std::string folder = temp.MakeFolder("big");
  test::WriteFileBytes(folder + "song.mid", "MThd");
  const std::string own = folder + kFolderIndexFileName;
  // Our header, then sparse bytes up to one past the designed maximum.
  MakeSparseFile(own, IndexHeader(), kMaxIndexFileBytes + 1);

  TFolderIndex index = MakeIndex();
  messages.answers.push_back(MessageAnswer::No);  // keep the file
  std::vector<TMusicFileInfo> out;
  EXPECT_FALSE(index.OpenFolderIndex(folder, out));
  EXPECT_EQ(index.IndexPath(), own);
  EXPECT_TRUE(index.Image().empty());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("関係のないファイル"), std::string::npos);

  EXPECT_TRUE(index.WriteFolderBlock({test::FolderRow(), Entry("song", kRowMID, kLooseFile)}));
  struct stat st {};
  ASSERT_EQ(::stat(own.c_str(), &st), 0);
  EXPECT_EQ(static_cast<uint64_t>(st.st_size), kMaxIndexFileBytes + 1) << "nothing appended";
}

}  // namespace
}  // namespace kadrel
