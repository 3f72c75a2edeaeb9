#include "base/trim_marks.h"

#include <vector>

#include "base/mark_sets.h"
#include "base/encoding.h"

namespace kadrel {
namespace {

using namespace std::string_view_literals;

// ＜『【「：；│┃｜∥～…‥‘“（〔［｛〈《＃
constexpr std::string_view kOpenersDouble =
    "\x81\x83\x81\x77\x81\x79\x81\x75\x81\x46\x81\x47\x84\xa0\x84\xab\x81\x62\x81\x61\x81\x60"
    "\x81\x63\x81\x64\x81\x65\x81\x67\x81\x69\x81\x6b\x81\x6d\x81\x6f\x81\x71\x81\x73\x81\x94"sv;
// ｢({[=-/:;#|"･<~'   (｢ and ･ are the half-width forms 0xA2 and 0xA5)
constexpr std::string_view kOpenersSingle = "\xa2({[=-/:;#|\"\xa5<~'"sv;

// ＞』】」：；│┃｜∥～／…‥’”．，）〕］｝〉》－＝
constexpr std::string_view kClosersDouble =
    "\x81\x84\x81\x78\x81\x7a\x81\x76\x81\x46\x81\x47\x84\xa0\x84\xab\x81\x62\x81\x61\x81\x60"
    "\x81\x5e\x81\x63\x81\x64\x81\x66\x81\x68\x81\x44\x81\x43\x81\x6a\x81\x6c\x81\x6e\x81\x70"
    "\x81\x72\x81\x74\x81\x7c\x81\x81"sv;
// ｣)}]=-/:;,.|"･>~'   (｣ is the half-width form 0xA3)
constexpr std::string_view kClosersSingle = "\xa3)}]=-/:;,.|\"\xa5>~'"sv;

// ：；│┃｜∥
constexpr std::string_view kSeparatorsDouble = "\x81\x46\x81\x47\x84\xa0\x84\xab\x81\x62\x81\x61"sv;
constexpr std::string_view kSeparatorsSingle = ":;|~"sv;

const MarkSetBytes kOpeners{kOpenersDouble, kOpenersSingle};
const MarkSetBytes kClosers{kClosersDouble, kClosersSingle};
const MarkSetBytes kSeparators{kSeparatorsDouble, kSeparatorsSingle};

constexpr char kFullWidthSpace0 = '\x81';
constexpr char kFullWidthSpace1 = '\x40';

bool InDoublePart(const MarkSetBytes& set, char b0, char b1) {
  for (size_t i = 0; i + 1 < set.doubleByte.size(); i += 2)
    if (set.doubleByte[i] == b0 && set.doubleByte[i + 1] == b1) return true;
  return false;
}

bool InSinglePart(const MarkSetBytes& set, char b) { return set.singleByte.find(b) != std::string_view::npos; }

bool IsBlankByte(char b) { return b == ' ' || b == '\t'; }

// Length of the character at position i: 2 for a lead byte followed by another byte,
// else 1 (a lead byte cut off by the end of the text counts as one byte).
size_t CharLength(std::string_view text, size_t i) {
  return (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// Whether the character text[i, i+len) is removed by trimming with the set.
bool Removable(const MarkSetBytes& set, std::string_view text, size_t i, size_t len) {
  if (len == 2) {
    if (text[i] == kFullWidthSpace0 && text[i + 1] == kFullWidthSpace1) return true;
    return InDoublePart(set, text[i], text[i + 1]);
  }
  return IsBlankByte(text[i]) || InSinglePart(set, text[i]);
}

}  // namespace

const MarkSetBytes& MarkSetFor(MarkSet set) {
  switch (set) {
    case MarkSet::Openers: return kOpeners;
    case MarkSet::Closers: return kClosers;
    case MarkSet::Separators: break;
  }
  return kSeparators;
}

std::string TrimMarks(std::string_view text, MarkSet set, TrimSide side) {
  const MarkSetBytes& marks = MarkSetFor(set);
  if (side == TrimSide::Leading) {
    size_t i = 0;
    while (i < text.size()) {
      size_t len = CharLength(text, i);
      if (!Removable(marks, text, i, len)) break;
      i += len;
    }
    return std::string(text.substr(i));
  }

  // Trailing side. Character boundaries are found from the start: looking only at the
  // byte before the last would take the trail byte of one character and a following
  // one-byte character for a double-byte mark (the text "ａF" would lose "F" and half
  // of "ａ"), so the text is walked forward once and trimmed by whole characters.
  std::vector<uint32_t> starts;
  starts.reserve(text.size());
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) starts.push_back(static_cast<uint32_t>(i));
  size_t end = text.size();
  while (!starts.empty()) {
    size_t start = starts.back();
    if (!Removable(marks, text, start, end - start)) break;
    end = start;
    starts.pop_back();
  }
  return std::string(text.substr(0, end));
}

}  // namespace kadrel
