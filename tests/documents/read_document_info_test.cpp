#include "formats/document/read_document_info.h"

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

// CP932 document text with CR LF line breaks.
std::string Document(const std::vector<const char*>& lines) {
  std::string out;
  for (const char* l : lines) out += Cp932(l) + "\r\n";
  return out;
}

class ReadDocumentInfoTest : public ::testing::Test {
 protected:
  TMusicFileInfo LooseRecord(const std::string& docPath, const char* headerTitle) {
    TMusicFileInfo r;
    r.FileName = "SONG";
    r.FileExt = ".MID";
    r.FileType = 1;
    r.ItemKind = kLooseFile;
    r.DocFile = docPath;
    r.Title = headerTitle;
    r.InfoState = headerTitle[0] ? kInfoRead : kInfoNoTitle;
    return r;
  }

  void Read(TMusicFileInfo& r, int titleStyle, int others, const std::string& folder = "") {
    DocumentReadOptions options;
    options.TitleGetstyle = titleStyle;
    options.OthersGetstyle = others;
    options.WorkFolder = work_.path();
    options.ArchiveFolder = dir_.path();
    ReadDocumentInfo(folder, r, options, text_, access_, messages_);
  }

  test::TempDir dir_;
  test::TempDir work_;
  DocumentText text_;
  DocumentArchiveAccess access_;
  SilentMessageBox messages_;
};

struct TitleCase {
  const char* name;
  std::string doc;     // CP932 document
  const char* header;  // title from the file header
  int titleStyle, others;
  const char* title;   // UTF-8
  int state;
  const char* artist;
};

std::ostream& operator<<(std::ostream& os, const TitleCase& c) { return os << c.name; }

class DocumentTitleTest : public ReadDocumentInfoTest, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(DocumentTitleTest, Reads) {
  const TitleCase& c = GetParam();
  TMusicFileInfo r = LooseRecord(dir_.Write("SONG.TXT", c.doc), c.header);
  Read(r, c.titleStyle, c.others);
  EXPECT_EQ(DisplayText(r.Title), c.title);
  EXPECT_EQ(r.InfoState, c.state);
  EXPECT_EQ(DisplayText(r.Artist), c.artist);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentTitleTest,
    ::testing::Values(
        TitleCase{"PlaceholderReplacedWithStyle2", Document({"曲名：春の歌"}), "untitled", 2, 0, "春の歌", kInfoRead, ""},
        TitleCase{"PlaceholderKeptWithStyle1", Document({"曲名：春の歌"}), "untitled", 1, 7, "untitled", kInfoRead, ""},
        TitleCase{"Style2KeepsHeaderTitle", Document({"曲名：Doc", "アーティスト：X"}), "Header", 2, 0, "Header", kInfoRead, ""},
        // With other information asked for, the document is read but the header title stays.
        TitleCase{"Style2ReadsOthers", Document({"曲名：Doc", "アーティスト：X"}), "Header", 2, kOthersArtist, "Header",
                  kInfoRead, "X"},
        TitleCase{"Style3DocumentFirst", Document({"Title: Doc"}), "Header", 3, 0, "Doc", kInfoRead, ""},
        TitleCase{"Style3FallsBackToHeader", Document({"no keywords here"}), "Header", 3, 0, "Header", kInfoRead, ""},
        TitleCase{"Style3NoTitleAnywhere", Document({"no keywords here"}), "", 3, 0, "", kInfoNoTitle, ""},
        TitleCase{"EmptyTitleLineCountsAsFound", Document({"曲名：", "Title: later"}), "", 2, 0, "", kInfoRead, ""},
        TitleCase{"OnlyTheFirst30LinesAreRead", Document(std::vector<const char*>(30, "line")) + Document({"曲名：Late"}),
                  "", 2, 0, "", kInfoNoTitle, ""}));

TEST_F(ReadDocumentInfoTest, VanishedDocumentLeavesTheHeaderValues) {
  TMusicFileInfo r = LooseRecord(dir_.path() + "GONE.TXT", "Header");
  r.Artist = "Band";
  TMusicFileInfo before = r;
  Read(r, 3, 7);
  EXPECT_EQ(r, before);
  r.Title = "untitled";
  Read(r, 2, 7);
  EXPECT_EQ(r.Title, "");
  EXPECT_EQ(r.Artist, "Band");
}

TEST_F(ReadDocumentInfoTest, NamesFromTheOtherBits) {
  const std::string doc = dir_.Write(
      "SONG.TXT", Document({"曲名：春", "アーティスト：歌う人", "作詞・作曲：山田", "作曲：別人　作詞：別人",
                            "打ち込み：ＭＩＤＩ太郎"}));
  TMusicFileInfo r = LooseRecord(doc, "");
  Read(r, 2, kOthersComposerLyricist);
  EXPECT_EQ(DisplayText(r.Composer), "山田");
  EXPECT_EQ(DisplayText(r.SongWriter), "山田");
  EXPECT_EQ(r.Artist, "");
  EXPECT_EQ(r.DataMaker, "");

  TMusicFileInfo all = LooseRecord(doc, "");
  all.Composer = "Header composer";
  Read(all, 3, kOthersArtist | kOthersComposerLyricist | kOthersDataMaker);
  EXPECT_EQ(DisplayText(all.Artist), "歌う人");
  EXPECT_EQ(all.Composer, "Header composer");
  EXPECT_EQ(DisplayText(all.SongWriter), "山田");
  EXPECT_EQ(DisplayText(all.DataMaker), "ＭＩＤＩ太郎");
}

TEST_F(ReadDocumentInfoTest, ArchiveMemberDocumentIsExtractedOnDemand) {
  std::vector<std::string> commands;
  access_.runCommand = [&](const std::string& command) {
    commands.push_back(command);
    work_.Write("disk-README.TXT", Document({"曲名：From archive"}));
  };
  access_.extractedName = [](std::string_view name) { return "disk-" + std::string(name); };
  TMusicFileInfo r = LooseRecord("README.TXT", "");
  r.ItemKind = kArchiveMember;
  r.Archiver = "SONG.LZH";
  Read(r, 2, 0, work_.path());
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], "e -n1 -gp0 -a0 \"" + dir_.path() + "SONG.LZH\" \"" + work_.path() + "\" README.TXT");
  EXPECT_EQ(r.Title, "From archive");

  // With other information asked for, the scan has extracted the documents already.
  r.Title.clear();
  Read(r, 2, kOthersArtist, work_.path());
  EXPECT_EQ(commands.size(), 1u);
  EXPECT_EQ(r.Title, "From archive");
}

TEST(DocumentExtractCommandTest, NameWithBlanksIsQuoted) {
  EXPECT_EQ(DocumentExtractCommand("/a/B.LZH", "/w/", "READ ME.TXT"), "e -n1 -gp0 -a0 \"/a/B.LZH\" \"/w/\" \"READ ME.TXT\"");
}

}  // namespace
}  // namespace kadrel
