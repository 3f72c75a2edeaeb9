#pragma once
// Locale-aware text order for the lists: Japanese collation of the displayed text.
// Two texts compare as their keys compare byte by byte, so a list can be sorted by
// keys computed once per entry.

#include <string>
#include <string_view>

namespace kadrel {

// Collation key of a text (bytes as stored: UTF-8 or CP932, decoded as DisplayText
// does). Compare keys with operator< / compare(); equal keys mean equal texts for the
// collation. Safe to call from several threads.
std::string CollationKey(std::string_view bytes);
// The same key appended to `out` (for keys kept one after another in one buffer).
void AppendCollationKey(std::string_view bytes, std::string& out);

// Same as comparing the two keys: negative, 0 or positive.
int CollateTexts(std::string_view a, std::string_view b);

}  // namespace kadrel
