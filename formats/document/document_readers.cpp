#include "formats/document/document_readers.h"

#include <cerrno>
#include <exception>

#include "formats/document/line_readers.h"

namespace kadrel {
namespace {

// Runs a reader; anything it throws (only allocation failures are possible) becomes
// the reader's error box with the system's last error number.
template <typename Body>
void Guarded(const char* what, IMessageBox& messages, Body&& body) {
  try {
    body();
  } catch (const std::exception&) {
    const int error = errno;
    messages.Show({MessageKind::Error, MessageButtons::Ok, {},
                   std::string("Error : Document") + what + "で予期せぬエラーが発生.\nErrorNo : " + std::to_string(error)});
  }
}

}  // namespace

void ReadTitleFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  Guarded("からのタイトル取得", messages, [&] {
    r.InfoState = kInfoNoTitle;
    for (const std::string& line : lines) {
      if (std::optional<std::string> title = ReadTitleLine(line)) {
        r.Title = std::move(*title);
        r.InfoState = kInfoRead;
        return;
      }
    }
  });
}

void ReadArtistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  Guarded("からのArtist取得", messages, [&] {
    for (const std::string& line : lines) {
      if (std::optional<std::string> artist = ReadArtistLine(line)) {
        r.Artist = std::move(*artist);
        return;
      }
    }
  });
}

void ReadComposerLyricistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  Guarded("からの作曲者取得", messages, [&] {
    bool composerSet = false;
    bool lyricistSet = false;
    for (const std::string& line : lines) {
      ComposerLyricistLine values = ReadComposerLyricistLine(line);
      if (!values.counts) continue;
      if (!values.composer.empty() && r.Composer.empty()) {
        r.Composer = std::move(values.composer);
        composerSet = true;
      }
      if (!values.lyricist.empty() && r.SongWriter.empty()) {
        r.SongWriter = std::move(values.lyricist);
        lyricistSet = true;
      }
      if (composerSet && lyricistSet) return;
    }
  });
}

void ReadDataMakerFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  Guarded("からのデータ作者取得", messages, [&] {
    for (const std::string& line : lines) {
      if (std::optional<std::string> maker = ReadDataMakerLine(line)) {
        r.DataMaker = std::move(*maker);
        return;
      }
    }
  });
}

}  // namespace kadrel
