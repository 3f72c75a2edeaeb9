#include "catalog/index_record.h"

#include <cstdint>

#include "base/byte_cursor.h"
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

// A length-prefixed text: one or two little-endian length bytes, then the bytes.
bool ReadString(ByteCursor& c, std::string& out, size_t lengthBytes) {
  uint16_t n = 0;
  uint8_t short_ = 0;
  if (lengthBytes == 2 ? !c.Le16(n) : !c.U8(short_)) return false;
  if (lengthBytes == 1) n = short_;
  std::string_view bytes;
  if (!c.Bytes(n, bytes)) return false;
  out.assign(bytes);
  return true;
}

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
  AppendLe32(out, static_cast<uint32_t>(r.Size));
  AppendBe(out, r.DosDate, 2);  // the date and time are big-endian
  AppendBe(out, r.DosTime, 2);
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
  ByteCursor c(image, markerPos + 2);
  uint8_t fileType = 0, iconIndex = 0, infoState = 0, info = 0, itemKind = 0, noMacBinary = 0;
  uint32_t size = 0;
  uint16_t dosDate = 0, dosTime = 0;  // stored big-endian, unlike the size
  if (!c.U8(fileType) || !c.U8(iconIndex) || !c.U8(infoState) || !c.U8(info) || !c.U8(itemKind) ||
      !c.U8(noMacBinary) || !c.Le32(size) || !c.Be16(dosDate) || !c.Be16(dosTime))
    return std::nullopt;
  TMusicFileInfo r;
  r.FileType = fileType;
  r.IconIndex = iconIndex;
  r.InfoState = infoState;
  r.Info = info;
  r.ItemKind = itemKind;
  r.MacBinary = noMacBinary == 0 ? 1 : 0;
  r.Size = static_cast<int32_t>(size);
  r.DosDate = dosDate;
  r.DosTime = dosTime;
  if (r.FileType < kFormatCount) r.FileExt = "." + std::string(kFormatTable[r.FileType].Code);
  if (!ReadString(c, r.FileName, 1) || !ReadString(c, r.Archiver, 1) || !ReadString(c, r.Detail, 1) ||
      !ReadString(c, r.Title, 2) || !ReadString(c, r.Artist, 2) || !ReadString(c, r.Album, 2) ||
      !ReadString(c, r.Composer, 1) || !ReadString(c, r.SongWriter, 1) || !ReadString(c, r.DataMaker, 1))
    return std::nullopt;
  uint8_t terminator = 0;
  if (!c.U8(terminator)) return std::nullopt;
  if (next) *next = c.Position();
  return r;
}

}  // namespace kadrel
