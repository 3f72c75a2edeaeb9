#pragma once
// The text a file-list column shows for a record (columns 1..12).

#include <string>

#include "catalog/column_ids.h"
#include "catalog/music_file_info.h"
#include "catalog/options.h"

namespace kadrel {

// CP932 bytes (texts from files and our own literals); display them through DisplayText.
std::string ColumnText(const TMusicFileInfo& r, int column, const TListViewOption& options);

// "Wrd ", "DV ", "SW " for the companion bits.
std::string CompanionText(int32_t info);
// (Size + 1023) / 1024 followed by "KB".
std::string SizeText(int64_t size);

}  // namespace kadrel
