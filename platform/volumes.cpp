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

QString VolumeRoot(const QString& folder) {
  QStorageInfo volume(folder);
  QString root = volume.isValid() ? volume.rootPath() : QStringLiteral("/");
  if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
  return root;
}

}  // namespace kadrel
