#include "search/search_fields.h"

namespace kadrel {
namespace {
constexpr std::array<std::string_view, kSearchFieldCount> kNames = {
    "FileName", "Title", "Artist", "Album", "Composer", "SongWriter", "DataMaker"};

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}
}  // namespace

std::string_view SearchFieldName(SearchField f) { return kNames[static_cast<size_t>(f)]; }

std::optional<SearchField> SearchFieldByName(std::string_view name) {
  for (int i = 0; i < kSearchFieldCount; ++i)
    if (SameIgnoringAsciiCase(kNames[static_cast<size_t>(i)], name)) return static_cast<SearchField>(i);
  return std::nullopt;
}

const std::string& SearchFieldText(const TMusicFileInfo& r, SearchField f) {
  switch (f) {
    case SearchField::FileName: return r.FileName;
    case SearchField::Title: return r.Title;
    case SearchField::Artist: return r.Artist;
    case SearchField::Album: return r.Album;
    case SearchField::Composer: return r.Composer;
    case SearchField::SongWriter: return r.SongWriter;
    case SearchField::DataMaker: return r.DataMaker;
  }
  return r.FileName;
}

}  // namespace kadrel
