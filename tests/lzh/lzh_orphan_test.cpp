// Extraction temporaries of a run that was killed are removed by the next extraction
// into the same folder; those of a run still extracting are not touched.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "base/owned_temp.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

TEST(LzhOrphans, TheNextExtractionRemovesAKilledRunsTemporaries) {
  test::TempDir dest;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    const std::string name = OwnedTempName(".kadrel-unpack-", ".tmp");
    test::WriteFileBytes(dest.path() + name, "half a member");
    const ssize_t sent = ::write(ready[1], name.data(), name.size());
    for (int i = 0; i < 600 && sent > 0; ++i) ::sleep(1);  // until killed
    ::_exit(1);
  }
  ::close(ready[1]);
  std::string killed(256, '\0');
  const ssize_t got = ::read(ready[0], killed.data(), killed.size());
  ::close(ready[0]);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_GT(got, 0);
  killed.resize(static_cast<size_t>(got));
  const std::string live = OwnedTempName(".kadrel-unpack-", ".tmp");
  test::WriteFileBytes(dest.path() + live, "being written");

  const std::string archive = BuildStoredArchive({{"A.MID", "MThd", 0, false}}, 0);
  MemoryByteSource src(archive);
  const LzhListing listing = ListLzhArchive(src);
  ASSERT_EQ(listing.members.size(), 1u);
  ASSERT_EQ(ExtractLzhMember(src, listing.members[0], dest.path()), LzhDecodeStatus::Ok);
  EXPECT_FALSE(fs::exists(dest.path() + killed)) << killed;
  EXPECT_TRUE(fs::exists(dest.path() + live));
  EXPECT_TRUE(fs::exists(dest.path() + "A.MID"));
}

}  // namespace
}  // namespace kadrel
