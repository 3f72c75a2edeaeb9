// Extraction temporaries of a run that was killed are removed by the next extraction
// into the same folder; those of a run still extracting are not touched.

#include <gtest/gtest.h>

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
  const std::string killed = test::LeftByKilledProcess(dest.path(), ".kadrel-unpack-", ".tmp");
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
