#include "formats/document/line_readers.h"

#include <gtest/gtest.h>

#include "base/encoding.h"

namespace kadrel {
namespace {

using LineReader = std::optional<std::string> (*)(std::string_view);

struct ReaderCase {
  const char* name;
  LineReader reader;
  const char* line;      // UTF-8, converted to CP932
  const char* expected;  // UTF-8; nullptr = the line gives nothing
};

std::ostream& operator<<(std::ostream& os, const ReaderCase& c) { return os << c.name; }

class LineReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LineReaderTest, Reads) {
  const std::optional<std::string> got = GetParam().reader(Cp932(GetParam().line));
  if (GetParam().expected == nullptr) {
    EXPECT_FALSE(got.has_value()) << DisplayText(got.value_or(""));
  } else {
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(DisplayText(*got), GetParam().expected);
  }
}

const LineReader kTitle = ReadTitleLine, kArtist = ReadArtistLine, kMaker = ReadDataMakerLine;

INSTANTIATE_TEST_SUITE_P(
    Cases, LineReaderTest,
    ::testing::Values(ReaderCase{"BlanksAroundKeywordAndValue", kTitle, "　タイトル　：　Song Name　", "Song Name"},
                      ReaderCase{"Ascii", kTitle, "Title: abc", "abc"},
                      ReaderCase{"FullWidthCapitals", kTitle, "ＴＩＴＬＥ：abc", "abc"},
                      ReaderCase{"FullWidthSmall", kTitle, "ｔｉｔｌｅ：abc", "abc"},
                      ReaderCase{"HalfWidthKana", kTitle, "ﾀｲﾄﾙ･･･ abc", "abc"},
                      ReaderCase{"BracketsStay", kTitle, "曲名：『Song』", "『Song』"},
                      ReaderCase{"TrailingSeparatorsGo", kTitle, "曲名 = 春の歌 ；", "春の歌"},
                      ReaderCase{"EmptyValueStillFound", kTitle, "曲名：", ""},
                      ReaderCase{"FirstKeywordInTableOrderWins", kTitle, "タイトル 曲名：A", "A"},
                      ReaderCase{"SoftwareName", kTitle, "ソフト名：Player", "Player"},
                      ReaderCase{"NoKeyword", kTitle, "This is a song.", nullptr},
                      ReaderCase{"ArtistKana", kArtist, "アーティスト名：山田太郎", "山田太郎"},
                      ReaderCase{"ArtistAscii", kArtist, "Artist : The Band", "The Band"},
                      ReaderCase{"ArtistSinger", kArtist, "歌手／鈴木", "鈴木"},
                      ReaderCase{"ArtistNone", kArtist, "作曲：山田", nullptr},
                      ReaderCase{"MakerInputter", kMaker, "打ち込み：ＭＩＤＩ太郎", "ＭＩＤＩ太郎"},
                      ReaderCase{"MakerWildcard", kMaker, "データ制作：T.K.", "T.K."},
                      ReaderCase{"MakerAuthor", kMaker, "作者　-　佐藤", "佐藤"},
                      ReaderCase{"MakerNone", kMaker, "曲名：春", nullptr}));

struct ComposerCase {
  const char* name;
  const char* line;
  bool counts;
  const char* composer;
  const char* lyricist;
};

std::ostream& operator<<(std::ostream& os, const ComposerCase& c) { return os << c.name; }

class ComposerLineTest : public ::testing::TestWithParam<ComposerCase> {};

TEST_P(ComposerLineTest, Reads) {
  const ComposerCase& c = GetParam();
  ComposerLyricistLine v = ReadComposerLyricistLine(Cp932(c.line));
  EXPECT_EQ(v.counts, c.counts);
  EXPECT_EQ(DisplayText(v.composer), c.composer);
  EXPECT_EQ(DisplayText(v.lyricist), c.lyricist);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposerLineTest,
    ::testing::Values(
        ComposerCase{"WildcardName", "作曲者名：X", true, "X", ""},
        ComposerCase{"BlankInsideKeyword", "作曲 者：X", true, "X", ""},
        ComposerCase{"SharedLyricistComposer", "作詞・作曲：山田", true, "山田", "山田"},
        ComposerCase{"SharedComposerLyricist", "作曲・作詞：山田", true, "山田", "山田"},
        ComposerCase{"SharedComposerArranger", "作曲・編曲：山田", true, "山田", ""},
        ComposerCase{"ShortFormComposerArranger", "作・編曲：山田", true, "山田", ""},
        ComposerCase{"SharedLyricistArranger", "作詞／編曲：鈴木", true, "", "鈴木"},
        ComposerCase{"ComposerThenLyricist", "作曲：A　作詞：B", true, "A", "B"},
        ComposerCase{"LyricistThenComposer", "作詞：鈴木　作曲：山田", true, "山田", "鈴木"},
        ComposerCase{"ArrangerEndsComposer", "作曲：山田太郎　編曲：鈴木", true, "山田太郎", ""},
        ComposerCase{"ArrangementWordKeptOut", "作曲：山田　アレンジ：鈴木", true, "山田", ""},
        ComposerCase{"InputWordKeptOut", "作曲：山田　打ち込み：鈴木", true, "山田", ""},
        ComposerCase{"ArrangerBeforeComposer", "編曲：鈴木　作曲：山田", true, "山田", ""},
        ComposerCase{"LabelOnly", "作曲：", true, "", ""},
        ComposerCase{"ArrangerOnly", "編曲：鈴木", false, "", ""},
        ComposerCase{"NothingAtAll", "Song for you", false, "", ""}));

}  // namespace
}  // namespace kadrel
