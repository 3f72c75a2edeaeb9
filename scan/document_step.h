#pragma once
// The scan's document step, reading documents with the document readers.

#include "base/message_box.h"
#include "scan/scan_pass.h"
#include "catalog/options.h"

namespace kadrel {

// A step for the scan worker (it keeps its own line list; use it on one thread).
DocumentStep MakeDocumentStep(const TMainOption& options, IMessageBox& messages);

}  // namespace kadrel
