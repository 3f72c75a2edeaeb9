// Trimming arbitrary bytes: the result is a prefix (trailing side) or a suffix
// (leading side) of the text, and trimming again changes nothing.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/trim_marks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (MarkSet set : {MarkSet::Openers, MarkSet::Closers, MarkSet::Separators}) {
    std::string lead = TrimMarks(text, set, TrimSide::Leading);
    if (lead.size() > text.size() || text.substr(text.size() - lead.size()) != lead) __builtin_trap();
    std::string trail = TrimMarks(text, set, TrimSide::Trailing);
    if (trail.size() > text.size() || text.substr(0, trail.size()) != trail) __builtin_trap();
    if (TrimMarks(trail, set, TrimSide::Trailing) != trail) __builtin_trap();
  }
  return 0;
}
