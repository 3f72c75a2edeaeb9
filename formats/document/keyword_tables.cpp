#include "formats/document/keyword_tables.h"

#include <array>
#include <initializer_list>

#include "base/encoding.h"

namespace kadrel {
namespace {

std::vector<std::string> Convert(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  out.reserve(utf8.size());
  for (const char* k : utf8) out.push_back(Cp932(k));
  return out;
}

struct Tables {
  std::array<std::vector<std::string>, 8> byKind;
};

const Tables& AllTables() {
  static const Tables tables = [] {
    Tables t;
    t.byKind[static_cast<int>(KeywordTable::Title)] =
        Convert({"曲名", "題名", "イトル", "ITLE", "ＩＴＬＥ", "ｲﾄﾙ", "名称", "フト名"});
    t.byKind[static_cast<int>(KeywordTable::Artist)] =
        Convert({"ィスト名", "ティスト", "ｨｽﾄ名", "ﾃｨｽﾄ", "rtist", "歌手"});
    t.byKind[static_cast<int>(KeywordTable::Composer)] = Convert({"作曲?名", "作曲者", "作曲家", "作曲", "作?編"});
    t.byKind[static_cast<int>(KeywordTable::Arranger)] =
        Convert({"編曲?名", "編曲者", "編曲", "レンジ", "ﾚﾝｼﾞ", "ち込み"});
    t.byKind[static_cast<int>(KeywordTable::Lyricist)] = Convert({"作詞?名", "作詞者", "作詞家", "作詞"});
    t.byKind[static_cast<int>(KeywordTable::DataMaker)] =
        Convert({"込み人", "ち込み", "作者名", "作者", "成者名", "作成者", "ータ?作", "タ作成", "載者名", "開者名", "公開者"});
    t.byKind[static_cast<int>(KeywordTable::SoundModuleWord)] = Convert({"音源"});
    t.byKind[static_cast<int>(KeywordTable::SoundModulePhrases)] =
        Convert({"推奨音源", "使用音源", "対応音源", "対象音源", "?作環境"});
    return t;
  }();
  return tables;
}

}  // namespace

const std::vector<std::string>& Keywords(KeywordTable table) {
  return AllTables().byKind[static_cast<int>(table)];
}

}  // namespace kadrel
