#pragma once
// The document readers' access to the LZH library facade. The readers live below the
// archive layer and take this access as an argument, so they can be tested without it.

#include "formats/document/read_document_info.h"
#include "formats/document/text_file_list.h"

namespace kadrel {

// The LZH library facade and its on-disk names.
DocumentArchiveAccess LzhDocumentArchiveAccess();

// The LZH library facade and the program's turn table (the document-list slot).
TextFileListArchiveAccess LzhTextFileListArchiveAccess();

}  // namespace kadrel
