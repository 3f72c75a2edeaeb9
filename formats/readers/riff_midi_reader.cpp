#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"
#include "base/text_helpers.h"

namespace kadrel {

void ReadRiffMidiHeader(const ReaderInput& in, TMusicFileInfo& r) {
  if (in.Size() <= 24) {
    r.InfoState = kInfoFormatMismatch;
    return;
  }
  std::string h = in.source.Read(in.base, 24);
  if (h.compare(0, 4, "RIFF") != 0 || h.compare(8, 8, "RMIDdata") != 0 || h.compare(20, 4, "MThd") != 0)
    return;
  r.Detail = "RIFF/MID";
  const uint64_t dataSize = Le32At(h, 16).value_or(0);

  // Look for a "DISP" chunk of type 1 (plain text) after the data chunk.
  ForEachRiffWindow(in, in.base + 20 + dataSize, [&](uint64_t windowPos, const std::string& w, size_t got) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(w[i]); };
    size_t j = 4;
    while (j <= 504 && j + 8 <= got) {
      if (at(j - 1) != 'P') {
        ++j;
        continue;
      }
      if (w.compare(j - 4, 4, "DISP") != 0) {
        j += 4;
        continue;
      }
      if (at(j + 4) != 1) {
        j += 12;
        continue;
      }
      // The text is at most as long as the low byte of the size field, up to its first NUL.
      std::string text = in.source.ReadAvailable(windowPos + j + 8, at(j));
      if (size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
      r.Title = TextCleanup(text);
      return false;
    }
    return true;
  });
}

}  // namespace kadrel
