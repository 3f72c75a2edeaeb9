// The read-me documents of the bundled sample collection, read as the scan and the
// player preparation read them.

#include <gtest/gtest.h>

#include "core/document/load_document.h"
#include "core/document/read_document_info.h"
#include "core/document/sound_module.h"
#include "core/encoding.h"

namespace kadrel {
namespace {

const std::string kSamples = std::string(KADREL_SAMPLES_DIR) + "/";

TMusicFileInfo SampleRecord(const char* name, const char* doc, const char* headerTitle) {
  TMusicFileInfo r;
  r.FileName = name;
  r.FileExt = ".MID";
  r.FileType = 1;
  r.ItemKind = kLooseFile;
  r.DocFile = kSamples + doc;
  r.Title = Cp932(headerTitle);
  return r;
}

struct Texts {
  std::string title, artist, composer, lyricist, maker;
};

Texts Display(const TMusicFileInfo& r) {
  return {DisplayText(r.Title), DisplayText(r.Artist), DisplayText(r.Composer), DisplayText(r.SongWriter),
          DisplayText(r.DataMaker)};
}

void ReadAll(TMusicFileInfo& r, int titleStyle) {
  DocumentReadOptions options;
  options.TitleGetstyle = titleStyle;
  options.OthersGetstyle = kOthersArtist | kOthersComposerLyricist | kOthersDataMaker;
  std::vector<std::string> lines;
  SilentMessageBox messages;
  ReadDocumentInfo("", r, options, lines, {}, messages);
}

std::string SoundModuleOf(const TMusicFileInfo& r) {
  std::vector<std::string> lines;
  EXPECT_TRUE(LoadDocument(lines, r.DocFile, kSoundModuleDocumentLines));
  const std::vector<TSmfkItem> modules = DefaultSoundModules();
  const int index = DetectSoundModule(r, lines, SoundModuleSource::Document, modules);
  return index < 0 ? "none" : modules[static_cast<size_t>(index)].Name;
}

TEST(SampleDocumentsTest, Song1) {
  TMusicFileInfo r = SampleRecord("SONG1", "SONG1.TXT", "春の小川");
  ReadAll(r, 3);
  Texts t = Display(r);
  EXPECT_EQ(t.title, "『春の小川』");
  EXPECT_EQ(t.artist, "文部省唱歌");
  EXPECT_EQ(t.composer, "高野辰之 ／ 岡野貞一");
  EXPECT_EQ(t.lyricist, "高野辰之 ／ 岡野貞一");
  EXPECT_EQ(t.maker, "ＭＩＤＩ太郎");
  EXPECT_EQ(SoundModuleOf(r), "SC88");
}

TEST(SampleDocumentsTest, Song2EndsWithAnEndOfFileByte) {
  TMusicFileInfo r = SampleRecord("SONG2", "SONG2.DOC", "");
  ReadAll(r, 2);
  Texts t = Display(r);
  EXPECT_EQ(t.title, "「夏の夜」 ～Summer Night～");
  EXPECT_EQ(r.InfoState, kInfoRead);
  EXPECT_EQ(t.artist, "ｻﾝﾌﾟﾙ楽団");
  EXPECT_EQ(t.composer, "山田一郎");
  EXPECT_EQ(t.lyricist, "鈴木花子");
  EXPECT_EQ(t.maker, "T.K.");
  EXPECT_EQ(SoundModuleOf(r), "MU80");
}

TEST(SampleDocumentsTest, PlaceholderTitleGivesWayToTheDocument) {
  TMusicFileInfo r = SampleRecord("PLACEHOLDER", "PLACEHOLDER.TXT", "untitled");
  ReadAll(r, 2);
  EXPECT_EQ(r.Title, "Placeholder Melody");
  EXPECT_EQ(DisplayText(r.Composer), "不明");
}

}  // namespace
}  // namespace kadrel
