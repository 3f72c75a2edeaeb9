#include "platform/launch_arguments.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

namespace kadrel {

QString ArgumentPath(const QString& argument, const QString& workingFolder) {
  if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) return argument;
  QString path = argument;
  if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
    const QUrl url(argument);
    // file://host/… names another machine unless the host is this one.
    const QString host = url.host();
    const bool here = host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
                      host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
    if (!url.isValid() || !url.isLocalFile() || !here) return argument;
    path = url.path(QUrl::FullyDecoded);
  } else if (argument.contains(QLatin1String("://"))) {
    return argument;
  }
  if (QDir::isRelativePath(path)) path = QDir(workingFolder).absoluteFilePath(path);
  return QDir::cleanPath(path);
}

QStringList ArgumentPaths(const QStringList& arguments, const QString& workingFolder) {
  QStringList paths;
  paths.reserve(arguments.size());
  for (const QString& a : arguments) paths << ArgumentPath(a, workingFolder);
  return paths;
}

LaunchTarget ClassifyArguments(const QStringList& paths) {
  LaunchTarget missing;  // the first path that names nothing, when no other exists
  for (const QString& path : paths) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('-')) || !path.startsWith(QLatin1Char('/'))) continue;
    const QFileInfo info(path);
    LaunchTarget target;
    if (info.isDir()) {
      target.kind = LaunchTarget::Kind::Folder;
      target.folder = info.absoluteFilePath();
      return target;
    }
    if (!info.exists() && missing.folder.isEmpty()) {
      missing.kind = LaunchTarget::Kind::Missing;
      missing.folder = path;
    }
    if (!info.isFile()) continue;
    target.kind = info.suffix().compare(QLatin1String("mpl"), Qt::CaseInsensitive) == 0 ? LaunchTarget::Kind::PlayList
                                                                                         : LaunchTarget::Kind::File;
    target.folder = info.absolutePath();
    target.fileName = info.fileName();
    return target;
  }
  return missing;
}

}  // namespace kadrel
