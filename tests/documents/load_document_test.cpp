#include "formats/document/load_document.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kadrel {
namespace {

using Lines = std::vector<std::string>;

struct LoadCase {
  const char* name;
  std::string bytes;
  int maxLines;
  Lines expected;
};

std::ostream& operator<<(std::ostream& os, const LoadCase& c) { return os << c.name; }

class LoadDocumentTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadDocumentTest, Splits) {
  test::TempDir dir;
  const std::string path = dir.Write("DOC.TXT", GetParam().bytes);
  Lines lines{"left over"};
  ASSERT_TRUE(LoadDocument(lines, path, GetParam().maxLines));
  EXPECT_EQ(lines, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadDocumentTest,
    ::testing::Values(LoadCase{"CrLf", "a\r\nb\r\n", 30, {"a", "b"}},
                      LoadCase{"LfAndCrMixed", "a\nb\rc\r\n\r\nd", 30, {"a", "b", "c", "", "d"}},
                      LoadCase{"EmptyLinesKept", "\r\n\r\nx", 30, {"", "", "x"}},
                      LoadCase{"FirstLinesOnly", "1\r\n2\r\n3\r\n4\r\n", 2, {"1", "2"}},
                      LoadCase{"ZeroLines", "1\r\n", 0, {}},
                      LoadCase{"EmptyFile", "", 30, {}},
                      LoadCase{"EndOfFileByte", "a\r\nb\x1a" "c\r\nd\r\n", 30, {"a", "b"}},
                      LoadCase{"EndOfFileByteAtLineStart", "a\r\n\x1a", 30, {"a"}},
                      // Trail bytes are never CR, LF or 0x1A: 表 (0x95 0x5C) stays whole.
                      LoadCase{"DoubleByteKept", "\x95\x5c\r\n", 30, {"\x95\x5c"}},
                      LoadCase{"NulKept", std::string("a\0b\n", 4), 30, {std::string("a\0b", 3)}},
                      // A CR at the end of one read and its LF at the start of the next make one break.
                      LoadCase{"CrLfAcrossReadChunks", std::string(16 * 1024 - 1, 'x') + "\r\nsecond\r\n", 30,
                               {std::string(16 * 1024 - 1, 'x'), "second"}}));

TEST(LoadDocumentFileTest, MissingFileLeavesLinesAlone) {
  test::TempDir dir;
  Lines lines{"kept"};
  EXPECT_FALSE(LoadDocument(lines, dir.path() + "NONE.TXT", 30));
  EXPECT_FALSE(LoadDocument(lines, dir.path(), 30));  // a folder is not a document
  EXPECT_EQ(lines, Lines{"kept"});
}

TEST(LoadDocumentFileTest, OverlongLineIsCutAtACharacterBoundary) {
  test::TempDir dir;
  // 'x' then double-byte characters: the limit falls in the middle of one of them.
  std::string longLine = "x";
  while (longLine.size() < kDocumentMaxLineBytes + 100) longLine += "\x88\x9f";
  Lines lines;
  ASSERT_TRUE(LoadDocument(lines, dir.Write("A.TXT", longLine + "\r\nnext"), 30));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), kDocumentMaxLineBytes - 1);
  EXPECT_EQ(lines[0].back(), '\x9f');
  EXPECT_EQ(lines[1], "next");
}

TEST(LoadDocumentFileTest, BinaryWithoutLineBreaksStopsAtTheReadLimit) {
  test::TempDir dir;
  std::string bytes(kDocumentMaxReadBytes + 4096, '\x88');
  bytes += "\ntail";
  Lines lines;
  ASSERT_TRUE(LoadDocument(lines, dir.Write("BIN.TXT", bytes), 30));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_LE(lines[0].size(), kDocumentMaxLineBytes);
}

// The scan reads every document through one object: nothing of a longer document read
// before shows in the lines of the next, whichever way each comes in.
TEST(LoadDocumentFileTest, OneTextReadsDocumentsInTurn) {
  test::TempDir dir;
  const std::string longLine(40 * 1024, 'L');
  const std::string big = dir.Write("BIG.TXT", "first\r\n" + longLine + "\r\nlast");
  const std::string small = dir.Write("SMALL.TXT", "only");
  DocumentText text;
  auto lines = [&] { return Lines(text.Lines().begin(), text.Lines().end()); };

  ASSERT_TRUE(text.Load(big, 30));
  EXPECT_EQ(lines(), (Lines{"first", longLine, "last"}));
  ASSERT_TRUE(text.Load(small, 30));
  EXPECT_EQ(lines(), Lines{"only"});
  text.LoadBytes("a\r\nb", 30);
  EXPECT_EQ(lines(), (Lines{"a", "b"}));
  EXPECT_FALSE(text.Load(dir.path() + "NONE.TXT", 30));
  EXPECT_TRUE(lines().empty());
  text.LoadBytes("", 30);
  EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace kadrel
