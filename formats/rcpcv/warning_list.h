#pragma once
// Conversion warnings: each distinct text once, with how often it occurred.

#include <string>
#include <utility>
#include <vector>

namespace kadrel {

class WarningList {
 public:
  void Add(const std::string& text) {
    for (auto& [t, n] : items_) {
      if (t == text) {
        ++n;
        return;
      }
    }
    items_.emplace_back(text, 1);
  }
  bool Empty() const { return items_.empty(); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& [t, n] : items_) out.push_back(n == 1 ? t : t + " (" + std::to_string(n) + " times)");
    return out;
  }

 private:
  std::vector<std::pair<std::string, int>> items_;
};

}  // namespace kadrel
