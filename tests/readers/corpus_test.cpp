// Real files through the loose-file path: those in tests/data on every clone, the rest
// where the shared corpus is present.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "formats/read_header_info.h"
#include "base/text_helpers.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

struct CorpusCase {
  const char* path;
  const char* detail;
  int state;
  const char* title;  // UTF-8
};

class CorpusFile : public testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusFile, ReadsAsExpected) {
  const CorpusCase& c = GetParam();
  const std::string full = test::DataFile(c.path);
  if (full.empty()) return;
  const size_t slash = full.rfind('/');
  const std::string name = full.substr(slash + 1);
  TMusicFileInfo r;
  r.FileName = NameWithoutExtension(name);
  r.FileExt = ExtensionWithDot(name);
  r.FileType = FormatRowForFileName(name);
  ReadHeaderInfo(full.substr(0, slash + 1), r, {});
  EXPECT_EQ(r.Detail, c.detail);
  EXPECT_EQ(r.InfoState, c.state);
  EXPECT_EQ(DisplayText(r.Title), c.title);
}

// In tests/data.
INSTANTIATE_TEST_SUITE_P(
    Data, CorpusFile,
    testing::Values(
        CorpusCase{"smf/sted2-clone/test.mid", "SMF0", 0, "Sequencer Test Song"},
        CorpusCase{"smf/atldotnet/TRANSIT1.MID", "SMF1", 4, ""},
        CorpusCase{"smf/atldotnet/chron.mid", "SMF1", 0, "A"},
        // One track, but bytes follow it: not taken for format 0; the title's blanks go.
        CorpusCase{"smf/atldotnet/yoru-uta.mid", "SMF1", 0, "Yoru"},
        CorpusCase{"g36/sted2-clone/test.rcp", "", 3, ""},  // G36 content under a .rcp name
        CorpusCase{"mp3/atldotnet/id3v1.mp3", "MP3", 0, "Title"},
        CorpusCase{"mp2/atldotnet/mp2Layer2.mp2", "MP2", 4, ""},
        CorpusCase{"wav/atldotnet/audacityTags.wav", "WAVE", 4, ""},  // its INFO title is not read
        CorpusCase{"aiff/atldotnet/aiff.aiff", "", 3, ""},  // FORM AIFC is not AIFF
        CorpusCase{"mod/atldotnet/empty.mod", "MOD", 4, ""},
        CorpusCase{"vqf/atldotnet/vqf.vqf", "SoundVQ", 0, "Test !!"},
        CorpusCase{"vqf/atldotnet/empty.vqf", "", 3, ""}));

// Only in the shared corpus (GPL, LGPL, no licence, or a third party's copyright notice).
INSTANTIATE_TEST_SUITE_P(
    Shared, CorpusFile,
    testing::Values(
        CorpusCase{"smf/sted2-clone/B_Y_T.MID", "SMF0", 0, "B. Y. T."},
        CorpusCase{"smf/mutagen/sample.mid", "SMF1", 0, "Wikipedia MIDI (extended)"},
        CorpusCase{"rcp/recomposer-file/yuno35pr.rcp", "RCM2", 0, "急転（YU-NO この世の果てで恋を唄う少女・美月 錯乱）    by Lyzell"},
        CorpusCase{"mp3/mutagen/silence-44-s-v1.mp3", "MP3", 0, "Silence"},
        CorpusCase{"mp3/mutagen/id3v1v2-combined.mp3", "MP3", 0, "cosmic american"},
        CorpusCase{"mp3/mutagen/emptyfile.mp3", "", 3, ""},
        CorpusCase{"mp3/taglib/garbage.mp3", "", 3, ""},
        CorpusCase{"rmp/taglib/xing.rmp", "MP3/RIFF", 4, ""},
        CorpusCase{"wav/mutagen/silence-2s-PCM-16000-08-ID3v23.wav", "WAVE", 4, ""},
        CorpusCase{"wav/taglib/segfault.wav", "WAVE", 4, ""},
        CorpusCase{"aiff/taglib/noise.aif", "AIFF", 4, ""},
        CorpusCase{"mod/taglib/test.mod", "MOD", 0, "title of song"},
        CorpusCase{"mgs/msx_music_data/GSHAKA.MGS", "", 0, ""}));

}  // namespace
}  // namespace kadrel
