#include "ui/file_drag_data.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include <QCoreApplication>
#include <QFile>

#include "archive/lzh_names.h"

namespace kadrel {
namespace {

const QString kUriList = QStringLiteral("text/uri-list");

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

FileDragData::FileDragData(std::vector<QUrl> looseFiles, std::vector<DraggedMember> members, std::string oleFolder,
                           std::string dragId, MemberUnpacker unpack)
    : loose_(std::move(looseFiles)),
      members_(std::move(members)),
      ole_(std::move(oleFolder)),
      dragId_(std::move(dragId)),
      unpack_(std::move(unpack)) {}

bool FileDragData::hasFormat(const QString& mimeType) const {
  if (mimeType == kUriList) return !loose_.empty() || !members_.empty();
  return QMimeData::hasFormat(mimeType);
}

QStringList FileDragData::formats() const {
  QStringList list = QMimeData::formats();
  if ((!loose_.empty() || !members_.empty()) && !list.contains(kUriList)) list.prepend(kUriList);
  return list;
}

QVariant FileDragData::retrieveData(const QString& mimeType, QMetaType type) const {
  if (mimeType != kUriList) return QMimeData::retrieveData(mimeType, type);
  UnpackMembers();
  if (type.id() == QMetaType::QByteArray || type.id() == QMetaType::QString) {
    QByteArray text;
    for (const QUrl& url : urls_) text += url.toEncoded() + "\r\n";
    if (type.id() == QMetaType::QString) return QString::fromUtf8(text);
    return text;
  }
  QList<QVariant> list;
  for (const QUrl& url : urls_) list << url;
  return list;
}

void FileDragData::UnpackMembers() const {
  if (unpacked_) return;
  unpacked_ = true;
  urls_ = loose_;
  for (size_t i = 0; i < members_.size(); ++i) {
    const DraggedMember& member = members_[i];
    const std::string onDisk = ExtractedFileName(member.name);
    if (onDisk.empty() || !unpack_) continue;
    // One folder per member: two archives may hold members of the same name.
    const std::string folder = ole_ + dragId_ + "-" + std::to_string(i) + "/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) continue;
    if (unpack_(member, folder) && IsFile(folder + onDisk))
      urls_.push_back(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(folder + onDisk))));
  }
}

void RemoveDragFolders(const std::string& oleFolder) {
  const std::string prefix = std::to_string(QCoreApplication::applicationPid()) + "-";
  std::error_code ec;
  std::vector<std::filesystem::path> mine;
  for (const auto& entry : std::filesystem::directory_iterator(oleFolder, ec)) {
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError) &&
        entry.path().filename().string().rfind(prefix, 0) == 0)
      mine.push_back(entry.path());
  }
  for (const auto& folder : mine) std::filesystem::remove_all(folder, ec);
}

}  // namespace kadrel
