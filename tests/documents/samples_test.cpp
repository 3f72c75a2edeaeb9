// The read-me documents of the bundled sample collection, read as the scan and the
// player preparation read them.

#include <gtest/gtest.h>

#include "formats/document/load_document.h"
#include "formats/document/read_document_info.h"
#include "formats/document/sound_module.h"
#include "base/encoding.h"

namespace kadrel {
namespace {

const std::string kSamples = std::string(KADREL_SAMPLES_DIR) + "/";

// A loose sample file read with every kind of information asked for.
TMusicFileInfo ReadSample(const char* name, const char* doc, const char* headerTitle, int titleStyle) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileExt = ".MID";
  r.FileType = 1;
  r.ItemKind = kLooseFile;
  r.DocFile = kSamples + doc;
  r.Title = Cp932(headerTitle);
  DocumentReadOptions options;
  options.TitleGetstyle = titleStyle;
  options.OthersGetstyle = kOthersArtist | kOthersComposerLyricist | kOthersDataMaker;
  DocumentText text;
  SilentMessageBox messages;
  ReadDocumentInfo("", r, options, text, {}, messages);
  return r;
}

std::string SoundModuleOf(const TMusicFileInfo& r) {
  std::vector<std::string> lines;
  EXPECT_TRUE(LoadDocument(lines, r.DocFile, kSoundModuleDocumentLines));
  const std::vector<TSmfkItem> modules = DefaultSoundModules();
  const int index = DetectSoundModule(r, lines, SoundModuleSource::Document, modules);
  return index < 0 ? "none" : modules[static_cast<size_t>(index)].Name;
}

// Title, artist, composer, lyricist, data maker and sound module, as displayed.
using Names = std::vector<std::string>;

void ExpectSample(const char* name, const char* doc, const char* headerTitle, int titleStyle, const Names& expected) {
  const TMusicFileInfo r = ReadSample(name, doc, headerTitle, titleStyle);
  EXPECT_EQ(r.InfoState, kInfoRead);
  EXPECT_EQ((Names{DisplayText(r.Title), DisplayText(r.Artist), DisplayText(r.Composer), DisplayText(r.SongWriter),
                   DisplayText(r.DataMaker), SoundModuleOf(r)}),
            expected);
}

TEST(SampleDocumentsTest, Song1) {
  ExpectSample("SONG1", "SONG1.TXT", "春の小川", 3,
               {"『春の小川』", "文部省唱歌", "高野辰之 ／ 岡野貞一", "高野辰之 ／ 岡野貞一", "ＭＩＤＩ太郎", "SC88"});
}

TEST(SampleDocumentsTest, Song2EndsWithAnEndOfFileByte) {
  ExpectSample("SONG2", "SONG2.DOC", "", 2, {"「夏の夜」 ～Summer Night～", "ｻﾝﾌﾟﾙ楽団", "山田一郎", "鈴木花子", "T.K.", "MU80"});
}

TEST(SampleDocumentsTest, PlaceholderTitleGivesWayToTheDocument) {
  const TMusicFileInfo r = ReadSample("PLACEHOLDER", "PLACEHOLDER.TXT", "untitled", 2);
  EXPECT_EQ(r.Title, "Placeholder Melody");
  EXPECT_EQ(DisplayText(r.Composer), "不明");
}

}  // namespace
}  // namespace kadrel
