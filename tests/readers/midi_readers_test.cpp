#include <gtest/gtest.h>

#include "readers/reader_test_util.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

// The title search stops 11 bytes before the end of the bytes read; tiny test files
// carry some filler after the title event.
const std::string kPad(12, '\0');

TEST(StandardMidiReader, SingleTrackToTheEndIsFormat0) {
  TMusicFileInfo r = ReadAs(Smf({TrackName("Hello") + kPad + EndOfTrack()}, 0), kRowMID);
  EXPECT_EQ(r.Detail, "SMF0");
  EXPECT_EQ(r.Title, "Hello");
  EXPECT_EQ(r.InfoState, kInfoRead);
}

TEST(StandardMidiReader, SecondTrackMakesFormat1WithOrWithoutTitle) {
  EXPECT_EQ(ReadAs(Smf({TrackName("A") + EndOfTrack(), EndOfTrack()}), kRowMID).Detail, "SMF1");
  TMusicFileInfo r = ReadAs(Smf({EndOfTrack(), TrackName("Late") + EndOfTrack()}), kRowMID);
  EXPECT_EQ(r.Detail, "SMF1");
  EXPECT_EQ(r.InfoState, kInfoNoTitle);  // a title in the second track does not count
  EXPECT_EQ(r.Title, "");
}

TEST(StandardMidiReader, TitleBeyondTheSearchLengthIsNotFound) {
  std::string padding;
  for (int i = 0; i < 100; ++i) padding += std::string{0, char(0xB0), 7, 100};
  const std::string file = Smf({padding + TrackName("Far") + padding + EndOfTrack()}, 0);
  EXPECT_EQ(ReadAs(file, kRowMID, 300).InfoState, kInfoNoTitle);
  EXPECT_EQ(ReadAs(file, kRowMID, 1000).Title, "Far");
}

TEST(StandardMidiReader, TextEventAndLengthCutAtTheBytesRead) {
  EXPECT_EQ(ReadAs(Smf({TrackName("Txt", 0x01) + kPad + EndOfTrack()}, 0), kRowSTD).Title, "Txt");
  // A declared length past the end of the data read is cut there.
  std::string file = Smf({std::string{0, char(0xFF), 3, char(0xF0)} + "Cut" + kPad}, 0);
  EXPECT_EQ(ReadAs(file, kRowMID, 100).Title, "Cut");
  EXPECT_EQ(ReadAs(Smf({TrackName("   ") + kPad + EndOfTrack()}, 0), kRowMID).InfoState, kInfoNoTitle);
  // Without filler the event lies too close to the end of the data to be looked at.
  EXPECT_EQ(ReadAs(Smf({TrackName("Hi") + EndOfTrack()}, 0), kRowMID).InfoState, kInfoNoTitle);
}

TEST(StandardMidiReader, NotMThdIsAFormatMismatch) {
  TMusicFileInfo r = ReadAs("RIFF....not midi", kRowMID);
  EXPECT_EQ(r.InfoState, kInfoFormatMismatch);
  EXPECT_EQ(ReadAs("", kRowMID).InfoState, kInfoFormatMismatch);
  EXPECT_EQ(ReadAs("MThd", kRowMID).InfoState, kInfoFormatMismatch);  // no track within reach
}

TEST(StandardMidiReader, MacBinaryPrefixIsSkippedAndGivesFormat1) {
  const std::string smf = Smf({TrackName("Mac") + kPad + EndOfTrack()}, 0);
  TMusicFileInfo r = ReadAs(MacBinaryIHeader() + smf, kRowMID);
  EXPECT_EQ(r.MacBinary, 1);
  EXPECT_EQ(r.Title, "Mac");
  EXPECT_EQ(r.Detail, "SMF1");  // the whole file is longer than the MIDI data
}

std::string Rmid(const std::string& smf, const std::string& after) {
  return "RIFF" + Le32Bytes(static_cast<uint32_t>(12 + smf.size() + after.size())) + "RMIDdata" +
         Le32Bytes(static_cast<uint32_t>(smf.size())) + smf + after;
}

TEST(RiffMidiReader, DisplayChunkGivesTheTitle) {
  const std::string smf = Smf({EndOfTrack()}, 0);
  const std::string disp = "DISP" + Le32Bytes(4 + 9) + Le32Bytes(1) + std::string("Riff Song\0", 10);
  TMusicFileInfo r = ReadAs(Rmid(smf, disp), kRowRMI);
  EXPECT_EQ(r.Detail, "RIFF/MID");
  EXPECT_EQ(r.Title, "Riff Song");
  EXPECT_EQ(r.InfoState, kInfoRead);
}

TEST(RiffMidiReader, WithoutDisplayChunkStateStaysRead) {
  TMusicFileInfo r = ReadAs(Rmid(Smf({EndOfTrack()}, 0), "LIST" + Le32Bytes(4) + "INFO"), kRowRMI);
  EXPECT_EQ(r.Detail, "RIFF/MID");
  EXPECT_EQ(r.Title, "");
  EXPECT_EQ(r.InfoState, kInfoRead);
  EXPECT_EQ(ReadAs("RIFF", kRowRMI).InfoState, kInfoFormatMismatch);
  EXPECT_EQ(ReadAs(std::string(40, 'x'), kRowRMI).Detail, "");
}

}  // namespace
}  // namespace kadrel
