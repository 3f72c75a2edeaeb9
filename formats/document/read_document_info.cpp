#include "formats/document/read_document_info.h"

#include "formats/document/document_readers.h"
#include "formats/document/load_document.h"
#include "formats/read_header_info.h"

namespace kadrel {
namespace {

bool HasFolderPart(std::string_view name) { return name.find('/') != std::string_view::npos; }

// Path of the document on disk; empty when no file can exist for it.
std::string DocumentPath(const std::string& folder, const std::string& docFile, const DocumentArchiveAccess& archive) {
  if (HasFolderPart(docFile)) return docFile;
  if (folder.empty()) return {};  // never a path relative to the current directory
  std::string name = archive.extractedName ? archive.extractedName(docFile) : docFile;
  if (name.empty()) return {};
  return folder + name;
}

bool Load(const std::string& path, DocumentText& text, bool listed, const DocumentReadOptions& options) {
  if (path.empty()) return false;
  if (listed && options.ArchiveFolderFd >= 0 && path.size() > options.ArchiveFolder.size() &&
      path.compare(0, options.ArchiveFolder.size(), options.ArchiveFolder) == 0 &&
      path.find('/', options.ArchiveFolder.size()) == std::string::npos)
    return text.LoadAt(options.ArchiveFolderFd, path.substr(options.ArchiveFolder.size()), kDocumentStepLines, true);
  return text.Load(path, kDocumentStepLines, listed);
}

// A bare DocFile names a member of the record's archive.
bool ReadFromArchive(const TMusicFileInfo& r, const DocumentArchiveAccess& archive) {
  return archive.readArchived && !r.Archiver.empty() && !HasFolderPart(r.DocFile);
}

bool LoadFor(const TMusicFileInfo& r, const std::string& path, const DocumentArchiveAccess& archive,
             const DocumentReadOptions& options, DocumentText& text) {
  // An extracted member (a bare name) was written by the archive library, not listed.
  if (!ReadFromArchive(r, archive))
    return Load(path, text, options.ListedDocuments && HasFolderPart(r.DocFile), options);
  std::optional<std::string> bytes = archive.readArchived(r.DocFile);
  if (!bytes) return false;
  text.LoadBytes(*bytes, kDocumentStepLines);
  return true;
}

void ExtractSingleDocument(const TMusicFileInfo& r, const DocumentReadOptions& options,
                           const DocumentArchiveAccess& archive) {
  if (!archive.runCommand || r.Archiver.empty() || options.WorkFolder.empty()) return;
  // A name with a double quote cannot be written into the command line.
  if (r.DocFile.find('"') != std::string::npos) return;
  archive.runCommand(DocumentExtractCommand(options.ArchiveFolder + r.Archiver, options.WorkFolder, r.DocFile));
}

}  // namespace

std::string DocumentExtractCommand(const std::string& archivePath, const std::string& workFolder,
                                   const std::string& docFile) {
  std::string command = "e -n1 -gp0 -a0 \"" + archivePath + "\" \"" + workFolder + "\" ";
  // A member name with blanks is quoted, or the library would take it for several names.
  const bool quote = docFile.find_first_of(" \t") != std::string::npos;
  if (quote) command += '"';
  command += docFile;
  if (quote) command += '"';
  return command;
}

void ReadDocumentInfo(const std::string& folder, TMusicFileInfo& r, const DocumentReadOptions& options,
                      DocumentText& text, const DocumentArchiveAccess& archive, IMessageBox& messages) {
  if (r.DocFile.empty()) return;
  const int32_t others = options.OthersGetstyle;
  const std::string path = DocumentPath(folder, r.DocFile, archive);

  unsigned fields = 0;
  if (options.TitleGetstyle == 3) {
    if (!LoadFor(r, path, archive, options, text)) return;
    fields = kDocumentTitle;  // a document without a title keeps the header's
    if (others & kOthersArtist) fields |= kDocumentArtist;
  } else if (options.TitleGetstyle == 2) {
    ApplyPlaceholderTitleRule(r);
    if (others == 0) {
      if (!r.Title.empty()) return;
      if (r.ItemKind == kArchiveMember && !HasFolderPart(r.DocFile) && !ReadFromArchive(r, archive))
        ExtractSingleDocument(r, options, archive);
    }
    if (!LoadFor(r, path, archive, options, text)) return;
    if (r.Title.empty()) fields |= kDocumentTitle;
    if (r.Artist.empty() && (others & kOthersArtist)) fields |= kDocumentArtist;
  } else {
    return;
  }
  if (others & kOthersComposerLyricist) fields |= kDocumentComposerLyricist;
  if (others & kOthersDataMaker) fields |= kDocumentDataMaker;

  ReadDocumentFields(text.Lines(), fields, r, messages);
  if (options.TitleGetstyle == 3 && !r.Title.empty()) r.InfoState = kInfoRead;
}

}  // namespace kadrel
