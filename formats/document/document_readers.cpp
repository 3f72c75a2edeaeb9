#include "formats/document/document_readers.h"

#include <cerrno>
#include <exception>

#include "formats/document/line_readers.h"

namespace kadrel {
namespace {

// Shows a reader's error box with the system's last error number; only allocation
// failures can get here.
void ShowReaderError(const char* what, IMessageBox& messages) {
  const int error = errno;
  messages.Show({MessageKind::Error, MessageButtons::Ok, {},
                 std::string("Error : Document") + what + "で予期せぬエラーが発生.\nErrorNo : " + std::to_string(error)});
}

const char* ReaderName(unsigned field) {
  switch (field) {
    case kDocumentTitle:
      return "からのタイトル取得";
    case kDocumentArtist:
      return "からのArtist取得";
    case kDocumentComposerLyricist:
      return "からの作曲者取得";
    default:
      return "からのデータ作者取得";
  }
}

unsigned TablesFor(unsigned fields) {
  unsigned tables = 0;
  if (fields & kDocumentTitle) tables |= kTitleTable;
  if (fields & kDocumentArtist) tables |= kArtistTable;
  if (fields & kDocumentComposerLyricist) tables |= kComposerLyricistTables;
  if (fields & kDocumentDataMaker) tables |= kDataMakerTable;
  return tables;
}

std::vector<std::string_view> Views(const DocumentLines& lines) { return {lines.begin(), lines.end()}; }

}  // namespace

void ReadDocumentFields(const std::vector<std::string_view>& lines, unsigned fields, TMusicFileInfo& r,
                        IMessageBox& messages) {
  if (fields & kDocumentTitle) r.InfoState = kInfoNoTitle;
  bool composerSet = false;
  bool lyricistSet = false;
  LineKeywords keywords;
  unsigned open = fields;  // fields whose reader has not finished
  for (size_t i = 0; i < lines.size() && open != 0; ++i) {
    const std::string_view line = lines[i];
    unsigned field = open & (~open + 1);  // the reader at work, for its error box
    try {
      keywords.Scan(line, TablesFor(open));
      if (open & kDocumentTitle) {
        field = kDocumentTitle;
        if (std::optional<std::string> title = ValueAfterKeyword(keywords.First(KeywordTable::Title), line)) {
          r.Title = std::move(*title);
          r.InfoState = kInfoRead;
          open &= ~kDocumentTitle;
        }
      }
      if (open & kDocumentArtist) {
        field = kDocumentArtist;
        if (std::optional<std::string> artist = ValueAfterKeyword(keywords.First(KeywordTable::Artist), line)) {
          r.Artist = std::move(*artist);
          open &= ~kDocumentArtist;
        }
      }
      if (open & kDocumentComposerLyricist) {
        field = kDocumentComposerLyricist;
        ComposerLyricistLine values = ReadComposerLyricistLine(line, keywords);
        if (values.counts) {
          if (!values.composer.empty() && r.Composer.empty()) {
            r.Composer = std::move(values.composer);
            composerSet = true;
          }
          if (!values.lyricist.empty() && r.SongWriter.empty()) {
            r.SongWriter = std::move(values.lyricist);
            lyricistSet = true;
          }
          if (composerSet && lyricistSet) open &= ~kDocumentComposerLyricist;
        }
      }
      if (open & kDocumentDataMaker) {
        field = kDocumentDataMaker;
        if (std::optional<std::string> maker = ValueAfterKeyword(keywords.First(KeywordTable::DataMaker), line)) {
          r.DataMaker = std::move(*maker);
          open &= ~kDocumentDataMaker;
        }
      }
    } catch (const std::exception&) {
      // The failing reader stops with its error box; the others go on.
      ShowReaderError(ReaderName(field), messages);
      open &= ~field;
    }
  }
}

void ReadTitleFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  ReadDocumentFields(Views(lines), kDocumentTitle, r, messages);
}

void ReadArtistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  ReadDocumentFields(Views(lines), kDocumentArtist, r, messages);
}

void ReadComposerLyricistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  ReadDocumentFields(Views(lines), kDocumentComposerLyricist, r, messages);
}

void ReadDataMakerFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages) {
  ReadDocumentFields(Views(lines), kDocumentDataMaker, r, messages);
}

}  // namespace kadrel
