#pragma once
// Keyword search in Shift-JIS text. Works on bytes, never splits a double-byte
// character, and can compare letters without regard to case (one-byte letters and
// full-width small letters), skip blanks and line breaks inside a match, and take "?"
// as a wildcard for one character.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kadrel {

enum KeywordFlag : unsigned {
  kKeywordExactCase = 1,       // letters must match exactly
  kKeywordSkipLineBreaks = 2,  // LF and CR inside a match are skipped
  kKeywordSkipBlanks = 4,      // tab, space and the full-width space inside a match are skipped
  kKeywordWildcard = 8,        // "?" after the first matched character stands for any one character
};

// The document readers search with blanks skipped and wildcards on.
inline constexpr unsigned kDocumentKeywordFlags = kKeywordSkipBlanks | kKeywordWildcard;

struct KeywordMatch {
  int32_t start = 0;   // byte offset of the match in the text
  int32_t length = 0;  // text bytes the match covers, skipped blanks included
  bool found = false;

  int32_t end() const { return start + length; }
};

// The first match of `keyword` in `text`.
KeywordMatch FindKeyword(std::string_view keyword, std::string_view text, unsigned flags);

enum class KeywordAttempt {
  Matched,
  Failed,     // this start does not match
  TextEnded,  // the text ended inside the match: no later start can match either
};

// One attempt at the character boundary `start` (< text.size()) of a non-empty
// keyword; on a match `end` is the offset just after it. FindKeyword is the first
// start that matches, before any attempt that ran out of text.
KeywordAttempt TryKeywordAt(std::string_view keyword, std::string_view text, size_t start, unsigned flags,
                            size_t& end);

}  // namespace kadrel
