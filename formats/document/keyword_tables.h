#pragma once
// The keywords that introduce a value in a read-me document, as CP932 bytes, in the
// order they are tried. Built once, on first use, and only read afterwards.

#include <string>
#include <vector>

namespace kadrel {

enum class KeywordTable {
  Title,
  Artist,
  Composer,
  Arranger,  // only delimits the composer and lyricist values
  Lyricist,
  DataMaker,
  SoundModuleWord,
  SoundModulePhrases,
};

const std::vector<std::string>& Keywords(KeywordTable table);

}  // namespace kadrel
