#pragma once
// The bracket and separator characters trimmed around a value read from a document,
// as CP932 bytes. Each set has a double-byte part (a run of two-byte characters) and a
// single-byte part.

#include <string_view>

#include "base/trim_marks.h"

namespace kadrel {

struct MarkSetBytes {
  std::string_view doubleByte;  // two bytes per character
  std::string_view singleByte;  // one byte per character
};

const MarkSetBytes& MarkSetFor(MarkSet set);

}  // namespace kadrel
