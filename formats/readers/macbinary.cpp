#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"

namespace kadrel {
namespace {

// CRC-16/XMODEM, as the MacBinary II and III headers carry it over bytes 0..123.
uint16_t Crc16Xmodem(std::string_view data) {
  uint16_t crc = 0;
  for (unsigned char c : data) {
    crc ^= static_cast<uint16_t>(c << 8);
    for (int k = 0; k < 8; ++k) crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021) : static_cast<uint16_t>(crc << 1);
  }
  return crc;
}

}  // namespace

bool HasMacBinaryHeader(const ByteSource& source) {
  if (source.Size() < 129) return false;
  char bytes[128] = {};
  source.ReadAt(0, bytes, sizeof bytes);
  const std::string_view h(bytes, sizeof bytes);
  auto at = [&](size_t i) { return static_cast<unsigned char>(h[i]); };
  // Every version: zero bytes at 0, 74 and 82, and a file name of 1..63 bytes.
  if (at(0) != 0 || at(74) != 0 || at(82) != 0) return false;
  if (at(1) < 1 || at(1) >= 64) return false;
  bool zeroTail = true;
  for (size_t i = 100; i <= 124; ++i) zeroTail = zeroTail && at(i) == 0;
  if (zeroTail) return true;  // MacBinary I
  // MacBinary II / III: version bytes and the header CRC.
  if (at(122) < 129 || at(123) < 129) return false;
  return Crc16Xmodem(h.substr(0, 124)) == Be16At(h, 124);
}

}  // namespace kadrel
