#include "catalog/index_record.h"

#include <cstdint>

#include "base/encoding.h"
#include "catalog/format_table.h"

namespace kadrel {

namespace {

void PutByte(std::string& out, int32_t v) { out.push_back(static_cast<char>(v & 0xFF)); }

void PutString(std::string& out, std::string_view text, size_t lengthBytes) {
  const size_t maximum = lengthBytes == 1 ? 0xFF : 0xFFFF;
  std::string_view fitted = FitToLength(text, maximum);
  PutByte(out, static_cast<int32_t>(fitted.size() & 0xFF));
  if (lengthBytes == 2) PutByte(out, static_cast<int32_t>(fitted.size() >> 8));
  out.append(fitted);
}

// Bounds-checked cursor over the image.
class Cursor {
 public:
  Cursor(std::string_view bytes, size_t pos) : bytes_(bytes), pos_(pos) {}
  bool Byte(uint8_t* v) {
    if (pos_ >= bytes_.size()) return false;
    *v = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool String(std::string* out, size_t lengthBytes) {
    uint8_t lo = 0, hi = 0;
    if (!Byte(&lo)) return false;
    if (lengthBytes == 2 && !Byte(&hi)) return false;
    const size_t n = lo | (static_cast<size_t>(hi) << 8);
    if (n > bytes_.size() - pos_) return false;
    out->assign(bytes_.substr(pos_, n));
    pos_ += n;
    return true;
  }
  size_t Pos() const { return pos_; }

 private:
  std::string_view bytes_;
  size_t pos_;
};

size_t Utf8Boundary(std::string_view text, size_t maximum) {
  size_t cut = maximum;
  // Step back over continuation bytes (10xxxxxx) to the start of a character.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

size_t SjisBoundary(std::string_view text, size_t maximum) {
  size_t i = 0;
  while (i < maximum) {
    const size_t step = IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + step > maximum) break;
    i += step;
  }
  return i;
}

}  // namespace

std::string_view FitToLength(std::string_view text, size_t maximum) {
  if (text.size() <= maximum) return text;
  const bool utf8 = !IsAscii(text) && IsValidUtf8(text);
  return text.substr(0, utf8 ? Utf8Boundary(text, maximum) : SjisBoundary(text, maximum));
}

std::string EncodeIndexRecord(const TMusicFileInfo& r) {
  std::string out;
  out.reserve(40 + r.FileName.size() + r.Archiver.size() + r.Detail.size() + r.Title.size() +
              r.Artist.size() + r.Album.size() + r.Composer.size() + r.SongWriter.size() +
              r.DataMaker.size());
  out.push_back(static_cast<char>(kRecordMarker0));
  out.push_back(static_cast<char>(kRecordMarker1));
  PutByte(out, r.FileType);
  PutByte(out, r.IconIndex);
  PutByte(out, r.InfoState);
  PutByte(out, r.Info);
  PutByte(out, r.ItemKind);
  PutByte(out, r.MacBinary == 0 ? 1 : 0);
  const uint32_t size = static_cast<uint32_t>(r.Size);
  for (int shift = 0; shift < 32; shift += 8) PutByte(out, static_cast<int32_t>(size >> shift));
  PutByte(out, r.DosDate >> 8);
  PutByte(out, r.DosDate);
  PutByte(out, r.DosTime >> 8);
  PutByte(out, r.DosTime);
  PutString(out, r.FileName, 1);
  PutString(out, r.Archiver, 1);
  PutString(out, r.Detail, 1);
  PutString(out, r.Title, 2);
  PutString(out, r.Artist, 2);
  PutString(out, r.Album, 2);
  PutString(out, r.Composer, 1);
  PutString(out, r.SongWriter, 1);
  PutString(out, r.DataMaker, 1);
  out.push_back('\0');
  return out;
}

std::optional<TMusicFileInfo> DecodeIndexRecord(std::string_view image, size_t markerPos, size_t* next) {
  if (markerPos > image.size() || image.size() - markerPos < 2 ||
      static_cast<unsigned char>(image[markerPos]) != kRecordMarker0 ||
      static_cast<unsigned char>(image[markerPos + 1]) != kRecordMarker1)
    return std::nullopt;
  Cursor c(image, markerPos + 2);
  uint8_t fixed[14];
  for (uint8_t& b : fixed)
    if (!c.Byte(&b)) return std::nullopt;
  TMusicFileInfo r;
  r.FileType = fixed[0];
  r.IconIndex = fixed[1];
  r.InfoState = fixed[2];
  r.Info = fixed[3];
  r.ItemKind = fixed[4];
  r.MacBinary = fixed[5] == 0 ? 1 : 0;
  r.Size = static_cast<int32_t>(fixed[6] | (uint32_t{fixed[7]} << 8) | (uint32_t{fixed[8]} << 16) |
                                (uint32_t{fixed[9]} << 24));
  r.DosDate = static_cast<uint16_t>((fixed[10] << 8) | fixed[11]);
  r.DosTime = static_cast<uint16_t>((fixed[12] << 8) | fixed[13]);
  if (r.FileType < kFormatCount) r.FileExt = "." + std::string(kFormatTable[r.FileType].Code);
  if (!c.String(&r.FileName, 1) || !c.String(&r.Archiver, 1) || !c.String(&r.Detail, 1) ||
      !c.String(&r.Title, 2) || !c.String(&r.Artist, 2) || !c.String(&r.Album, 2) ||
      !c.String(&r.Composer, 1) || !c.String(&r.SongWriter, 1) || !c.String(&r.DataMaker, 1))
    return std::nullopt;
  uint8_t terminator = 0;
  if (!c.Byte(&terminator)) return std::nullopt;
  if (next) *next = c.Pos();
  return r;
}

}  // namespace kadrel
