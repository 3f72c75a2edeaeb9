#pragma once
// The start dialog of continuous play ("ListPlayの初期設定"): the first item, the
// mode, the end after every item was played, and whether lyrics files of archive
// members are left out. The controller takes Result() once the dialog was accepted.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

#include "ui/listplay_rules.h"

namespace kadrel {

class ListPlayStartDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ListPlayStartDialog(const StartDialogSetup& setup, QWidget* parent = nullptr);

  StartDialogChoice Choice() const;
  StartDialogResult Result() const { return ResultOfStartChoice(setup_, Choice()); }

  QRadioButton& FromTop() { return fromTop_; }
  QRadioButton& FromSelected() { return fromSelected_; }
  QRadioButton& ModeButton(int baseMode) { return *modes_[baseMode < 0 || baseMode > 2 ? 0 : baseMode]; }
  QCheckBox& EndWhenAllPlayed() { return endOption_; }
  QCheckBox& LyricsOff() { return lyricsOff_; }
  QPushButton& OkButton() { return ok_; }
  QPushButton& CancelButton() { return cancel_; }

 private:
  StartDialogSetup setup_;
  QRadioButton fromTop_;
  QRadioButton fromSelected_;
  QRadioButton normal_;
  QRadioButton random_;
  QRadioButton shuffle_;
  QRadioButton* modes_[3] = {&normal_, &random_, &shuffle_};
  QButtonGroup firstGroup_;
  QButtonGroup modeGroup_;
  QCheckBox endOption_;
  QCheckBox lyricsOff_;
  QPushButton ok_;
  QPushButton cancel_;
};

}  // namespace kadrel
