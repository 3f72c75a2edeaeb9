#pragma once
// The fixed table of the 17 music formats. A row number is a format's identity in
// records, index files, play-list files, player slots and settings masks.

#include <array>
#include <cstdint>
#include <string_view>

#include "catalog/music_file_info.h"

namespace kadrel {

enum class ReaderKind : int32_t {
  PlayList = -1,
  MgsScript = 0,
  StandardMidi = 1,
  RiffMidi = 2,
  Recomposer2 = 3,
  Recomposer3 = 4,
  RiffMpegWaveAiff = 5,
  Mod = 6,
  TwinVq = 7,
};

enum FormatRow : int32_t {
  kRowMGS = 0, kRowMID, kRowSTD, kRowMFF, kRowRMI, kRowRCP, kRowR36, kRowG18, kRowG36,
  kRowMP3, kRowMP2, kRowRMP, kRowMOD, kRowVQF, kRowMPL, kRowWAV, kRowAIF,
};

inline constexpr int kFormatCount = 17;
inline constexpr int kNoFormatRow = 17;  // loose file whose extension matches no code
inline constexpr uint32_t kDefaultFormatMask = 0xFFFFE;  // every row but MGS
inline constexpr int32_t kFolderImage = 16;  // image list: 0 parent, 1..15 formats, folder last

struct TFileTypeInfo {
  std::string_view Code;
  int32_t PlainImage;
  int32_t LyricsImage;
  ReaderKind Reader;
};

extern const std::array<TFileTypeInfo, kFormatCount> kFormatTable;
static_assert(kFormatTable.size() == 17);

// Enabled flags of the rows ("FTypeInfo": bit n enables row n).
class FormatFilter {
 public:
  explicit FormatFilter(uint32_t mask = kDefaultFormatMask) : mask_(mask) {}
  bool Enabled(int row) const { return row >= 0 && row < kFormatCount && ((mask_ >> row) & 1); }
  uint32_t Mask() const { return mask_; }

 private:
  uint32_t mask_;
};

// Loose file: upper-cased extension (with dot) against "." + code, first row wins; 17 when none.
int FormatRowForFileName(std::string_view fileName);
// Archive member: extension without dot against each code but row 14; -1 when none.
int FormatRowForMemberExtension(std::string_view extensionWithoutDot);
// Row of a format code ("MID"), any letter case; -1 when none.
int FormatRowForCode(std::string_view code);

// Image of a file row: the lyrics image when companion bits are set.
int32_t IconIndexFor(int formatRow, int32_t info);

}  // namespace kadrel
