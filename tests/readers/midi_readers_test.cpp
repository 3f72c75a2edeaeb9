#include <gtest/gtest.h>

#include "readers/reader_test_util.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

// The title search stops 11 bytes before the end of the bytes read; tiny test files
// carry some filler after the title event.
const std::string kPad(12, '\0');

std::string Rmid(const std::string& smf, const std::string& after) {
  return "RIFF" + Le32Bytes(static_cast<uint32_t>(12 + smf.size() + after.size())) + "RMIDdata" +
         Le32Bytes(static_cast<uint32_t>(smf.size())) + smf + after;
}

std::string Controllers() {  // 400 bytes of controller events
  std::string events;
  for (int i = 0; i < 100; ++i) events += std::string{0, char(0xB0), 7, 100};
  return events;
}

struct MidiCase {
  const char* what;
  std::string file;
  int row, smfBytes;
  const char* detail;
  const char* title;
  int state;
};

TEST(MidiReaders, DetailTitleAndState) {
  const std::string far = Smf({Controllers() + TrackName("Far") + Controllers() + EndOfTrack()}, 0);
  const MidiCase cases[] = {
      {"one track to the end", Smf({TrackName("Hello") + kPad + EndOfTrack()}, 0), kRowMID, 300, "SMF0", "Hello", kInfoRead},
      {"second track", Smf({TrackName("A") + EndOfTrack(), EndOfTrack()}), kRowMID, 300, "SMF1", "A", kInfoRead},
      {"title in the second track does not count", Smf({EndOfTrack(), TrackName("Late") + EndOfTrack()}), kRowMID, 300,
       "SMF1", "", kInfoNoTitle},
      {"title beyond the bytes read", far, kRowMID, 300, "SMF0", "", kInfoNoTitle},
      {"title within the bytes read", far, kRowMID, 1000, "SMF0", "Far", kInfoRead},
      {"text event", Smf({TrackName("Txt", 0x01) + kPad + EndOfTrack()}, 0), kRowSTD, 300, "SMF0", "Txt", kInfoRead},
      // A declared length past the end of the data read is cut there.
      {"length past the end", Smf({std::string{0, char(0xFF), 3, char(0xF0)} + "Cut" + kPad}, 0), kRowMID, 100, "SMF0",
       "Cut", kInfoRead},
      {"blank title", Smf({TrackName("   ") + kPad + EndOfTrack()}, 0), kRowMID, 300, "SMF0", "", kInfoNoTitle},
      {"title too close to the end", Smf({TrackName("Hi") + EndOfTrack()}, 0), kRowMID, 300, "SMF0", "", kInfoNoTitle},
      {"not MThd", "RIFF....not midi", kRowMID, 300, "", "", kInfoFormatMismatch},
      {"empty", "", kRowMID, 300, "", "", kInfoFormatMismatch},
      {"no track within reach", "MThd", kRowMID, 300, "", "", kInfoFormatMismatch},
      // The whole file is longer than the MIDI data: format 1.
      {"MacBinary prefix", MacBinaryIHeader() + Smf({TrackName("Mac") + kPad + EndOfTrack()}, 0), kRowMID, 300, "SMF1",
       "Mac", kInfoRead},
      {"RIFF with a display chunk",
       Rmid(Smf({EndOfTrack()}, 0), "DISP" + Le32Bytes(4 + 9) + Le32Bytes(1) + std::string("Riff Song\0", 10)), kRowRMI,
       300, "RIFF/MID", "Riff Song", kInfoRead},
      {"RIFF without one", Rmid(Smf({EndOfTrack()}, 0), "LIST" + Le32Bytes(4) + "INFO"), kRowRMI, 300, "RIFF/MID", "",
       kInfoRead},
      {"RIFF cut short", "RIFF", kRowRMI, 300, "", "", kInfoFormatMismatch},
  };
  for (const MidiCase& c : cases) {
    const TMusicFileInfo r = ReadAs(c.file, c.row, c.smfBytes);
    EXPECT_EQ(r.Detail, c.detail) << c.what;
    EXPECT_EQ(r.Title, c.title) << c.what;
    EXPECT_EQ(r.InfoState, c.state) << c.what;
  }
  EXPECT_EQ(ReadAs(MacBinaryIHeader() + Smf({EndOfTrack()}, 0), kRowMID).MacBinary, 1);
  EXPECT_EQ(ReadAs(std::string(40, 'x'), kRowRMI).Detail, "");  // not taken for RIFF MIDI
}

}  // namespace
}  // namespace kadrel
