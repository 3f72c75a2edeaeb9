#pragma once
// File paths are bytes in the file system's encoding; the window shows and edits them
// as QString. Qt's own file-name codec does both ways, so any path comes back unchanged.

#include <string>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kadrel {

inline QString PathText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }
inline std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace kadrel
