#pragma once
// Readers over the lines of a document: each fills its fields of the record from the
// first line(s) that name them. An unexpected failure is reported in an error box.

#include <string>
#include <string_view>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"

namespace kadrel {

using DocumentLines = std::vector<std::string>;

// The fields one walk over the lines reads.
enum DocumentField : unsigned {
  // InfoState becomes 4; the first line with a title keyword sets Title and InfoState 0.
  kDocumentTitle = 1,
  // The first line with an artist keyword sets Artist.
  kDocumentArtist = 2,
  // Fills Composer and SongWriter where they are still empty; stops once both were set here.
  kDocumentComposerLyricist = 4,
  // The first line with a data-maker keyword sets DataMaker.
  kDocumentDataMaker = 8,
};

// All the asked-for fields in one walk over the lines: each line is searched once for
// the keywords of the fields still open. The result is that of running the readers
// below one after the other.
void ReadDocumentFields(const std::vector<std::string_view>& lines, unsigned fields, TMusicFileInfo& r,
                        IMessageBox& messages);

void ReadTitleFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
void ReadArtistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
void ReadComposerLyricistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
void ReadDataMakerFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);

}  // namespace kadrel
