#pragma once
// The folder and file dialogs of "基本設定". Tests give their own answers instead;
// nullopt is Cancel. Paths are file-system bytes.

#include <functional>
#include <optional>
#include <string>

#include <QStringList>

class QWidget;

namespace kadrel {

struct MainChoosers {
  // A folder: title, the folder to start in (may be empty).
  std::function<std::optional<std::string>(const QString& title, const std::string& start, QWidget* parent)> folder;
  // A file: title, name filters (the first is offered first), the folder to start in.
  std::function<std::optional<std::string>(const QString& title, const QStringList& filters, const std::string& start,
                                           QWidget* parent)>
      file;
  static MainChoosers Standard();
};

// Where a chooser starts: the folder of `path` (or `path` itself when `isFolder`) when it
// exists, else the program's own folder.
std::string ChooserStartFolder(const std::string& path, bool isFolder, const std::string& programFolder);
// The file name of `path` without folder and extension ("/usr/bin/vlc" -> "vlc").
std::string ProgramStem(const std::string& path);

}  // namespace kadrel
