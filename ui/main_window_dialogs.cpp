// The main window's dialogs (jump folder, drive, sort) and its drive-letter commands.

#include <QDir>
#include <QFile>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "index/drive_letters.h"
#include "index/volume_label.h"
#include "platform/volumes.h"
#include "ui/drive_dialog.h"
#include "ui/path_text.h"
#include "ui/jump_folder_dialog.h"
#include "ui/main_window.h"
#include "ui/sort_window.h"
#include "ui/texts.h"

namespace kadrel {

namespace {

DialogListLook ListLook(const WindowSettings& settings) {
  return {settings.scan.view, settings.dialogFont ? &*settings.dialogFont : nullptr};
}


}  // namespace

void MainWindow::ShowJumpFolderDialog() {
  JumpFolderDialog dialog(settings_.jumpFolders, ListLook(settings_), messages_, this);
  if (dialog.exec() == QDialog::Accepted && dialog.ChosenLetter() >= 0) OpenJumpFolder(dialog.ChosenLetter());
}

void MainWindow::ShowDriveDialog() {
  RefreshDriveLetters();
  const VolumeTable volumes = volumeSource();
  const DriveRows rows =
      ListDrives(settings_.driveLetters, volumes, current_, [](const VolumeInfo& v) { return VolumeLabel(v); });
  DriveDialog dialog(rows, ListLook(settings_), this);
  if (dialog.exec() == QDialog::Accepted && dialog.ChosenLetter() >= 0) ChangeDrive(dialog.ChosenLetter());
}

void MainWindow::ShowSortWindow() {
  SortWindow window(
      scan_->Sort(),
      [this] {
        if (!busy_) return SortFileList();
        pendingHeaderSort_ = true;  // sorted when the pass is over
        ShowSortMark();
        return true;
      },
      messages_, this);
  window.exec();
}

void MainWindow::RefreshDriveLetters() {
  if (AssignDriveLetters(settings_.driveLetters, volumeSource().Volumes(), PathBytes(QDir::homePath())) &&
      onSaveDriveLetters)
    onSaveDriveLetters(settings_.driveLetters);
}

void MainWindow::RecordDriveVisit(const std::string& folder) {
  const int letter = DriveLetterOf(settings_.driveLetters, folder);
  if (letter >= 0) lastFolderOnDrive_[static_cast<size_t>(letter)] = folder;
}

void MainWindow::ChangeDrive(int letterIndex) {
  if (letterIndex < 0 || letterIndex >= kDriveLetters) return;
  RefreshDriveLetters();
  const size_t letter = static_cast<size_t>(letterIndex);
  // A letter that names no folder, or a volume that is gone, is a drive that is not
  // ready: said in the status bar, the folder shown stays.
  const std::string root = WithTrailingSlash(settings_.driveLetters[letter]);
  if (settings_.driveLetters[letter].empty() || !IsExistingFolder(root)) {
    messages_.Beep(BeepKind::Warning);
    status_.SetPanel(1, QString::fromUtf8(text::kDriveNotReady));
    return;
  }
  std::string target = lastFolderOnDrive_[letter].empty() ? root : lastFolderOnDrive_[letter];
  if (target != root && !IsExistingFolder(target) && IsExistingFolder(root)) {
    messages_.Inform(DisplayText(ShortenPath(target, 25)) + " が存在しないので\n" + DisplayText(root) + " を開きます.");
    target = root;
  }
  OpenPath(target);
}

void MainWindow::OpenDriveRoot() {
  if (current_.empty()) return;
  RefreshDriveLetters();
  const int letter = DriveLetterOf(settings_.driveLetters, current_);
  // Under no letter (the user took "/" off the table): the root of the folder's volume.
  const std::string root = letter >= 0 ? settings_.driveLetters[static_cast<size_t>(letter)]
                                       : PathBytes(VolumeRoot(PathText(current_)));
  OpenPath(WithTrailingSlash(root));
}

}  // namespace kadrel
