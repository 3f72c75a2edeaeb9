#include "playlist/playlist_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <map>

#include "base/byte_source.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "formats/readers/header_readers.h"
#include "playlist/playlist_folders.h"

namespace kadrel {
namespace {

constexpr std::string_view kTextSignature = "[Kadrel PlayListFile Ver0.01]";

// The names of a folder, by their upper-cased form (one listing per folder).
class FolderNames {
 public:
  const std::map<std::string, std::string>& Of(const std::string& folder) {
    auto [it, inserted] = names_.try_emplace(folder);
    if (!inserted) return it->second;
    if (DIR* dir = ::opendir(folder.c_str())) {
      while (const dirent* entry = ::readdir(dir)) it->second.try_emplace(ToUpperAscii(entry->d_name), entry->d_name);
      ::closedir(dir);
    }
    return it->second;
  }

 private:
  std::map<std::string, std::map<std::string, std::string>> names_;
};

// The stored record brings the extension back in the format code's letter case; on a
// file system that tells cases apart the loose file is found under its own name.
void MatchExtensionCase(PlayListContent& content) {
  FolderNames folders;
  for (TPLMusicInfo& item : content.Items) {
    TMusicFileInfo& r = item.Music;
    if (r.ItemKind != kLooseFile || item.Folder.empty()) continue;
    struct stat st {};
    if (::stat((item.Folder + r.FullName()).c_str(), &st) == 0) continue;
    const auto& names = folders.Of(item.Folder);
    auto found = names.find(ToUpperAscii(r.FullName()));
    if (found == names.end() || found->second.size() != r.FullName().size()) continue;
    if (found->second.compare(0, r.FileName.size(), r.FileName) != 0) continue;  // the stem is kept as stored
    r.FileExt = found->second.substr(r.FileName.size());
  }
}

}  // namespace

PlayListVersion DetectPlayListVersion(std::string_view head) {
  head = head.substr(0, 64);
  if (head.substr(0, kTextSignature.size()) == kTextSignature) return PlayListVersion::Text001;
  const std::string_view signature = PlayListSignatureV1();
  if (head.substr(0, signature.size()) == signature) return PlayListVersion::Binary100;
  return PlayListVersion::None;
}

PlayListReadStatus ReadPlayListImage(std::string_view image, std::string_view listFolder, PlayListContent& out) {
  out = {};
  switch (DetectPlayListVersion(image)) {
    case PlayListVersion::Text001: return ReadTextPlayList(image, out);
    case PlayListVersion::Binary100: return ReadBinaryPlayList(image, listFolder, out);
    case PlayListVersion::None: break;
  }
  return PlayListReadStatus::NotPlayList;
}

PlayListReadStatus ReadPlayListFile(const std::string& path, PlayListContent& out) {
  out = {};
  std::unique_ptr<FileByteSource> source = FileByteSource::Open(path);
  if (!source) return PlayListReadStatus::NotPlayList;
  if (DetectPlayListVersion(source->Read(0, 64)) == PlayListVersion::None) return PlayListReadStatus::NotPlayList;
  if (source->Size() > kMaxPlayListBytes) return PlayListReadStatus::Broken;
  const std::string image = source->ReadAvailable(0, source->Size());
  const PlayListReadStatus status = ReadPlayListImage(image, FolderOfPath(path), out);
  if (status == PlayListReadStatus::Ok) MatchExtensionCase(out);
  return status;
}

}  // namespace kadrel
