#include "ui/play_list_dialog_plan.h"

#include <vector>

#include "base/path_helpers.h"

namespace kadrel {

LoadDialogPlan PlanLoadDialog(const std::string& focusedPlayListFile) {
  LoadDialogPlan plan;
  plan.focusedChoice = !focusedPlayListFile.empty();
  plan.chooserAtOnce = !plan.focusedChoice;
  return plan;
}

bool SaveFirstEnabled(bool listEmpty, PlayListLoadMethod method) {
  return !listEmpty && method != PlayListLoadMethod::Detail;
}

bool LoadAllowed(bool useFocused, const std::string& named, PlayListLoadMethod method,
                 const std::function<bool(const std::string&)>& fileExists) {
  if (useFocused) return true;
  if (method == PlayListLoadMethod::Detail) return false;
  return !named.empty() && fileExists && fileExists(named);
}

SaveDialogPlan PlanSaveDialog(const std::string& lastLoaded, const std::string& focusedPlayListFile,
                              bool firstStepOfLoading) {
  SaveDialogPlan plan;
  plan.lastLoaded = !lastLoaded.empty();
  plan.focused = !focusedPlayListFile.empty() && !firstStepOfLoading;
  plan.preselected = plan.lastLoaded ? SaveTarget::LastLoaded : plan.focused ? SaveTarget::Focused : SaveTarget::Named;
  plan.chooserAtOnce = plan.preselected == SaveTarget::Named;
  return plan;
}

bool SaveAllowed(SaveTarget target, const std::string& named, const std::function<bool(const std::string&)>& folderExists) {
  if (target != SaveTarget::Named) return true;
  if (named.empty() || named.back() == '/') return false;
  const std::string folder = FolderOfPath(named);
  return !folder.empty() && folderExists && folderExists(folder);
}

std::string ShortPathLabel(std::string_view utf8, size_t limit) {
  if (utf8.empty()) return "[該当するファイルがありません]";
  // Count characters, not bytes: a lead byte starts each one.
  std::vector<size_t> starts;
  for (size_t i = 0; i < utf8.size(); ++i)
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) starts.push_back(i);
  if (starts.size() <= limit || limit <= 3) return std::string(utf8);
  const size_t keep = limit - 3;
  return "..." + std::string(utf8.substr(starts[starts.size() - keep]));
}

}  // namespace kadrel
