#include "catalog/format_table.h"

#include "base/text_helpers.h"

namespace kadrel {

const std::array<TFileTypeInfo, kFormatCount> kFormatTable = {{
    {"MGS", 7, 8, ReaderKind::MgsScript},
    {"MID", 1, 2, ReaderKind::StandardMidi},
    {"STD", 1, 2, ReaderKind::StandardMidi},
    {"MFF", 1, 2, ReaderKind::StandardMidi},
    {"RMI", 1, 2, ReaderKind::RiffMidi},
    {"RCP", 3, 4, ReaderKind::Recomposer2},
    {"R36", 3, 4, ReaderKind::Recomposer2},
    {"G18", 5, 6, ReaderKind::Recomposer3},
    {"G36", 5, 6, ReaderKind::Recomposer3},
    {"MP3", 9, 10, ReaderKind::RiffMpegWaveAiff},
    {"MP2", 9, 10, ReaderKind::RiffMpegWaveAiff},
    {"RMP", 9, 10, ReaderKind::RiffMpegWaveAiff},
    {"MOD", 11, 12, ReaderKind::Mod},
    {"VQF", 13, 14, ReaderKind::TwinVq},
    {"MPL", 15, 15, ReaderKind::PlayList},
    {"WAV", 9, 10, ReaderKind::RiffMpegWaveAiff},
    {"AIF", 9, 10, ReaderKind::RiffMpegWaveAiff},
}};

int FormatRowForFileName(std::string_view fileName) {
  std::string ext = ToUpperAscii(ExtensionWithDot(fileName));
  for (int row = 0; row < kFormatCount; ++row) {
    if (ext.size() == kFormatTable[row].Code.size() + 1 && ext[0] == '.' &&
        std::string_view(ext).substr(1) == kFormatTable[row].Code)
      return row;
  }
  return kNoFormatRow;
}

int FormatRowForMemberExtension(std::string_view extensionWithoutDot) {
  std::string ext = ToUpperAscii(extensionWithoutDot);
  for (int row = 0; row < kFormatCount; ++row) {
    if (row == kRowMPL) continue;
    if (ext == kFormatTable[row].Code) return row;
  }
  return -1;
}

int FormatRowForCode(std::string_view code) {
  std::string up = ToUpperAscii(code);
  for (int row = 0; row < kFormatCount; ++row)
    if (up == kFormatTable[row].Code) return row;
  return -1;
}

int32_t IconIndexFor(int formatRow, int32_t info) {
  if (formatRow < 0 || formatRow >= kFormatCount) return 0;
  return info != 0 ? kFormatTable[formatRow].LyricsImage : kFormatTable[formatRow].PlainImage;
}

}  // namespace kadrel
