#pragma once
// Sound-module names as keys of the settings tree: each module is stored as one
// subkey of "\SMFK" named after it, so a name must make exactly one key and no two
// names may fold to the same key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/smfk_info.h"

namespace kadrel {

inline constexpr int32_t kModulePriorityMin = 0;
inline constexpr int32_t kModulePriorityMax = 300;

// A damaged stored priority brought into 0 … 300.
int32_t ClampModulePriority(int32_t priority);

// The names (stored bytes) name the same key: equal when ASCII letter case is ignored.
bool SameModuleKey(std::string_view a, std::string_view b);

// What keeps a module list from being saved as it stands. Every offender is named once.
struct SoundModuleNameCheck {
  int emptyNames = 0;                                    // modules without a name
  std::vector<std::string> unusable;                     // holding "\" or otherwise not one key
  std::vector<std::vector<std::string>> sameKey;         // groups of names equal ignoring case
  bool ok() const { return emptyNames == 0 && unusable.empty() && sameKey.empty(); }
};

SoundModuleNameCheck CheckSoundModuleNames(const std::vector<TSmfkItem>& items);

}  // namespace kadrel
