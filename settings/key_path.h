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

// What the tree holds at most. Each key stores its whole path, so depth and component
// length bound what one key costs; values are bounded likewise.
inline constexpr size_t kMaxKeyDepth = 64;
inline constexpr size_t kMaxKeyComponentBytes = 255;
inline constexpr size_t kMaxValueNameBytes = 255;
inline constexpr size_t kMaxValueTextBytes = 64 * 1024;

// Why a key path cannot be stored ("key deeper than 64 levels", ...); empty when it can.
std::string KeyPathProblem(std::string_view path);
// Why a value cannot be stored under its name (name or text too long); empty when it can.
std::string ValueProblem(std::string_view name, std::string_view text);

}  // namespace kadrel
