#include "playback/lp_sound_module.h"

#include <algorithm>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "formats/document/find_keyword.h"

namespace kadrel {
namespace {

// Strong keywords outrank any count of ordinary ones.
constexpr int kStrongBonus = 65535;
constexpr int kExtraHitScore = 300;

bool Contains(std::string_view line, std::string_view keyword) {
  if (keyword.empty()) return false;
  // A leading "?" is any one character, which the keyword search cannot take as the
  // first one: the rest must be found after at least one character.
  if (keyword.front() == '?' && keyword.size() > 1) {
    const KeywordMatch match = FindKeyword(keyword.substr(1), line, kDocumentKeywordFlags);
    if (!match.found) return false;
    if (match.start > 0) return true;
    return Contains(line.substr(match.end()), keyword);
  }
  return FindKeyword(keyword, line, kDocumentKeywordFlags).found;
}

const std::vector<std::string>& BonusWords() {
  static const std::vector<std::string> words = {Cp932("推奨音源"), Cp932("使用音源"), Cp932("対応音源"),
                                                 Cp932("対象音源"), Cp932("?作環境")};
  return words;
}

int HitCount(std::string_view line, const std::vector<std::string>& keywords) {
  const bool hit = std::any_of(keywords.begin(), keywords.end(), [&](const auto& k) { return Contains(line, k); });
  if (!hit) return 0;
  static const std::string module = Cp932("音源");
  int count = 1 + (Contains(line, module) ? 1 : 0);
  for (const auto& word : BonusWords()) count += Contains(line, word) ? 1 : 0;
  return count;
}

std::vector<std::string> Keywords(std::string_view list) {
  std::vector<std::string> words;
  for (auto& word : CsvFields(list))
    if (!word.empty()) words.push_back(std::move(word));
  return words;
}

struct Candidate {
  int module;
  int score;
  int distance;
};

bool AnyLineNames(const std::vector<std::string>& lines, std::string_view text) {
  if (text.empty()) return false;
  return std::any_of(lines.begin(), lines.end(), [&](const auto& line) { return Contains(line, text); });
}

}  // namespace

int ChooseSoundModule(const TMusicFileInfo& item, const std::vector<std::string>& lines,
                      const std::vector<TSmfkItem>& modules, ModuleSearch search, std::string_view documentStem) {
  const std::string fileName = item.FullName();
  int anchor = -1;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    if (Contains(lines[i], fileName)) anchor = i;

  std::vector<Candidate> candidates;
  for (int m = 0; m < static_cast<int>(modules.size()); ++m) {
    const auto ordinary = Keywords(modules[m].FindStr);
    const auto strong = Keywords(modules[m].FindStr2);
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
      if (const int c = HitCount(lines[i], ordinary); c >= 1)
        candidates.push_back({m, modules[m].Priority + (c - 1) * kExtraHitScore, i - anchor});
      if (const int c = HitCount(lines[i], strong); c >= 1)
        candidates.push_back({m, modules[m].Priority + kStrongBonus + (c - 1) * kExtraHitScore, i - anchor});
    }
  }
  if (candidates.empty()) return -1;
  std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    if ((a.distance == 0) != (b.distance == 0)) return a.distance == 0;
    return a.score > b.score;
  });

  // A document of another name counts only when it names the item or its archive.
  if (search == ModuleSearch::Text && !EqualsIgnoreCase(documentStem, item.FileName) &&
      !AnyLineNames(lines, fileName) && !AnyLineNames(lines, item.Archiver))
    return -1;
  return candidates.front().module;
}

std::vector<std::string> FirstLines(std::string_view text, std::size_t count) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() < count) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

int ChooseSoundModuleForItem(const TMusicFileInfo& item, const std::vector<std::string>& documentLines,
                             std::string_view documentStem, const TSmfkInfo& settings) {
  int module = -1;
  if (settings.FindStyle & 1)
    module = ChooseSoundModule(item, {item.Title}, settings.Items, ModuleSearch::Name);
  if (module < 0 && (settings.FindStyle & 2) && !documentLines.empty())
    module = ChooseSoundModule(item, documentLines, settings.Items, ModuleSearch::Text, documentStem);
  if (module < 0 && (settings.FindStyle & 8))
    module = ChooseSoundModule(item, {item.FileName}, settings.Items, ModuleSearch::Name);
  return module;
}

}  // namespace kadrel
