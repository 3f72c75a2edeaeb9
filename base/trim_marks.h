#pragma once
// Trimming of brackets, separators and blanks around a value read from a document.

#include <string>
#include <string_view>

namespace kadrel {

enum class MarkSet { Openers = 1, Closers = 2, Separators = 3 };
enum class TrimSide { Leading, Trailing };

// Removes characters of the mark set, tabs, spaces and full-width spaces from one side
// of a Shift-JIS text, whole characters at a time.
std::string TrimMarks(std::string_view text, MarkSet set, TrimSide side);

}  // namespace kadrel
