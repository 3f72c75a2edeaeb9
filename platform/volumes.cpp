#include "platform/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kadrel {

bool FolderReady(const QString& folder) {
  QFileInfo info(folder);
  if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
  QStorageInfo volume(folder);
  return volume.isValid() && volume.isReady();
}

FolderState FolderStateOf(const QString& folder) {
  QFileInfo info(folder);
  if (!info.isDir()) return FolderState::Missing;
  if (!info.isReadable() || !info.isExecutable()) return FolderState::Unreadable;
  QStorageInfo volume(folder);
  return volume.isValid() && volume.isReady() ? FolderState::Ready : FolderState::NotReady;
}

QString NearestExistingFolder(const QString& folder) {
  QString path = QDir::cleanPath(folder);
  while (!QFileInfo(path).isDir() && path != QStringLiteral("/") && !path.isEmpty()) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    path = slash <= 0 ? QStringLiteral("/") : path.left(slash);
  }
  return path.isEmpty() ? QStringLiteral("/") : path;
}

QString VolumeRoot(const QString& folder) {
  QStorageInfo volume(folder);
  QString root = volume.isValid() ? volume.rootPath() : QStringLiteral("/");
  if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
  return root;
}

}  // namespace kadrel
