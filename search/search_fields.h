#pragma once
// The record texts a search looks at, and the format and folder limits of a query.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalog/music_file_info.h"

namespace kadrel {

enum class SearchField : int { FileName, Title, Artist, Album, Composer, SongWriter, DataMaker };
inline constexpr int kSearchFieldCount = 7;
inline constexpr uint32_t kAllSearchFields = (1u << kSearchFieldCount) - 1;

constexpr uint32_t FieldBit(SearchField f) { return 1u << static_cast<int>(f); }

// The record's field names ("Title"), as the command line and JSON output spell them.
std::string_view SearchFieldName(SearchField f);
// A field by its name, without regard to ASCII case; nullopt when none.
std::optional<SearchField> SearchFieldByName(std::string_view name);
// The bytes of one field of a record.
const std::string& SearchFieldText(const TMusicFileInfo& r, SearchField f);

// What to look for. `text` is UTF-8 (what the user typed).
struct SearchQuery {
  std::string text;
  uint32_t fields = kAllSearchFields;  // FieldBit of each field looked at
  uint32_t formats = 0;                // bit n: format row n; 0 means every format
  std::string under;                   // a folder ("/music/"): only folders at or below it
};

}  // namespace kadrel
