#pragma once
// The drive dialog ("ドライブの選択"): the drive letters that name a folder on a mounted
// volume, with the kind of medium and the label; the main window goes to the one chosen.

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/dialog_list_options.h"
#include "index/drive_letters.h"

namespace kadrel {

namespace drive_dialog {
inline constexpr const char* kCaption = "ドライブの選択";
inline constexpr const char* kPrompt = "移動したいドライブを選択してください.";
}  // namespace drive_dialog

class DriveDialog : public QDialog {
  Q_OBJECT

 public:
  DriveDialog(const DriveRows& drives, const DialogListLook& look, QWidget* parent = nullptr);

  // The letter chosen (0 = "A") once the dialog was accepted; -1 otherwise.
  int ChosenLetter() const { return chosen_; }
  QTreeWidget& List() { return list_; }
  QPushButton& OkButton() { return ok_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Choose(int letter);
  void OpenSelected();

  DriveRows drives_;
  QTreeWidget list_;
  QPushButton ok_;
  QPushButton cancel_;
  int chosen_ = -1;
};

}  // namespace kadrel
