#pragma once
// The play-list load dialog ("PlayListの読み込み") and save dialog ("PlayListの保存").
// Paths are file-system bytes. Opening the file chooser "at once" happens in Run(),
// so that a dialog built by a test shows nothing by itself.

#include <string>

#include <QDialog>

#include "ui/play_list_dialog_plan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kadrel {

class PlayListLoadDialog : public QDialog {
  Q_OBJECT

 public:
  PlayListLoadDialog(const std::string& focusedPlayListFile, bool listEmpty, QWidget* parent = nullptr);

  // Shows the dialog (the chooser first when no focused file is offered); true on Load.
  bool Run();

  bool UseFocused() const;
  std::string Path() const;  // the file to load
  PlayListLoadMethod Method() const;
  bool SaveFirst() const;
  void SetNamedPath(const std::string& path);
  void SetMethod(PlayListLoadMethod method);
  void SetSaveFirst(bool on);
  bool LoadEnabled() const;

 private:
  void UpdateControls();
  bool Choose();

  std::string focused_;
  bool listEmpty_;
  LoadDialogPlan plan_;
  QRadioButton* focusedChoice_ = nullptr;
  QRadioButton* namedChoice_ = nullptr;
  QLineEdit* named_ = nullptr;
  QRadioButton* replace_ = nullptr;
  QRadioButton* append_ = nullptr;
  QRadioButton* detail_ = nullptr;
  QCheckBox* saveFirst_ = nullptr;
  QPushButton* load_ = nullptr;
};

class PlayListSaveDialog : public QDialog {
  Q_OBJECT

 public:
  PlayListSaveDialog(const std::string& lastLoaded, const std::string& focusedPlayListFile, bool firstStepOfLoading,
                     QWidget* parent = nullptr);

  bool Run();

  SaveTarget Target() const;
  std::string Path() const;
  void SetTarget(SaveTarget target);
  void SetNamedPath(const std::string& path);
  bool SaveEnabled() const;

 private:
  void UpdateControls();
  bool Choose();

  std::string lastLoaded_;
  std::string focused_;
  SaveDialogPlan plan_;
  QRadioButton* lastChoice_ = nullptr;
  QRadioButton* focusedChoice_ = nullptr;
  QRadioButton* namedChoice_ = nullptr;
  QLineEdit* named_ = nullptr;
  QPushButton* save_ = nullptr;
};

}  // namespace kadrel
