// Reading files relative to a folder and through a window.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "base/byte_source.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

class CountingReads final : public ByteSource {
 public:
  explicit CountingReads(const ByteSource& inner) : inner_(inner) {}
  uint64_t Size() const override { return inner_.Size(); }
  size_t ReadAt(uint64_t offset, char* out, size_t n) const override {
    ++reads;
    return inner_.ReadAt(offset, out, n);
  }
  mutable int reads = 0;

 private:
  const ByteSource& inner_;
};

// Whatever the reads, the window gives the bytes (and counts) the source gives.
TEST(WindowedByteSource, GivesWhatTheSourceGives) {
  std::mt19937 rng(5);
  std::string data(20000, '\0');
  for (char& c : data) c = static_cast<char>(rng());
  const MemoryByteSource memory(data);
  const WindowedByteSource window(memory, 1000);
  for (int i = 0; i < 5000; ++i) {
    const uint64_t offset = rng() % 21000;
    const size_t n = rng() % 8 == 0 ? rng() % 3000 : rng() % 64;
    std::string expected(n, 'x'), got(n, 'y');
    const size_t expectedCount = memory.ReadAt(offset, expected.data(), n);
    ASSERT_EQ(window.ReadAt(offset, got.data(), n), expectedCount) << offset << " " << n;
    ASSERT_EQ(got.substr(0, expectedCount), expected.substr(0, expectedCount));
  }
  std::string byte(1, '\0');
  EXPECT_EQ(window.ReadAt(UINT64_MAX, byte.data(), 1), 0u);
}

TEST(WindowedByteSource, SmallReadsShareOneReadOfTheSource) {
  const std::string data(5000, 'h');
  const MemoryByteSource memory(data);
  const CountingReads counting(memory);
  const WindowedByteSource window(counting, 4096);
  char header[22];
  for (uint64_t offset = 0; offset < data.size(); offset += 100) window.ReadAt(offset, header, sizeof header);
  EXPECT_EQ(counting.reads, 2);
}

TEST(FileByteSource, OpenAtTrustsTheListingButFollowsNoLink) {
  TempDir dir;
  dir.Write("SONG.MID", "MThd");
  dir.MakeFolder("FOLDER");
  std::filesystem::create_symlink("SONG.MID", dir.path() + "LINK.MID");
  std::filesystem::create_symlink("FOLDER", dir.path() + "FOLDERLINK.MID");
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);

  auto listed = FileByteSource::OpenAt(fd, "SONG.MID", 4);
  ASSERT_TRUE(listed);
  EXPECT_EQ(listed->ReadAvailable(0, 100), "MThd");
  // A name the listing called a regular file but that is a link now is not followed.
  EXPECT_FALSE(FileByteSource::OpenAt(fd, "LINK.MID", 4));
  // Without the listing's word the file is examined: links are followed, folders refused.
  auto linked = FileByteSource::OpenAt(fd, "LINK.MID");
  ASSERT_TRUE(linked);
  EXPECT_EQ(linked->Size(), 4u);
  EXPECT_FALSE(FileByteSource::OpenAt(fd, "FOLDERLINK.MID"));
  EXPECT_FALSE(FileByteSource::OpenAt(fd, "FOLDER"));
  EXPECT_FALSE(FileByteSource::OpenAt(fd, "MISSING.MID"));
  ::close(fd);
}

}  // namespace
}  // namespace kadrel
