#pragma once
// The page "SMFナイフの設定": how the SMF knife runs, and the sound modules it chooses
// from, one tab each (the first is "Default").

#include <string>
#include <vector>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QWidget>

#include "base/message_box.h"
#include "catalog/smfk_info.h"
#include "ui/main_settings_choosers.h"

namespace kadrel {

class SoundModulePage : public QWidget {
  Q_OBJECT

 public:
  SoundModulePage(const TSmfkInfo& info, bool libraryAvailable, IMessageBox& messages, const MainChoosers& choosers,
                  std::string programFolder, QWidget* parent = nullptr);

  // The page's values; the shown fields are taken into their module first.
  TSmfkInfo Values();
  // The dialog's OK button: the default again when the name box loses the focus.
  void SetOkButton(QPushButton* ok) { ok_ = ok; }
  // Selects the module at `index` (its tab).
  void SelectModule(int index) { tabs_->setCurrentIndex(index); }
  QTabBar& Tabs() { return *tabs_; }

  void AddModule();
  void DeleteModule();
  void RenameModule();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowModule(int index);
  void WriteBack(int index);
  void ApplyUsage();
  void SetTabCaption(int index, const QString& name);

  TSmfkInfo info_;
  std::vector<QString> names_;  // the tabs' captions as typed (a tab shows "&" doubled)
  IMessageBox& messages_;
  const MainChoosers& choosers_;
  std::string programFolder_;
  int shown_ = -1;
  bool switching_ = false;
  QPointer<QPushButton> ok_;

  QRadioButton *useLibrary_, *useProgram_, *useNone_;
  QLineEdit* programPath_;
  QPushButton* programBrowse_;
  QGroupBox* modulesGroup_;
  QLineEdit* cfgDir_;
  QCheckBox *byFileName_, *byDocument_, *byTitle_;
  QLineEdit* name_;
  QPushButton *add_, *delete_, *rename_;
  QTabBar* tabs_;
  QLineEdit *cfg_, *findStr_, *findStr2_;
  QSpinBox* priority_;
};

}  // namespace kadrel
