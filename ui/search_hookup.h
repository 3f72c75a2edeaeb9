#pragma once
// The main window's index search: the menu item and the tool-bar button open the
// search window, and a hit opened there is shown in the main window's file list.

#include <QString>

#include "search/index_search.h"

namespace kadrel {

class MainWindow;
class SearchWindow;

// Enables the menu item "Indexを使用した検索(&F)" and its tool-bar button and makes them
// open (or bring forward) the window's search window.
void ConnectIndexSearch(MainWindow& window);
// The search window opened by those, made on first use.
SearchWindow& IndexSearchWindow(MainWindow& window);
// Opens the hit's folder (for an archive member, the folder of the archive) and,
// once it is listed, focuses and selects the hit's row. False when the folder is gone.
bool OpenHitInMainWindow(MainWindow& window, const SearchHit& hit);
// For the documentation: once the first folder is listed, searches for `text` and
// saves a picture of the search window with its hits to `file`, then closes the window.
void ScreenshotSearchWindow(MainWindow& window, const QString& text, const QString& file);

}  // namespace kadrel
