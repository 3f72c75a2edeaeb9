#include "cli/text_width.h"

#include <cstdint>

namespace kadrel::cli {

// East Asian wide and full-width characters take two cells.
size_t DisplayWidth(const std::string& s) {
  size_t width = 0;
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = c;
    size_t len = 1;
    if (c >= 0xF0) { len = 4; cp = c & 0x07; }
    else if (c >= 0xE0) { len = 3; cp = c & 0x0F; }
    else if (c >= 0xC0) { len = 2; cp = c & 0x1F; }
    for (size_t k = 1; k < len && i + k < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
                      (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                      (cp >= 0xFFE0 && cp <= 0xFFE6) || cp >= 0x20000;
    width += wide ? 2 : 1;
  }
  return width;
}

// Cuts text to at most `max` cells.
std::string FitWidth(const std::string& s, size_t max) {
  if (DisplayWidth(s) <= max) return s;
  std::string out;
  for (size_t i = 0; i < s.size();) {
    size_t len = 1;
    auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
    std::string next = out + s.substr(i, len);
    if (DisplayWidth(next) > max - 1) break;
    out = next;
    i += len;
  }
  return out + "…";
}

}  // namespace kadrel::cli
