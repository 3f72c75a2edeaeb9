#pragma once
// Key paths of the settings tree, below the program's root key.

#include <string_view>

namespace kadrel::keys {

inline constexpr std::string_view kRoot = "";
inline constexpr std::string_view kMain = "\\Main";
inline constexpr std::string_view kFolder = "\\Folder";
inline constexpr std::string_view kPlayer = "\\Player";
inline constexpr std::string_view kOption = "\\Option";
inline constexpr std::string_view kFont = "\\Font";
inline constexpr std::string_view kListView = "\\ListView";
inline constexpr std::string_view kGrid = "\\Grid";
inline constexpr std::string_view kStartupShow = "\\startup\\show";
inline constexpr std::string_view kStartupSort = "\\startup\\sort";
inline constexpr std::string_view kStartupWindow = "\\startup\\window";
inline constexpr std::string_view kStartupBar = "\\startup\\bar";
inline constexpr std::string_view kSmfk = "\\SMFK";
inline constexpr std::string_view kDrive = "\\Drive";  // drive letter -> folder

// The settings version this program writes.
inline constexpr int kSettingsVersion = 68;

}  // namespace kadrel::keys
