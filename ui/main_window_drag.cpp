// Dragging from the file list: rows for the play list, files for other programs.

#include <QCoreApplication>
#include <QDrag>
#include <QFile>
#include <QFileInfo>

#include "archive/lha_unpack.h"
#include "ui/file_drag_data.h"
#include "ui/main_window.h"
#include "ui/play_list_drag.h"

namespace kadrel {

QMimeData* MainWindow::MakeFileListDragData(quint64& token) {
  std::vector<QUrl> loose;
  std::vector<DraggedMember> members;
  std::vector<PlayListSource> entries = FileListSelectionSources();
  for (const PlayListSource& entry : entries) {
    const TMusicFileInfo& r = entry.Music;
    if (r.ItemKind == kLooseFile) {
      const QString path = QFile::decodeName(QByteArray::fromStdString(current_ + r.FullName()));
      if (QFileInfo(path).isFile()) loose.push_back(QUrl::fromLocalFile(path));
    } else if (r.ItemKind == kArchiveMember && QFileInfo(QFile::decodeName(QByteArray::fromStdString(current_ + r.Archiver))).isFile()) {
      members.push_back({current_ + r.Archiver, r.FullName()});
    }
  }
  if (loose.empty() && members.empty() && entries.empty()) return nullptr;
  const std::string ole = settings_.scan.main.TempFolder.empty() ? std::string() : settings_.scan.main.TempFolder + "OLE/";
  auto unpack = [this](const DraggedMember& member, const std::string& folder) {
    return UnpackAndWait(member.archivePath, "\"" + member.name + "\"", "", folder, messages_,
                         [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); },
                         [this] { return phase_ != LifePhase::Closing; });
  };
  const std::string dragId = std::to_string(QCoreApplication::applicationPid()) + "-" + std::to_string(++dragCount_);
  auto* mime = new FileDragData(std::move(loose), ole.empty() ? std::vector<DraggedMember>{} : std::move(members), ole,
                                dragId, unpack);
  // The play list takes the rows through the private type, with a copy of each entry.
  token = InternalDrag::Instance().Begin(*mime, DragSource::FileList, std::move(entries), {});
  return mime;
}

void MainWindow::StartDrag(int) {
  quint64 token = 0;
  QMimeData* mime = MakeFileListDragData(token);
  if (!mime) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  // Offered as copies only: a target that moved them would take the files away.
  drag->exec(Qt::CopyAction, Qt::CopyAction);
  InternalDrag::Instance().End(token);
}

}  // namespace kadrel
