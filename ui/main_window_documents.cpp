// The player pop-up's document submenu: the documents of one music file, found by the
// document-list worker while the window keeps being served.

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>

#include "base/encoding.h"
#include "base/window_bridge.h"
#include "formats/document/text_file_list.h"
#include "scan/lzh_document_access.h"
#include "ui/main_window.h"

namespace kadrel {

namespace {

enum DocumentPlace { kInArchive = 1, kBeside = 0 };

}  // namespace

bool MainWindow::FillDocumentMenu(QMenu& menu, const TMusicFileInfo& item, const std::string& folder) {
  const std::string archive = item.ItemKind == kArchiveMember ? item.Archiver : std::string();
  // The pop-up polls for the end below, so the worker's end call needs no trip to the
  // window's thread (which is busy right here, waiting).
  DirectWindowBridge direct;
  TGetTextFileList worker(folder, archive, item.FullName(), settings_.scan.main.InfoGetType,
                          LzhTextFileListArchiveAccess(), direct, [] {});
  worker.Start();
  while (!worker.Finished()) {
    if (phase_ == LifePhase::Closing) return false;  // the worker is told to end and joined
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (phase_ == LifePhase::Closing) return false;
  // The place is kept in the action's data: a loose file may itself be named "* x.txt".
  auto add = [&menu](const QString& caption, DocumentPlace place, const std::string& name) {
    QAction* action = menu.addAction(caption);
    action->setData(QVariantList{static_cast<int>(place), QByteArray::fromStdString(name)});
  };
  for (const std::string& name : worker.ArchiveDocuments())
    add(QStringLiteral("* ") + QString::fromStdString(DisplayText(name)), kInArchive, name);
  for (const std::string& name : worker.BesideDocuments())
    add(QString::fromStdString(DisplayText(name)), kBeside, name);
  menu.setEnabled(!menu.actions().isEmpty());
  connect(&menu, &QMenu::triggered, this, [this, archive, folder](QAction* action) {
    const QVariantList data = action->data().toList();
    if (data.size() != 2) return;
    const std::string name = data[1].toByteArray().toStdString();
    const bool inArchive = data[0].toInt() == kInArchive;
    Player().OpenNonMusic(inArchive ? archive : std::string(), name, folder, settings_.player.textOpenType);
  });
  return true;
}

}  // namespace kadrel
