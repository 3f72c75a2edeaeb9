#include <gtest/gtest.h>

#include "base/encoding.h"
#include "readers/reader_test_util.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

const std::string kFrame = std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\0');

std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album) {
  auto field = [](std::string s) {
    s.resize(30, '\0');
    return s;
  };
  return "TAG" + field(title) + field(artist) + field(album) + std::string(35, '\0');
}

std::string SyncSafe(uint32_t n) { return {char((n >> 21) & 0x7F), char((n >> 14) & 0x7F), char((n >> 7) & 0x7F), char(n & 0x7F)}; }

std::string Id3v2(int version, const std::string& frames, char flags = 0) {
  return std::string("ID3") + char(version) + '\0' + flags + SyncSafe(static_cast<uint32_t>(frames.size())) + frames;
}

std::string Frame(int version, const std::string& id, const std::string& payload) {
  if (version == 2) {
    uint32_t n = static_cast<uint32_t>(payload.size());
    return id + std::string{char(n >> 16), char(n >> 8), char(n)} + payload;
  }
  const std::string size = version == 4 ? SyncSafe(static_cast<uint32_t>(payload.size())) : Be32Bytes(static_cast<uint32_t>(payload.size()));
  return id + size + std::string(2, '\0') + payload;
}

TEST(MpegReader, RawFrameWithAndWithoutId3v1Trailer) {
  TMusicFileInfo r = ReadAs(kFrame + kFrame + Id3v1("Night", "Band", "LP"), kRowMP3, 300, ".mp3");
  EXPECT_EQ(r.Detail, "MP3");
  EXPECT_EQ(r.Title, "Night");
  EXPECT_EQ(r.Artist, "Band");
  EXPECT_EQ(r.Album, "LP");
  TMusicFileInfo bare = ReadAs(kFrame + kFrame, kRowMP2, 300, ".mp2");
  EXPECT_EQ(bare.Detail, "MP2");
  EXPECT_EQ(bare.InfoState, kInfoNoTitle);
}

TEST(MpegReader, Id3v2TagInFrontIsSkippedAndRead) {
  // v2.3 with a UTF-16 title and a Latin-1 frame that actually holds CP932 bytes.
  const std::string sjisArtist = Cp932("歌手");
  std::string utf16Title = "\x01\xFF\xFE";
  for (char16_t c : std::u16string(u"夜明け")) utf16Title += std::string{char(c & 0xFF), char(c >> 8)};
  std::string tag = Id3v2(3, Frame(3, "TIT2", utf16Title) + Frame(3, "TPE1", std::string(1, '\0') + sjisArtist) +
                                 Frame(3, "TALB", std::string("\x03", 1) + "Album ü") + std::string(32, '\0'));
  TMusicFileInfo r = ReadAs(tag + kFrame + kFrame, kRowMP3, 300, ".mp3");
  EXPECT_EQ(r.Detail, "MP3");
  EXPECT_EQ(r.Title, "\x96\xE9\x96\xBE\x82\xAF");  // 夜明け in CP932
  EXPECT_EQ(r.Artist, sjisArtist);
  EXPECT_EQ(r.Album, "Album \xC3\xBC");  // no CP932 form: kept as UTF-8
  EXPECT_EQ(r.InfoState, kInfoRead);
}

TEST(MpegReader, Id3v2VersionsAndFallbackToTheTrailer) {
  const std::string v22 = Id3v2(2, Frame(2, "TT2", std::string("\0Old", 4)));
  EXPECT_EQ(ReadAs(v22 + kFrame, kRowMP3).Title, "Old");
  const std::string v24 = Id3v2(4, Frame(4, "TIT2", std::string("\x03New", 4)));
  EXPECT_EQ(ReadAs(v24 + kFrame, kRowMP3).Title, "New");
  // A tag without text frames: the ID3v1 trailer still gives the title.
  const std::string empty = Id3v2(3, std::string(16, '\0'));
  EXPECT_EQ(ReadAs(empty + kFrame + Id3v1("Trailer", "", ""), kRowMP3).Title, "Trailer");
  // A tag with no MPEG data after it is not an MPEG file.
  EXPECT_EQ(ReadAs(v24 + std::string(64, 'x'), kRowMP3).InfoState, kInfoFormatMismatch);
}

TEST(MpegReader, TruncatedOrHostileTagsStayInBounds) {
  EXPECT_EQ(ReadAs("ID3\x03", kRowMP3).InfoState, kInfoFormatMismatch);
  // A frame that claims more bytes than the tag holds.
  std::string tag = Id3v2(3, std::string("TIT2\x7F\xFF\xFF\xFF\0\0", 10));
  EXPECT_EQ(ReadAs(tag + kFrame, kRowMP3).Detail, "MP3");
}

TEST(WaveAiffRiffReaders, DetailsInfoItemsAndTrailer) {
  const std::string wave = "RIFF" + Le32Bytes(40) + "WAVEfmt " + std::string(40, '\0');
  EXPECT_EQ(ReadAs(wave, kRowWAV).Detail, "WAVE");
  EXPECT_EQ(ReadAs(wave, kRowWAV).InfoState, kInfoNoTitle);
  EXPECT_EQ(ReadAs(wave + Id3v1("Wav Title", "", ""), kRowWAV).Title, "Wav Title");
  EXPECT_EQ(ReadAs("FORM" + Be32Bytes(30) + "AIFFCOMM" + std::string(30, '\0'), kRowAIF).Detail, "AIFF");
  EXPECT_EQ(ReadAs("FORM" + Be32Bytes(30) + "AIFC" + std::string(30, '\0'), kRowAIF).InfoState, kInfoFormatMismatch);

  const std::string data = kFrame;
  const std::string info = "LIST" + Le32Bytes(40) + "INFO" + "INAM" + Le32Bytes(5) + std::string("Rmp3\0", 5) + "IART" +
                           Le32Bytes(4) + "Duo!";
  const std::string rmp = "RIFF" + Le32Bytes(0) + "RMP3data" + Le32Bytes(static_cast<uint32_t>(data.size())) + data + info;
  TMusicFileInfo r = ReadAs(rmp + Id3v1("Ignored", "", ""), kRowRMP);
  EXPECT_EQ(r.Detail, "MP3/RIFF");
  EXPECT_EQ(r.Title, "Rmp3");
  EXPECT_EQ(r.Artist, "Duo!");
}

}  // namespace
}  // namespace kadrel
