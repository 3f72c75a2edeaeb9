#include "ui/folder_tree_icons.h"

#include <QFileInfo>

namespace kadrel {

FolderTreeIcons::FolderTreeIcons(QIcon folder, QIcon drive, QIcon file)
    : folder_(std::move(folder)), drive_(std::move(drive)), file_(std::move(file)) {}

QIcon FolderTreeIcons::icon(IconType type) const {
  switch (type) {
    case Computer:
    case Drive:
    case Network:
      return drive_;
    case File:
      return file_;
    default:
      return folder_;
  }
}

QIcon FolderTreeIcons::icon(const QFileInfo& info) const {
  if (info.isRoot()) return drive_;
  return info.isDir() ? folder_ : file_;
}

// Only the model's hidden type column and its sorting by type would show these.
QString FolderTreeIcons::type(const QFileInfo& info) const {
  if (info.isRoot()) return QStringLiteral("Drive");
  return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace kadrel
