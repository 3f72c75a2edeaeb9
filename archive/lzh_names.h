#pragma once
// Member names of LZH archives: raw CP932 bytes, "/" between folders. Splitting,
// comparison and wildcard matching are Shift-JIS aware (a trail byte is never taken
// for "/", "\", "*", "?" or a letter), and ASCII letters compare without regard to case.
// Every part of the program that matches member names uses these helpers, so that
// listing, presence checks, extraction and renaming agree.

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// Index of the last "/" (and, when alsoBackslash, "\") that is not a trail byte; npos if none.
size_t LastMemberSeparator(std::string_view path, bool alsoBackslash = false);

// Replaces every separator byte "\" (outside double-byte characters) with "/".
std::string NormalizeMemberSeparators(std::string_view path);

// The text after the last "/" of a member path (the whole path when there is none).
std::string LzhBaseName(std::string_view memberPath);

// ASCII-case-insensitive equality that never folds a trail byte.
bool MemberNamesEqual(std::string_view a, std::string_view b);

// One wildcard pattern ("*" any run, "?" one character, a double-byte character
// counting as one) against one name. "*.*" matches every name, with or without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Splits a wildcard text at blanks; a pattern in double quotes may contain blanks.
std::vector<std::string> SplitWildcardText(std::string_view text);

// True when `pattern` matches the member. A pattern without "/" or "\" is matched
// against the member's base name only; one with a folder part against the whole path.
bool MemberMatchesPattern(std::string_view pattern, std::string_view memberPath);
bool MemberMatchesAny(const std::vector<std::string>& patterns, std::string_view memberPath);

// The on-disk (UTF-8) name under which an extracted member with this CP932 base name
// is stored. Every caller that needs the path of an extracted member builds it with
// this helper: destination folder + ExtractedFileName(base name).
// CP932 characters become UTF-8; bytes that do not decode and control bytes
// (0x00-0x1F, 0x7F) are written as %XX (upper-case hex).
// Returns an empty string when no file may be written for the name: empty, ".", "..",
// containing "/", or longer than 255 bytes once converted.
std::string ExtractedFileName(std::string_view cp932BaseName);

}  // namespace kadrel
