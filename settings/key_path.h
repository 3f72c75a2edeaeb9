#pragma once
// Key paths of the settings tree: "\Option", "\startup\show", "\SMFK\GS". The root is
// the empty path. Components are separated by "\"; a Shift-JIS character whose second
// byte is 0x5C ("表") stays inside its component.

#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// The components of a key path; empty components (leading, doubled or trailing "\")
// are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

// "\a\b" form of components; the root is "".
std::string JoinKeyPath(const std::vector<std::string>& components);

// Name as compared: ASCII letters upper-cased, double-byte characters left whole.
std::string FoldName(std::string_view name);

// Folded form of a whole key path ("\OPTION"), normalised as JoinKeyPath does.
std::string FoldKeyPath(std::string_view path);

}  // namespace kadrel
