#include "settings/sound_module_names.h"

#include <algorithm>

#include "settings/key_path.h"

namespace kadrel {

int32_t ClampModulePriority(int32_t priority) {
  return std::clamp(priority, kModulePriorityMin, kModulePriorityMax);
}

bool SameModuleKey(std::string_view a, std::string_view b) { return FoldName(a) == FoldName(b); }

SoundModuleNameCheck CheckSoundModuleNames(const std::vector<TSmfkItem>& items) {
  SoundModuleNameCheck check;
  std::vector<bool> grouped(items.size(), false);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& name = items[i].Name;
    if (name.empty()) {
      ++check.emptyNames;
      continue;
    }
    // One key exactly: no "\" between components (a double-byte character whose second
    // byte is 0x5C is part of its name) and within the limits of a key name.
    const std::vector<std::string> parts = SplitKeyPath(name);
    if (parts.size() != 1 || parts[0] != name || !KeyPathProblem("\\SMFK\\" + name).empty()) {
      check.unusable.push_back(name);
      continue;
    }
    if (grouped[i]) continue;
    std::vector<std::string> group{name};
    for (std::size_t j = i + 1; j < items.size(); ++j)
      if (!grouped[j] && SameModuleKey(name, items[j].Name)) {
        grouped[j] = true;
        group.push_back(items[j].Name);
      }
    if (group.size() > 1) check.sameKey.push_back(std::move(group));
  }
  return check;
}

}  // namespace kadrel
