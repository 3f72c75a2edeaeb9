#pragma once
// The scan's document step, reading documents with the document readers.

#include "core/message_box.h"
#include "core/scan/scan_pass.h"
#include "settings/options.h"

namespace kadrel {

// A step for the scan worker (it keeps its own line list; use it on one thread).
DocumentStep MakeDocumentStep(const TMainOption& options, IMessageBox& messages);

}  // namespace kadrel
