#include "formats/document/line_keywords.h"

#include <bit>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/encoding.h"

namespace kadrel {
namespace {

constexpr int kTableCount = static_cast<int>(KeywordTable::DataMaker) + 1;

// The distinct keywords of the document tables (a keyword in two tables, ち込み, is
// searched once), with masks that tell from a text character which of them can start
// there. The masks only narrow the attempts; TryKeywordAt decides.
struct KeywordIndex {
  std::vector<std::string_view> words;
  std::array<std::vector<int>, kTableCount> tableWords;  // word ids in table order
  std::array<uint64_t, kTableCount> tableMask{};
  std::array<uint64_t, 256> singleByte{};  // by the text byte with a..z folded to A..Z
  std::array<uint64_t, 256> leadByte{};    // double-byte first characters, by lead byte
  std::array<uint64_t, 256> trailByte{};   // ... and by trail byte (small full-width letters folded)

  KeywordIndex() {
    for (int t = 0; t < kTableCount; ++t) {
      for (const std::string& k : Keywords(static_cast<KeywordTable>(t))) {
        size_t id = 0;
        while (id < words.size() && words[id] != k) ++id;
        if (id == words.size()) {
          if (id == 64) throw std::logic_error("too many document keywords");
          words.push_back(k);
          Register(k, id);
        }
        tableWords[static_cast<size_t>(t)].push_back(static_cast<int>(id));
        tableMask[static_cast<size_t>(t)] |= uint64_t{1} << id;
      }
    }
  }

  void Register(std::string_view k, size_t id) {
    const uint64_t bit = uint64_t{1} << id;
    const auto k0 = static_cast<unsigned char>(k[0]);
    if (IsSjisLeadByte(k0) && k.size() > 1) {
      // FindKeyword compares the lead byte exactly and the trail byte after folding a
      // small full-width letter in the text; either text form of a letter lands here.
      const auto k1 = static_cast<unsigned char>(k[1]);
      leadByte[k0] |= bit;
      trailByte[k1] |= bit;
      if (k0 == 0x82 && k1 >= 0x60 && k1 <= 0x79) trailByte[k1 + 0x21] |= bit;
    } else {
      singleByte[FoldLetter(k0)] |= bit;
    }
  }

  static unsigned char FoldLetter(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 0x20) : c; }
};

const KeywordIndex& Index() {
  static const KeywordIndex index;
  return index;
}

}  // namespace

void LineKeywords::Scan(std::string_view line, unsigned tables) {
  const KeywordIndex& index = Index();
  uint64_t wanted = 0;
  for (int t = 0; t < kTableCount; ++t)
    if (tables & (1u << t)) wanted |= index.tableMask[static_cast<size_t>(t)];
  found_ = 0;
  uint64_t open = wanted;  // keywords whose first occurrence is still to be found
  const size_t n = line.size();
  for (size_t s = 0; s < n && open != 0;) {
    const auto c = static_cast<unsigned char>(line[s]);
    const bool twoBytes = IsSjisLeadByte(c) && s + 1 < n;
    uint64_t candidates;
    if (twoBytes)
      candidates = index.leadByte[c] & index.trailByte[static_cast<unsigned char>(line[s + 1])];
    else
      candidates = index.singleByte[KeywordIndex::FoldLetter(c)];
    candidates &= open;
    while (candidates != 0) {
      const int id = std::countr_zero(candidates);
      const uint64_t bit = uint64_t{1} << id;
      candidates &= ~bit;
      size_t end = 0;
      switch (TryKeywordAt(index.words[static_cast<size_t>(id)], line, s, kDocumentKeywordFlags, end)) {
        case KeywordAttempt::Failed:
          break;
        case KeywordAttempt::TextEnded:  // FindKeyword gives up on this keyword here
          open &= ~bit;
          break;
        case KeywordAttempt::Matched:
          open &= ~bit;
          found_ |= bit;
          matches_[static_cast<size_t>(id)] = {static_cast<int32_t>(s), static_cast<int32_t>(end - s), true};
          break;
      }
    }
    s += twoBytes ? 2 : 1;
  }
}

TableMatch LineKeywords::First(KeywordTable table) const {
  const std::vector<int>& ids = Index().tableWords[static_cast<size_t>(table)];
  for (size_t i = 0; i < ids.size(); ++i)
    if (found_ & (uint64_t{1} << ids[i])) return {matches_[static_cast<size_t>(ids[i])], static_cast<int>(i) + 1};
  return {};
}

}  // namespace kadrel
