#include "scan/lzh_document_access.h"
#include "archive/lzh_names.h"
#include "archive/unlha.h"
#include "archive/unlha_turn.h"

namespace kadrel {

DocumentArchiveAccess LzhDocumentArchiveAccess() {
  DocumentArchiveAccess access;
  access.runCommand = [](const std::string& commandLine) {
    UnlhaSetCursorMode(false);
    Unlha(commandLine);
  };
  access.extractedName = [](std::string_view baseName) { return ExtractedFileName(baseName); };
  return access;
}

TextFileListArchiveAccess LzhTextFileListArchiveAccess() {
  TextFileListArchiveAccess access;
  access.available = LhaAvailable();
  access.takeTurn = [](const std::function<bool()>& giveUp) -> std::function<void()> {
    TUnLhaManagement& table = UnLhaManagement();
    if (!table.Request(kSlotDocumentList, giveUp, std::chrono::milliseconds(10))) return {};
    return [&table] { table.Release(kSlotDocumentList); };
  };
  access.list = [](const std::string& archivePath, const std::string& wildcardText) {
    std::vector<std::string> members;
    UnlhaSetCursorMode(false);
    UnlhaHandle h = UnlhaOpenArchive(archivePath);
    TUnlhaMemberInfo info;
    for (int rc = UnlhaFindFirst(h, wildcardText, info); rc == 0; rc = UnlhaFindNext(h, info))
      members.push_back(info.Name);
    if (h != 0) UnlhaCloseArchive(h);
    return members;
  };
  return access;
}

}  // namespace kadrel
