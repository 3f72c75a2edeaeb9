// The header walker and the decoders against the real and crafted archives, with
// liblhasa's own reader as the independent oracle for member counts.

#include <gtest/gtest.h>

#include <liblhasa-1.0/lhasa.h>

#include <filesystem>
#include <string>
#include <vector>

#include "index/lzh/lzh_archive.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

std::string CorpusLzh() { return std::string(KADREL_CORPUS_DIR) + "/lzh"; }

std::vector<std::string> CorpusArchives() {
  std::vector<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(CorpusLzh(), ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const auto ext = it->path().extension().string();
    if (it->is_regular_file() && (ext == ".lzh" || ext == ".lzs" || ext == ".pma")) out.push_back(it->path().string());
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

TEST(LzhCorpus, EveryArchiveListsAtLeastWhatLiblhasaListsAndDecodesCrcExact) {
  const auto archives = CorpusArchives();
  ASSERT_GT(archives.size(), 200u) << "corpus missing at " << CorpusLzh();
  int decoded = 0;
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
  EXPECT_GT(decoded, 300);
}

}  // namespace
}  // namespace kadrel
