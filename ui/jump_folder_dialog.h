#pragma once
// The jump-folder dialog ("フォルダジャンプ"): the 26 jump folders A … Z; the one chosen
// is opened by the main window as its jump-folder command.

#include <array>
#include <string>

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

#include "base/message_box.h"
#include "ui/dialog_list_options.h"

namespace kadrel {

class JumpFolderDialog : public QDialog {
  Q_OBJECT

 public:
  JumpFolderDialog(const std::array<std::string, 26>& folders, const DialogListLook& look, IMessageBox& messages,
                   QWidget* parent = nullptr);

  // The letter chosen (0 = "A") once the dialog was accepted; -1 otherwise.
  int ChosenLetter() const { return chosen_; }
  QTreeWidget& List() { return list_; }
  QPushButton& OkButton() { return ok_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  enum class Source { OkButton, Other };
  // Opens `row` (-1: none selected); stays open when there is nothing to open.
  void OpenRow(int row, Source source);
  int SelectedRow() const;

  std::array<std::string, 26> folders_;
  IMessageBox& messages_;
  QTreeWidget list_;
  QPushButton ok_;
  QPushButton cancel_;
  int chosen_ = -1;
};

}  // namespace kadrel
