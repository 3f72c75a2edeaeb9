#pragma once
// What a drag from the file list offers other programs: loose files as they lie, and
// archive members as the files they become once unpacked. A member is unpacked only
// when the target asks for the data, into a folder of its own under the temporary
// "OLE/" folder (so that same-named members of two archives never meet); a member
// that cannot be unpacked is left out of the list.

#include <functional>
#include <string>
#include <vector>

#include <QMimeData>
#include <QUrl>

namespace kadrel {

struct DraggedMember {
  std::string archivePath;  // folder + archive name
  std::string name;         // member name (CP932 bytes, as the archive stores it)
};

// Unpacks `member` into `folder` (which exists); true on success.
using MemberUnpacker = std::function<bool(const DraggedMember& member, const std::string& folder)>;

class FileDragData : public QMimeData {
  Q_OBJECT

 public:
  // `oleFolder` is the temporary folder + "OLE/"; `dragId` names this drag's folders.
  FileDragData(std::vector<QUrl> looseFiles, std::vector<DraggedMember> members, std::string oleFolder,
               std::string dragId, MemberUnpacker unpack);

  bool hasFormat(const QString& mimeType) const override;
  QStringList formats() const override;
  bool Unpacked() const { return unpacked_; }

 protected:
  QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

 private:
  void UnpackMembers() const;

  std::vector<QUrl> loose_;
  std::vector<DraggedMember> members_;
  std::string ole_;
  std::string dragId_;
  MemberUnpacker unpack_;
  mutable std::vector<QUrl> urls_;
  mutable bool unpacked_ = false;
};

// Removes the member folders drags of this process made under `oleFolder`.
void RemoveDragFolders(const std::string& oleFolder);

}  // namespace kadrel
