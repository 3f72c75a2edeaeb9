#include "playback/lp_item_preparation.h"

#include <sys/stat.h>

#include <filesystem>

#include "archive/lzh_names.h"
#include "archive/unlha.h"
#include "catalog/format_table.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

constexpr auto kTurnPause = std::chrono::milliseconds(20);

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Companion files (lyrics and the like) of the member: everything but music files.
std::string CompanionPattern() {
  std::string pattern = "*.*";
  for (const auto& row : kFormatTable) pattern += " -jx*." + std::string(row.Code);
  return pattern;
}

}  // namespace

LpItemPreparation::LpItemPreparation(LpPreparationSettings settings, TUnLhaManagement& turns,
                                     LpConvertForPlay convert)
    : settings_(std::move(settings)), turns_(turns), convert_(std::move(convert)) {}

int LpItemPreparation::Extract(const TPLMusicInfo& item, const std::function<bool()>& stopRequested) {
  if (!LhaAvailable()) return kPrepareArchiveLibraryMissing;

  std::string members = Quoted(item.Music.FullName());
  const std::string& doc = item.Music.DocFile;
  if (!doc.empty() && doc.find('/') == std::string::npos) members += " " + Quoted(doc);
  const int melt = settings_.LzhMeltStyle;
  const bool companions = melt == 2 || (melt == 1 && item.Music.Info != 0);

  UnLhaTurn turn(turns_, kSlotListPlay, stopRequested, kTurnPause);
  if (!turn.held()) return kPrepareAborted;
  UnlhaSetCursorMode(false);
  const std::string archive = item.Folder + item.Music.Archiver;
  Unlha(ExtractCommandLine(archive, WorkFolder(), members));
  if (companions) Unlha(ExtractCommandLine(archive, WorkFolder(), CompanionPattern()));
  return kPrepareOk;
}

int LpItemPreparation::Prepare(const TPLMusicInfo& item, int slot, ListPlayPrepared& out,
                               const std::function<bool()>& stopRequested) {
  const bool member = item.Music.ItemKind == kArchiveMember;
  std::error_code ec;
  fs::create_directories(WorkFolder(), ec);
  std::string destination;
  if (member) {
    if (!IsRegularFile(item.Folder + item.Music.Archiver)) return kPrepareArchiveMissing;
    if (const int result = Extract(item, stopRequested); result != kPrepareOk) return result;
    // Extraction stores the member under a name of the file system's encoding.
    const std::string extracted = ExtractedFileName(item.Music.FullName());
    if (extracted.empty()) return kPrepareFileMissing;
    destination = WorkFolder() + extracted;
  } else {
    destination = item.Folder + item.Music.FullName();
  }
  if (!IsRegularFile(destination)) return kPrepareFileMissing;

  std::string result = destination;
  if (slot > 0 && convert_) {
    result = convert_(item, slot, destination, WorkFolder(), stopRequested);
    if (result.empty()) return kPrepareFileMissing;  // the conversion has shown why
  }
  // Staging moves the work folder's files into the temporary folder.
  const bool staged = member || result != destination;
  out.FileToPlay = staged ? settings_.TemporaryFolder + BaseName(result) : result;
  out.DisplayText = BaseName(result);
  return kPrepareOk;
}

ListPlayStaging LpItemPreparation::Stage(const ListPlayPrepared&) {
  ListPlayStaging staging;
  // Only the files ListPlay placed are removed: the temporary folder is a setting and
  // may hold files that are not ours.
  for (const auto& name : placed_) {
    const fs::path path = fs::path(settings_.TemporaryFolder) / name;
    std::error_code error;
    if (fs::remove(path, error) || !error) continue;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
    if (!fs::remove(path, error) && error) staging.DeleteFailed = true;
  }
  placed_.clear();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(WorkFolder(), ec)) {
    std::error_code error;
    if (!entry.is_regular_file(error)) continue;
    const std::string name = entry.path().filename().string();
    fs::rename(entry.path(), fs::path(settings_.TemporaryFolder) / name, error);
    if (error) staging.MoveFailed = true;
    else placed_.push_back(name);
  }
  return staging;
}

bool LpItemPreparation::FileExists(const std::string& path) { return IsRegularFile(path); }

}  // namespace kadrel
