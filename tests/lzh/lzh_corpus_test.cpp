// The header walker and the decoders against the real and crafted archives, with
// liblhasa's own reader as the independent oracle for member counts.

#include <gtest/gtest.h>

#include <liblhasa-1.0/lhasa.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/lzh_archive.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::CorpusDir;
using test::TestDataDir;

std::string DataLzh(const std::string& rel) { return TestDataDir() + "lzh/" + rel; }

// The archives under root + "lzh/", as paths relative to root.
std::vector<std::string> ArchivesUnder(const std::string& root) {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root + "lzh", ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const auto ext = it->path().extension().string();
    if (it->is_regular_file() && (ext == ".lzh" || ext == ".lzs" || ext == ".pma"))
      out.push_back(it->path().lexically_relative(root).string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Entries liblhasa's reader returns, and whether its CRC check passes for all of them.
// Members declaring more than this (a tiny archive claiming >4 GiB) are listed only.
constexpr uint64_t kHugeMember = 64u << 20;

struct OracleResult {
  int members = 0;
  int crcFailures = 0;
};

OracleResult Oracle(const std::string& path) {
  OracleResult r;
  std::string mutablePath = path;
  LHAInputStream* stream = lha_input_stream_from(mutablePath.data());
  if (!stream) return r;
  LHAReader* reader = lha_reader_new(stream);
  while (LHAFileHeader* h = lha_reader_next_file(reader)) {
    ++r.members;
    if (std::string(h->compress_method) == "-lhd-" || h->length > kHugeMember) continue;
    if (!lha_reader_check(reader, nullptr, nullptr)) ++r.crcFailures;
  }
  lha_reader_free(reader);
  lha_input_stream_free(stream);
  return r;
}

// Lists and decodes every member; a member may fail only where liblhasa fails too.
// Counts the members decoded into `decoded`.
void CheckAgainstLiblhasa(const std::vector<std::string>& archives, int& decoded) {
  for (const auto& path : archives) {
    SCOPED_TRACE(path);
    auto src = FileByteSource::Open(path);
    ASSERT_TRUE(src);
    LzhListing listing = ListLzhArchive(*src);
    OracleResult oracle = Oracle(path);
    EXPECT_GE(static_cast<int>(listing.members.size()), oracle.members) << listing.error;
    int ourFailures = 0;
    for (const auto& m : listing.members) {
      if (m.IsDirectory() || m.originalSize > kHugeMember) continue;
      std::string data;
      LzhDecodeStatus s = DecodeLzhMember(*src, m, data);
      if (s == LzhDecodeStatus::Ok) {
        ++decoded;
        EXPECT_EQ(data.size(), m.originalSize);
      } else {
        ++ourFailures;
        // Only members liblhasa cannot decode either may fail.
        EXPECT_TRUE(s == LzhDecodeStatus::UnsupportedMethod || oracle.crcFailures > 0)
            << m.Path() << " " << m.method << " status " << static_cast<int>(s);
      }
    }
    EXPECT_LE(ourFailures, oracle.crcFailures + 2);
  }
}

TEST(LzhCorpus, EveryArchiveListsAtLeastWhatLiblhasaListsAndDecodesCrcExact) {
  std::vector<std::string> archives;
  for (const auto& rel : ArchivesUnder(TestDataDir())) archives.push_back(TestDataDir() + rel);
  ASSERT_GT(archives.size(), 200u) << "archives missing under " << DataLzh("");
  int decoded = 0;
  CheckAgainstLiblhasa(archives, decoded);
  EXPECT_GE(decoded, 255);
}

// The largest archives stay in the shared corpus only (its others are copied in
// tests/data): long -lz5-, -lzs-, -lh1- and -pm1- streams, and a 32-member -pm1- archive.
TEST(LzhCorpus, LongArchivesOfTheSharedCorpus) {
  if (!test::RequireCorpus()) return;
  std::vector<std::string> archives;
  for (const auto& rel : ArchivesUnder(CorpusDir()))
    if (!fs::exists(TestDataDir() + rel)) archives.push_back(CorpusDir() + rel);
  ASSERT_GE(archives.size(), 6u) << "archives missing under " << CorpusDir() << "lzh";
  int decoded = 0;
  CheckAgainstLiblhasa(archives, decoded);
  EXPECT_GE(decoded, 36);  // all but LHARK's -lh7- (another algorithm under that name)
}

// The crafted Shift-JIS names come out as the exact CP932 bytes at every level and OS id.
class SjisNames : public ::testing::TestWithParam<const char*> {};

TEST_P(SjisNames, AreKeptAsExactBytes) {
  LzhListing l = ListLzhFile(DataLzh("crafted/") + GetParam());
  ASSERT_FALSE(l.damaged) << l.error;
  std::vector<std::string> paths;
  for (const auto& m : l.members) paths.push_back(m.Path());
  const std::vector<std::string> expected = {
      "\x95\x5C\x8E\x86.MID",              // 表紙.MID (trail byte 0x5C)
      "\x83\x5C\x83\x93\x83\x4F.MID",      // ソング.MID
      "\x83\x41\x83\x43.MID",              // アイ.MID (trail bytes are capitals)
      "Son\x82\x87_\x83\x41.mid",          // Sonｇ_ア.mid
      "\x95\x5C/A.MID",                    // A.MID in folder 表
  };
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(l.members.back().name, "A.MID");
}

INSTANTIATE_TEST_SUITE_P(Levels, SjisNames,
                         ::testing::Values("sjis_l0_M.lzh", "sjis_l0_U.lzh", "sjis_l1_M.lzh", "sjis_l1_U.lzh",
                                           "sjis_l2_M.lzh", "sjis_l2_U.lzh"));

TEST(LzhCorpusDamage, TruncatedDataIsListedAndReportedAndDecodingFails) {
  auto src = FileByteSource::Open(DataLzh("regression/truncated.lzh"));
  ASSERT_TRUE(src);
  LzhListing l = ListLzhArchive(*src);
  ASSERT_EQ(l.members.size(), 1u);
  EXPECT_TRUE(l.damaged);
  std::string data;
  EXPECT_EQ(DecodeLzhMember(*src, l.members[0], data), LzhDecodeStatus::DataError);
  // The first bytes are still readable for a header.
  EXPECT_EQ(DecodeLzhMember(*src, l.members[0], data, 512), LzhDecodeStatus::Partial);
  EXPECT_EQ(data.size(), 512u);
}

TEST(LzhCorpusDamage, OddLayoutsList) {
  // junk before the first header; a level-2 header of exactly 256 bytes, with and
  // without the padding byte; NUL-terminated names with a comment after them.
  EXPECT_EQ(ListLzhFile(DataLzh("crafted/junk_before_header.lzh")).members.size(), 1u);
  for (const char* f : {"l2_padded_257.lzh", "l2_unpadded_256.lzh"}) {
    LzhListing l = ListLzhFile(DataLzh("crafted/") + f);
    EXPECT_EQ(l.members.size(), 2u) << f;
    EXPECT_FALSE(l.damaged) << f << l.error;
  }
  LzhListing nul = ListLzhFile(DataLzh("crafted/evil_l0_nul_in_name.lzh"));
  ASSERT_FALSE(nul.members.empty());
  EXPECT_EQ(nul.members[0].name, "NUL.TXT");
  LzhListing empty = ListLzhFile(DataLzh("crafted/evil_l0_empty_name.lzh"));
  EXPECT_EQ(empty.members.size(), 2u);  // the member after the empty name is not lost
  // A text file is not an archive.
  LzhListing text = ListLzhFile(DataLzh("COPYING.lhasa"));
  EXPECT_TRUE(text.damaged);
  EXPECT_TRUE(text.members.empty());
}

}  // namespace
}  // namespace kadrel
