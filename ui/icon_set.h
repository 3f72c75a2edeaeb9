#pragma once
// The small pictures of the lists: image 0 the parent entry, 1..15 the formats (odd
// plain, even with lyrics; 15 play lists) and 16 the folder. Drawn once at start-up
// so that they follow no theme and stay consistent with each other.

#include <vector>

#include <QIcon>

namespace kadrel {

inline constexpr int kImageCount = 17;

// Needs a QGuiApplication. Each icon holds 16 and 32 pixel pictures.
std::vector<QIcon> MakeListIcons();
// Image 16 alone, for the folder pane.
QIcon MakeFolderIcon();

}  // namespace kadrel
