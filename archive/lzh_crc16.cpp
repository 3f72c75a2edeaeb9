#include <array>
#include <cstdint>
#include <cstddef>

#include "archive/lzh_archive.h"

namespace kadrel {
namespace {

constexpr std::array<uint16_t, 256> MakeTable() {
  std::array<uint16_t, 256> t{};
  for (unsigned i = 0; i < 256; ++i) {
    uint16_t c = static_cast<uint16_t>(i);
    for (int k = 0; k < 8; ++k) c = (c & 1) ? static_cast<uint16_t>((c >> 1) ^ 0xA001) : static_cast<uint16_t>(c >> 1);
    t[i] = c;
  }
  return t;
}

constexpr auto kTable = MakeTable();

}  // namespace

uint16_t LzhCrc16(const void* data, size_t size, uint16_t crc) {
  auto p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ kTable[(crc ^ p[i]) & 0xFF]);
  return crc;
}

}  // namespace kadrel
