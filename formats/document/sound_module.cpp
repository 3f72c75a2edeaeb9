#include "formats/document/sound_module.h"

#include <algorithm>
#include <cstdint>

#include "formats/document/find_keyword.h"
#include "formats/document/keyword_tables.h"
#include "base/encoding.h"
#include "base/text_helpers.h"

namespace kadrel {
namespace {

constexpr int64_t kStrongKeywordBonus = 65535;
constexpr int64_t kExtraHitBonus = 300;

struct Hit {
  int module;
  int distance;
  int64_t score;
};

bool Contains(std::string_view keyword, std::string_view line, unsigned flags) {
  return FindKeyword(keyword, line, flags).found;
}

// Index of the last line that contains the text (blanks skipped), or -1.
int LastLineWith(std::string_view text, const std::vector<std::string>& lines) {
  if (text.empty()) return -1;
  for (int k = static_cast<int>(lines.size()) - 1; k >= 0; --k)
    if (Contains(text, lines[static_cast<size_t>(k)], kKeywordSkipBlanks)) return k;
  return -1;
}

// A phrase may begin with "?" for any one character (動作環境, 制作環境). The keyword
// search takes a leading "?" literally, so the rest is searched and must not start the line.
bool ContainsPhrase(std::string_view phrase, std::string_view line) {
  if (phrase.size() > 1 && phrase[0] == '?') {
    if (line.empty()) return false;
    // Skip the first character of the line: something must stand before the rest.
    const size_t first = (IsSjisLeadByte(static_cast<unsigned char>(line[0])) && line.size() > 1) ? 2 : 1;
    return FindKeyword(phrase.substr(1), line.substr(first), kDocumentKeywordFlags).found;
  }
  return Contains(phrase, line, kDocumentKeywordFlags);
}

std::vector<std::string> KeywordList(const std::string& list) { return CsvFields(list); }

// 0 when no keyword of the list is in the line; else 1, or 2 when the line also says
// 音源, plus 1 for each sound-module phrase in it.
int ModuleScore(const std::vector<std::string>& keywords, const std::string& line) {
  bool any = false;
  for (const std::string& k : keywords) {
    if (Contains(k, line, kKeywordSkipBlanks)) {
      any = true;
      break;
    }
  }
  if (!any) return 0;
  int score = Contains(Keywords(KeywordTable::SoundModuleWord)[0], line, kKeywordSkipBlanks) ? 2 : 1;
  for (const std::string& phrase : Keywords(KeywordTable::SoundModulePhrases))
    if (ContainsPhrase(phrase, line)) ++score;
  return score;
}

std::string DocumentBaseName(const std::string& docFile) {
  const size_t slash = docFile.rfind('/');
  return NameWithoutExtension(slash == std::string::npos ? docFile : docFile.substr(slash + 1));
}

}  // namespace

int DetectSoundModule(const TMusicFileInfo& r, const std::vector<std::string>& lines, SoundModuleSource source,
                      const std::vector<TSmfkItem>& modules) {
  const int nameLine = LastLineWith(r.FileName + r.FileExt, lines);
  int archiveLine = -1;
  if (nameLine < 0 && !r.Archiver.empty()) archiveLine = LastLineWith(r.Archiver, lines);

  if (source == SoundModuleSource::Document && nameLine < 0 && archiveLine < 0 &&
      !EqualsIgnoreCase(DocumentBaseName(r.DocFile), r.FileName))
    return -1;

  std::vector<Hit> hits;
  for (size_t m = 0; m < modules.size(); ++m) {
    const std::vector<std::string> findStr = KeywordList(modules[m].FindStr);
    const std::vector<std::string> findStr2 = KeywordList(modules[m].FindStr2);
    const int64_t priority = modules[m].Priority;
    for (size_t k = 0; k < lines.size(); ++k) {
      const int distance = static_cast<int>(k) - nameLine;
      if (int score = ModuleScore(findStr, lines[k]); score >= 1)
        hits.push_back({static_cast<int>(m), distance, priority + (score - 1) * kExtraHitBonus});
      if (int score = ModuleScore(findStr2, lines[k]); score >= 1)
        hits.push_back({static_cast<int>(m), distance, priority + kStrongKeywordBonus + (score - 1) * kExtraHitBonus});
    }
  }
  if (hits.empty()) return -1;
  // A hit on the line that names the music file first; then the higher score. Equal
  // hits keep the module order.
  auto best = std::min_element(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
    if ((a.distance == 0) != (b.distance == 0)) return a.distance == 0;
    return a.score > b.score;
  });
  return best->module;
}

}  // namespace kadrel
