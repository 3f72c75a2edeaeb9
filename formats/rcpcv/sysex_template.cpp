#include "formats/rcpcv/sysex_template.h"

namespace kadrel {

uint8_t RolandChecksum(std::string_view bytes) {
  unsigned sum = 0;
  for (char c : bytes) sum += uint8_t(c);
  return static_cast<uint8_t>((128 - (sum & 0x7F)) & 0x7F);
}

bool ExpandExclusiveTemplate(std::string_view tmpl, uint8_t p1, uint8_t p2, int channel, std::string& out) {
  std::string body;
  unsigned sum = 0;
  auto put = [&](uint8_t b) {
    body.push_back(static_cast<char>(b & 0x7F));
    sum += b & 0x7F;
  };
  for (char c : tmpl) {
    const uint8_t b = uint8_t(c);
    if (b == 0xF7) break;
    switch (b) {
      case 0x80: put(p1); break;
      case 0x81: put(p2); break;
      case 0x82:
        if (channel < 0) return false;
        put(static_cast<uint8_t>(channel));
        break;
      case 0x83: sum = 0; break;
      case 0x84: body.push_back(static_cast<char>((128 - (sum & 0x7F)) & 0x7F)); break;
      default:
        if (b < 0x80) put(b);
        break;
    }
  }
  if (body.empty()) return false;
  out.push_back(static_cast<char>(0xF0));
  out += body;
  out.push_back(static_cast<char>(0xF7));
  return true;
}

}  // namespace kadrel
