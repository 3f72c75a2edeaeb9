#pragma once
// The logic of the play-list load and save dialogs: which choices are offered, which
// is preselected, when the confirm button may be pressed. Paths are file-system bytes.

#include <functional>
#include <string>
#include <string_view>

namespace kadrel {

enum class PlayListLoadMethod { Replace, Append, Detail };

struct LoadDialogPlan {
  bool focusedChoice = false;  // the focused file-list item is a play-list file
  bool chooserAtOnce = false;  // no such item: the file chooser opens at once
};
LoadDialogPlan PlanLoadDialog(const std::string& focusedPlayListFile);

// "Save first" is offered with items in the list, and not when the file only opens in
// the detail window.
bool SaveFirstEnabled(bool listEmpty, PlayListLoadMethod method);
// Loading needs an existing file; the detail window only shows the focused item.
bool LoadAllowed(bool useFocused, const std::string& named, PlayListLoadMethod method,
                 const std::function<bool(const std::string&)>& fileExists);

enum class SaveTarget { LastLoaded, Focused, Named };

struct SaveDialogPlan {
  bool lastLoaded = false;  // the list's file is offered
  bool focused = false;     // the focused play-list file is offered
  SaveTarget preselected = SaveTarget::Named;
  bool chooserAtOnce = false;
};
// `firstStepOfLoading`: the save runs before loading the focused file, which therefore
// is not offered as a target.
SaveDialogPlan PlanSaveDialog(const std::string& lastLoaded, const std::string& focusedPlayListFile,
                              bool firstStepOfLoading);
// The named file needs an existing folder; the two preset targets are always ready.
bool SaveAllowed(SaveTarget target, const std::string& named, const std::function<bool(const std::string&)>& folderExists);
// Preset targets are written as they are; a named file asks before replacing one.
inline bool SaveAsksBeforeOverwrite(SaveTarget target) { return target == SaveTarget::Named; }

// A path for a label (UTF-8): at most `limit` characters, the front cut and marked
// with "..."; empty gives "[該当するファイルがありません]".
std::string ShortPathLabel(std::string_view utf8, size_t limit = 50);

}  // namespace kadrel
