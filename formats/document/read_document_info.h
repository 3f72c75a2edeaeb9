#pragma once
// The document step of the folder scan: title and names read from the document that
// belongs to a music file, by the settings "TitleGetstyle" and "OthersGetstyle".

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "formats/document/load_document.h"

namespace kadrel {

// Lines of a document consulted by the document step.
inline constexpr int kDocumentStepLines = 30;

// "OthersGetstyle" bits.
enum OthersGetstyleBit : int32_t {
  kOthersArtist = 1,
  kOthersComposerLyricist = 2,
  kOthersDataMaker = 4,
};

struct DocumentReadOptions {
  int32_t TitleGetstyle = 2;   // 1 music file only, 2 music file then document, 3 document then music file
  int32_t OthersGetstyle = 0;  // OthersGetstyleBit
  std::string WorkFolder;      // where archive members are extracted; ends in "/"
  std::string ArchiveFolder;   // the folder holding the record's archive; ends in "/"
  // Full-path documents come from a folder listing that saw regular files (the scan).
  bool ListedDocuments = false;
  // ArchiveFolder held open by that listing (-1: none): documents lying in it are
  // opened relative to it.
  int ArchiveFolderFd = -1;
};

// How the document step reaches the archive library. The caller holds the library's
// turn while the step runs.
struct DocumentArchiveAccess {
  // Runs an archive-library command line (its result is not used: the step looks for
  // the extracted file).
  std::function<void(const std::string& commandLine)> runCommand;
  // On-disk name of an extracted member with this CP932 base name; empty = none can
  // exist. When not set, the name is used as it is.
  std::function<std::string(std::string_view cp932BaseName)> extractedName;
  // When set, a document inside the archive (a bare DocFile) is read from the archive
  // into memory instead of being extracted; nullopt when it cannot be produced.
  std::function<std::optional<std::string>(const std::string& docFile)> readArchived;
};

// The archive-library command that extracts one document member into the work folder.
std::string DocumentExtractCommand(const std::string& archivePath, const std::string& workFolder,
                                   const std::string& docFile);

// Reads folder + DocFile (DocFile alone when it has a folder part; a bare name is an
// extracted archive member and is looked up under its on-disk name). `text` is the
// caller's scratch document, reused from one call to the next.
void ReadDocumentInfo(const std::string& folder, TMusicFileInfo& r, const DocumentReadOptions& options,
                      DocumentText& text, const DocumentArchiveAccess& archive, IMessageBox& messages);

}  // namespace kadrel
