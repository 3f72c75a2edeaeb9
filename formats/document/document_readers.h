#pragma once
// Readers over the lines of a document: each fills its fields of the record from the
// first line(s) that name them. An unexpected failure is reported in an error box.

#include <string>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"

namespace kadrel {

using DocumentLines = std::vector<std::string>;

// InfoState becomes 4; the first line with a title keyword sets Title and InfoState 0.
void ReadTitleFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
// The first line with an artist keyword sets Artist.
void ReadArtistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
// Fills Composer and SongWriter where they are still empty; stops once both were set here.
void ReadComposerLyricistFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);
// The first line with a data-maker keyword sets DataMaker.
void ReadDataMakerFromDocument(const DocumentLines& lines, TMusicFileInfo& r, IMessageBox& messages);

}  // namespace kadrel
