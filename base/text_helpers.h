#pragma once
// Small text helpers shared by the readers, the scan and the lists. All work on
// bytes; Shift-JIS double-byte characters are never split.

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// Line breaks become two spaces each; leading and trailing bytes of code 0..32 are removed.
std::string TextCleanup(std::string_view text);

// The n-th (1-based) field of a comma-separated list, after trimming the list. A field
// may be quoted with double quotes ("" stands for one quote). Beyond the last field: empty.
std::string CsvField(std::string_view list, int n);
// Fields 1, 2, ... of a comma-separated list, up to the first empty one.
std::vector<std::string> CsvFields(std::string_view list);

// Name helpers. "Extension" is the text from the last "." on.
std::string NameWithoutExtension(std::string_view name);
std::string ExtensionWithDot(std::string_view name);      // ".MID", or empty
std::string ExtensionWithoutDot(std::string_view name);   // "MID", or empty
std::string MemberBaseName(std::string_view memberPath);  // text after the last "/"

// ASCII letter case. Double-byte characters are skipped whole when the text is not
// valid UTF-8, so Shift-JIS trail bytes are never changed.
std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Case-insensitive (ASCII) ordering, for sorted case-folded look-ups.
int CompareIgnoreCase(std::string_view a, std::string_view b);

// Trims bytes of code 0..32 (as TextCleanup does) from both ends.
std::string TrimBlanks(std::string_view text);

}  // namespace kadrel
