#pragma once
// The paths given to the desktop program: from a shell, from a file manager (%F) or as
// file:// addresses (%U). A second start hands them over as absolute paths, because
// the running copy has another working folder.

#include <QString>
#include <QStringList>

namespace kadrel {

// One argument as an absolute, clean local path: a file:// address becomes its path
// (percent escapes decoded), a relative path is taken from `workingFolder`. Options
// (beginning with "-") and addresses of other schemes come back unchanged.
QString ArgumentPath(const QString& argument, const QString& workingFolder);
QStringList ArgumentPaths(const QStringList& arguments, const QString& workingFolder);

// What the first usable path asks for. Options and paths that do not exist are skipped.
struct LaunchTarget {
  // Missing: no path names anything that exists; `folder` holds the first of them.
  enum class Kind { None, Folder, File, PlayList, Missing };
  Kind kind = Kind::None;
  QString folder;    // the folder to open (absolute)
  QString fileName;  // File and PlayList: the name to focus in that folder
};
LaunchTarget ClassifyArguments(const QStringList& paths);

}  // namespace kadrel
