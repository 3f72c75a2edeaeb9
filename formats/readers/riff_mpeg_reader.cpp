#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"
#include "formats/readers/id3v2.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

constexpr size_t kInfoItemLimit = 2048;

// RIFF INFO items INAM, IART and IPRD after the data chunk of an RMP3 file.
void ScanRiffInfoItems(const ReaderInput& in, uint64_t start, TMusicFileInfo& r) {
  ForEachRiffWindow(in, start, [&](uint64_t windowPos, const std::string& w, size_t got) {
    size_t j = 0;  // 0-based; the window's positions 1..504
    while (j < 504 && j < got) {
      if (w[j] != 'I') {
        ++j;
        continue;
      }
      std::string_view name(w.data() + j + 1, 3);
      if (j + 4 <= w.size() && (name == "NAM" || name == "ART" || name == "PRD")) {
        const uint32_t size = Le32At(w, j + 4).value_or(0);
        const size_t length = std::min<size_t>(size, kInfoItemLimit);
        std::string text = TextCleanup(in.source.ReadAvailable(windowPos + j + 8, length));
        if (name == "NAM") r.Title = text;
        else if (name == "ART") r.Artist = text;
        else r.Album = text;
        j += length + 4;
        continue;
      }
      if (j + 4 <= w.size() && name == "ID3") return false;
      j += 4;
    }
    return true;
  });
}

void ReadId3v1Trailer(const ReaderInput& in, TMusicFileInfo& r) {
  if (in.Size() < 128) return;
  std::string t = in.source.Read(in.Size() - 128, 128);
  if (t.compare(0, 3, "TAG") != 0) return;
  r.Title = TextCleanup(std::string_view(t).substr(3, 30));
  r.Artist = TextCleanup(std::string_view(t).substr(33, 30));
  r.Album = TextCleanup(std::string_view(t).substr(63, 30));
}

std::string RawMpegDetail(const TMusicFileInfo& r) {
  std::string ext = r.FileExt.empty() ? std::string() : r.FileExt.substr(1);
  return ToUpperAscii(ext.substr(0, 3));
}

}  // namespace

void ReadRiffMpegWaveHeader(const ReaderInput& in, TMusicFileInfo& r) {
  std::string h = in.source.Read(in.base, 20);
  auto at = [&](size_t i) { return static_cast<unsigned char>(h[i]); };
  if (h.compare(0, 4, "RIFF") == 0) {
    if (h.compare(8, 8, "RMP3data") == 0) {
      r.Detail = "MP3/RIFF";
      ScanRiffInfoItems(in, in.base + 20 + Le32At(h, 16).value_or(0), r);
    } else if (h.compare(8, 7, "WAVEfmt") == 0) {
      r.Detail = "WAVE";
    }
  } else if (h.compare(0, 4, "FORM") == 0 && h.compare(8, 4, "AIFF") == 0) {
    r.Detail = "AIFF";
  } else if (at(0) == 0xFF) {
    r.Detail = RawMpegDetail(r);
  } else if (h.compare(0, 3, "ID3") == 0) {
    // An ID3v2 tag in front of the MPEG data: skip it and read its texts.
    if (auto tag = ReadId3v2Tag(in.source, in.base)) {
      if (FindMpegFrameAfter(in.source, in.base + tag->totalSize)) {
        r.Detail = RawMpegDetail(r);
        r.Title = TextCleanup(tag->title);
        r.Artist = TextCleanup(tag->artist);
        r.Album = TextCleanup(tag->album);
      }
    }
  }
  if (r.Title.empty() && r.Artist.empty() && r.Album.empty() && !r.Detail.empty()) ReadId3v1Trailer(in, r);
  if (r.Detail.empty()) r.InfoState = kInfoFormatMismatch;
  else if (r.Title.empty()) r.InfoState = kInfoNoTitle;
}

}  // namespace kadrel
