#include "playback/media_routing.h"

#include "base/encoding.h"
#include "catalog/music_file_info.h"

namespace kadrel {
namespace {

bool SameMetadata(const MediaMetadata& a, const MediaMetadata& b) {
  return a.title == b.title && a.artist == b.artist && a.album == b.album && a.composer == b.composer && a.url == b.url;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FileUrl(const std::string& path) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string url = "file://";
  for (const unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                       c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

MediaMetadata MetadataForItem(const TPLMusicInfo& item) {
  const TMusicFileInfo& m = item.Music;
  MediaMetadata md;
  md.title = DisplayText(m.Title.empty() ? m.FullName() : m.Title);
  md.artist = DisplayText(m.Artist);
  md.album = DisplayText(m.Album);
  md.composer = DisplayText(m.Composer);
  md.url = FileUrl(item.Folder + (m.ItemKind == kArchiveMember ? m.Archiver : m.FullName()));
  return md;
}

MediaMetadata MetadataForFile(const std::string& path) {
  MediaMetadata md;
  md.title = DisplayText(FileNameOf(path));
  md.url = FileUrl(path);
  return md;
}

void MediaPublishing::Publish(const MediaSnapshot& s) {
  if (first_ || !SameMetadata(s.metadata, last_.metadata)) publisher_.SetMetadata(s.metadata);
  if (first_ || s.canGoNext != last_.canGoNext) publisher_.SetCanGoNext(s.canGoNext);
  if (first_ || s.canGoPrevious != last_.canGoPrevious) publisher_.SetCanGoPrevious(s.canGoPrevious);
  if (first_ || s.status != last_.status) publisher_.SetStatus(s.status);
  first_ = false;
  last_ = s;
}

}  // namespace kadrel
