#include "formats/document/find_keyword.h"

#include <array>

#include "base/encoding.h"

namespace kadrel {
namespace {

// a..z -> A..Z, every other byte unchanged.
constexpr std::array<unsigned char, 256> kUpperTable = [] {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 0x20 : i);
  return t;
}();

// Second bytes of the full-width small letters (0x82 0x81..0x9A) -> those of the
// capitals (0x82 0x60..0x79); every other second byte unchanged.
constexpr std::array<unsigned char, 256> kFullWidthCapitalTable = [] {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i >= 0x81 && i <= 0x9A ? i - 0x21 : i);
  return t;
}();

constexpr unsigned char kFullWidthLetterLead = 0x82;

inline size_t CharLength(std::string_view s, size_t i) {
  return (IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

inline unsigned char Byte(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

// Compares the keyword character at k (length kLen) with the text character at t
// (length tLen).
inline bool CharsEqual(std::string_view keyword, size_t k, size_t kLen, std::string_view text, size_t t,
                       size_t tLen, bool exact) {
  if (kLen != tLen) return false;
  if (exact) return keyword[k] == text[t] && (kLen == 1 || keyword[k + 1] == text[t + 1]);
  if (kLen == 1) return kUpperTable[Byte(keyword, k)] == kUpperTable[Byte(text, t)];
  if (Byte(keyword, k) != Byte(text, t)) return false;
  unsigned char second = Byte(text, t + 1);
  if (Byte(text, t) == kFullWidthLetterLead) second = kFullWidthCapitalTable[second];
  return Byte(keyword, k + 1) == second;
}

// A quick necessary condition: the bytes of the keyword's first character (or, when
// letters compare without regard to case, one of their case forms) occur somewhere in
// the text. Most keywords are absent from most lines, and a byte search rules them out
// without walking the characters.
bool MayStartSomewhere(std::string_view keyword, size_t firstLen, std::string_view text, bool exact) {
  const unsigned char k0 = Byte(keyword, 0);
  if (firstLen == 1) {
    const unsigned char upper = kUpperTable[k0];
    if (!exact && upper >= 'A' && upper <= 'Z')
      return text.find(static_cast<char>(upper)) != std::string_view::npos ||
             text.find(static_cast<char>(upper + 0x20)) != std::string_view::npos;
    return text.find(static_cast<char>(k0)) != std::string_view::npos;
  }
  const unsigned char k1 = Byte(keyword, 1);
  // A full-width capital also matches the small letter in the text.
  if (!exact && k0 == kFullWidthLetterLead && k1 >= 0x60 && k1 <= 0x79) return true;
  return text.find(keyword.substr(0, 2)) != std::string_view::npos;
}

}  // namespace

KeywordAttempt TryKeywordAt(std::string_view keyword, std::string_view text, size_t s, unsigned flags,
                            size_t& end) {
  const bool exact = (flags & kKeywordExactCase) != 0;
  const bool skipBreaks = (flags & kKeywordSkipLineBreaks) != 0;
  const bool skipBlanks = (flags & kKeywordSkipBlanks) != 0;
  const bool wildcard = (flags & kKeywordWildcard) != 0;
  const size_t firstLen = CharLength(keyword, 0);
  // The first character must match as it is (a leading "?" is a plain "?").
  if (!CharsEqual(keyword, 0, firstLen, text, s, CharLength(text, s), exact)) return KeywordAttempt::Failed;
  size_t i = firstLen;
  size_t t = s + CharLength(text, s);
  while (i < keyword.size()) {
    if (t >= text.size()) return KeywordAttempt::TextEnded;
    const size_t kLen = CharLength(keyword, i);
    const size_t tLen = CharLength(text, t);
    if (CharsEqual(keyword, i, kLen, text, t, tLen, exact)) {
      i += kLen;
      t += tLen;
      continue;
    }
    const char c = text[t];
    if (skipBreaks && (c == '\n' || c == '\r')) {
      ++t;
    } else if (skipBlanks && (c == ' ' || c == '\t')) {
      ++t;
    } else if (skipBlanks && tLen == 2 && Byte(text, t) == 0x81 && Byte(text, t + 1) == 0x40) {
      t += 2;
    } else if (wildcard && keyword[i] == '?') {
      ++i;
      t += tLen;
    } else {
      return KeywordAttempt::Failed;
    }
  }
  end = t;
  return KeywordAttempt::Matched;
}

KeywordMatch FindKeyword(std::string_view keyword, std::string_view text, unsigned flags) {
  KeywordMatch result;
  if (keyword.empty()) return result;
  const bool exact = (flags & kKeywordExactCase) != 0;
  if (!MayStartSomewhere(keyword, CharLength(keyword, 0), text, exact)) return result;
  for (size_t s = 0; s < text.size(); s += CharLength(text, s)) {
    size_t end = 0;
    switch (TryKeywordAt(keyword, text, s, flags, end)) {
      case KeywordAttempt::Failed:
        continue;
      case KeywordAttempt::TextEnded:
        return result;
      case KeywordAttempt::Matched:
        result.start = static_cast<int32_t>(s);
        result.length = static_cast<int32_t>(end - s);
        result.found = true;
        return result;
    }
  }
  return result;
}

}  // namespace kadrel
