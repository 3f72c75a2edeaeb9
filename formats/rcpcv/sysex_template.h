#pragma once
// Exclusive templates as Recomposer stores them: literal data bytes plus the codes
// 80 (first parameter), 81 (second parameter), 82 (channel), 83 (start the checksum),
// 84 (checksum) and F7 (end).

#include <cstdint>
#include <string>
#include <string_view>

namespace kadrel {

// Roland checksum of a byte run: the value that brings the 7-bit sum to 0.
uint8_t RolandChecksum(std::string_view bytes);

// Appends F0, the expanded template and F7 to out. channel is 0-15, or -1 on a track
// without output. Returns false (out unchanged) when there is nothing to send: an empty
// template, or a channel code on a track without output. Literal bytes above 7F other
// than the codes are left out so that the message stays valid.
bool ExpandExclusiveTemplate(std::string_view tmpl, uint8_t p1, uint8_t p2, int channel, std::string& out);

}  // namespace kadrel
