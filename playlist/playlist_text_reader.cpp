// The old text version of the play list: a signature line, then two lines per item (the
// name stem, then comma-separated fields), ended by "[EOF]" or by the end of the text.

#include <climits>

#include "catalog/format_table.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_folders.h"

namespace kadrel {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// "12KB": the last two characters are cut, the rest counts kilobytes.
int32_t SizeFromText(std::string_view text) {
  if (text.size() < 2) return 0;
  int64_t kilobytes = 0;
  for (char c : TrimBlanks(text.substr(0, text.size() - 2))) {
    if (c == ',') continue;  // digit grouping
    if (c < '0' || c > '9') return 0;
    kilobytes = std::min<int64_t>(kilobytes * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<int32_t>(std::min<int64_t>(kilobytes * 1024, INT32_MAX));
}

int32_t SlotFromText(std::string_view text) {
  const std::string slot = TrimBlanks(text);
  if (slot.size() == 1 && slot[0] >= '1' && slot[0] <= '6') return slot[0] - '0';
  return kAutomaticSlot;  // "*", or anything we could not use
}

int32_t FormatRowForExtension(std::string_view extension) {
  const std::string upper = ToUpperAscii(extension);
  for (int row = 0; row < kFormatCount; ++row) {
    if (upper == "." + std::string(kFormatTable[row].Code)) return row;
  }
  return kNoFormatRow;
}

int32_t CompanionBits(std::string_view text) {
  int32_t bits = 0;
  if (text.find("Wrd") != std::string_view::npos) bits |= kCompanionWrd;
  if (text.find("DV") != std::string_view::npos) bits |= kCompanionDv;
  if (text.find("SW") != std::string_view::npos) bits |= kCompanionSry;
  return bits;
}

}  // namespace

PlayListReadStatus ReadTextPlayList(std::string_view image, PlayListContent& out) {
  out = {};
  if (image.size() > kMaxPlayListBytes) return PlayListReadStatus::Broken;
  const std::vector<std::string_view> lines = SplitLines(image);
  bool first = true;
  for (size_t i = 1; i + 1 < lines.size(); i += 2) {
    const std::string_view stem = lines[i];
    if (stem == "[EOF]") break;
    if (stem.empty()) continue;  // nothing to play
    const std::string_view fields = lines[i + 1];

    TPLMusicInfo item;
    TMusicFileInfo& r = item.Music;
    r.FileName = std::string(stem);
    r.FileExt = CsvField(fields, 1);
    r.FileType = FormatRowForExtension(r.FileExt);
    r.Detail = CsvField(fields, 2);
    r.Info = CompanionBits(CsvField(fields, 3));
    r.Size = SizeFromText(CsvField(fields, 4));
    item.Slot = SlotFromText(CsvField(fields, 5));
    r.Title = CsvField(fields, 6);
    const std::string path = SlashesFromBackslashes(CsvField(fields, 7));
    item.Folder = FolderOfPath(path);
    r.Archiver = path.substr(item.Folder.size());
    r.ItemKind = r.Archiver.empty() ? kLooseFile : kArchiveMember;
    r.InfoState = r.Title.empty() ? kInfoNoTitle : kInfoRead;
    r.IconIndex = IconIndexFor(r.FileType, r.Info);

    out.BaseFolder = first ? item.Folder : CommonFolder(out.BaseFolder, item.Folder);
    first = false;
    out.Items.push_back(std::move(item));
  }
  return PlayListReadStatus::Ok;
}

}  // namespace kadrel
