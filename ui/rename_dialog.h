#pragma once
// The rename window: the four name fields of an entry, the OK that renames through
// the rename engine, and the outcome the caller applies to its list and the index.

#include <optional>
#include <string>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "archive/unlha_turn.h"
#include "base/message_box.h"
#include "rename/rename_engine.h"

namespace kadrel {

class RenameDialog : public QDialog {
  Q_OBJECT

 public:
  // The caption for the entry; nothing (after the designed warning) when the entry
  // is not one the window renames.
  static std::optional<QString> CaptionFor(const TMusicFileInfo& entry);

  // `folder` holds the entry (ends in "/").
  RenameDialog(const TMusicFileInfo& entry, std::string folder, IMessageBox& messages, QWidget* parent = nullptr);

  // The OK button's work; the window closes when the rename was done or not needed.
  void Ok();
  const RenameOutcome& Outcome() const { return outcome_; }

  QLineEdit& FileNameField() { return fileName_; }
  QLineEdit& FileTypeField() { return fileType_; }
  QLineEdit& ArcNameField() { return arcName_; }
  QLineEdit& ArcTypeField() { return arcType_; }
  QPushButton& OkButton() { return ok_; }
  QLabel& OldNameLabel() { return oldName_; }
  QLabel& OldArchiveLabel() { return oldArchive_; }

 private:
  void Fill(const RenameFields& fields);
  void FieldEdited(const QString& text);

  TMusicFileInfo entry_;
  std::string folder_;
  IMessageBox& messages_;
  RenameEngine engine_;
  RenameOutcome outcome_;
  bool forgotten_ = false;
  QLineEdit fileName_, fileType_, arcName_, arcType_;
  QLabel oldName_, oldArchive_, hint_;
  QPushButton ok_, cancel_;
};

}  // namespace kadrel
