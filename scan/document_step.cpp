#include "scan/document_step.h"

#include <memory>

#include "formats/document/read_document_info.h"
#include "archive/lzh_names.h"

namespace kadrel {

DocumentStep MakeDocumentStep(const TMainOption& options, IMessageBox& messages) {
  auto text = std::make_shared<DocumentText>();
  const int32_t titleStyle = options.TitleGetstyle;
  const int32_t othersStyle = options.OthersGetstyle;
  return [text, titleStyle, othersStyle, &messages](const std::string& folder, const std::string& archiveFolder,
                                                     int archiveFolderFd, TMusicFileInfo& record,
                                                     const ArchivedDocuments& archived) {
    if (record.DocFile.empty()) return;  // most files have none: nothing to set up
    DocumentReadOptions o;
    o.TitleGetstyle = titleStyle;
    o.OthersGetstyle = othersStyle;
    o.WorkFolder = folder;
    o.ArchiveFolder = archiveFolder;
    o.ListedDocuments = true;  // full-path documents are the listing's regular files
    o.ArchiveFolderFd = archiveFolderFd;
    DocumentArchiveAccess access;
    access.runCommand = archived.runCommand;
    access.readArchived = archived.read;
    access.extractedName = [](std::string_view name) { return ExtractedFileName(name); };
    ReadDocumentInfo(folder, record, o, *text, access, messages);
  };
}

}  // namespace kadrel
