#include "settings/key_path.h"

#include "base/encoding.h"
#include "base/text_helpers.h"

namespace kadrel {

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  const bool sjis = !IsValidUtf8(path);
  std::string current;
  for (size_t i = 0; i < path.size(); ++i) {
    auto c = static_cast<unsigned char>(path[i]);
    if (sjis && IsSjisLeadByte(c) && i + 1 < path.size()) {
      current += path[i];
      current += path[++i];
      continue;
    }
    if (c == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
      continue;
    }
    current += path[i];
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

std::string JoinKeyPath(const std::vector<std::string>& components) {
  std::string path;
  for (const auto& c : components) {
    path += '\\';
    path += c;
  }
  return path;
}

std::string FoldName(std::string_view name) { return ToUpperAscii(name); }

std::string FoldKeyPath(std::string_view path) {
  std::string folded;
  for (const auto& c : SplitKeyPath(path)) {
    folded += '\\';
    folded += FoldName(c);
  }
  return folded;
}

std::string KeyPathProblem(std::string_view path) {
  const std::vector<std::string> parts = SplitKeyPath(path);
  if (parts.size() > kMaxKeyDepth)
    return "key deeper than " + std::to_string(kMaxKeyDepth) + " levels (" + std::to_string(parts.size()) + ")";
  for (const std::string& part : parts)
    if (part.size() > kMaxKeyComponentBytes)
      return "key name longer than " + std::to_string(kMaxKeyComponentBytes) + " bytes (" +
             std::to_string(part.size()) + ")";
  return {};
}

std::string ValueProblem(std::string_view name, std::string_view text) {
  if (name.size() > kMaxValueNameBytes)
    return "value name longer than " + std::to_string(kMaxValueNameBytes) + " bytes (" + std::to_string(name.size()) +
           ")";
  if (text.size() > kMaxValueTextBytes)
    return "value longer than " + std::to_string(kMaxValueTextBytes) + " bytes (" + std::to_string(text.size()) + ")";
  return {};
}

}  // namespace kadrel
