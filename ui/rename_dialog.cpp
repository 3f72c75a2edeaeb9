#include "ui/rename_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "archive/unlha.h"
#include "base/encoding.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

std::optional<QString> RenameDialog::CaptionFor(const TMusicFileInfo& entry) {
  const std::optional<RenameKind> kind = RenameKindOf(entry);
  if (!kind) return std::nullopt;
  const char* suffix = *kind == RenameKind::Folder      ? " [フォルダ名の変更]"
                       : *kind == RenameKind::LooseFile ? " [ファイル名の変更]"
                                                        : " [圧縮ファイル名の変更]";
  return U("名前の変更") + U(suffix);
}

RenameDialog::RenameDialog(const TMusicFileInfo& entry, std::string folder, IMessageBox& messages, QWidget* parent)
    : QDialog(parent), entry_(entry), folder_(std::move(folder)), messages_(messages),
      engine_(messages, UnLhaManagement()) {
  setObjectName(QStringLiteral("TReNameForm"));
  setWindowTitle(CaptionFor(entry).value_or(U("名前の変更")));
  setAccessibleName(windowTitle());
  setModal(true);
  const std::optional<RenameKind> kind = RenameKindOf(entry);

  struct Field {
    QLineEdit& edit;
    const char* name;
    const char* caption;
    bool editable;
  };
  const Field fields[] = {
      {fileName_, "Edit_FileName", "ファイル名", true},
      {fileType_, "Edit_FileType", "拡張子", entry.FileType < 0},
      {arcName_, "Edit_ArcName", "圧縮ファイル名", kind == RenameKind::Member},
      {arcType_, "Edit_ArcType", "圧縮ファイルの拡張子", false},
  };
  auto* grid = new QGridLayout;
  oldName_.setText(U("元の名前 : ") + Q(DisplayText(entry.FullName())));
  oldArchive_.setText(U("元の圧縮ファイル名 : ") +
                      (kind == RenameKind::Member ? Q(DisplayText(entry.Archiver)) : U(kNotAnArchiveText)));
  hint_.setText(U("※拡張子にピリオドは不要です."));
  for (QLabel* label : {&oldName_, &oldArchive_, &hint_}) label->setAccessibleName(label->text());
  grid->addWidget(&oldName_, 0, 0, 1, 3);
  int row = 1;
  for (int pair = 0; pair < 2; ++pair) {
    const Field& name = fields[pair * 2];
    const Field& type = fields[pair * 2 + 1];
    for (const Field* f : {&name, &type}) {
      f->edit.setObjectName(QString::fromLatin1(f->name));
      f->edit.setAccessibleName(U(f->caption));
      f->edit.setReadOnly(!f->editable);
      f->edit.setEnabled(f->editable);
      connect(&f->edit, &QLineEdit::textEdited, this, &RenameDialog::FieldEdited);
    }
    auto* dot = new QLabel(QStringLiteral("."));
    dot->setAccessibleName(U("ピリオド"));
    grid->addWidget(&name.edit, row, 0);
    grid->addWidget(dot, row, 1);
    grid->addWidget(&type.edit, row, 2);
    if (pair == 0) grid->addWidget(&oldArchive_, ++row, 0, 1, 3);
    ++row;
  }
  grid->addWidget(&hint_, row++, 0, 1, 3);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(2, 1);

  ok_.setText(QStringLiteral("OK"));
  ok_.setAccessibleName(QStringLiteral("OK"));
  ok_.setDefault(true);
  cancel_.setText(U("キャンセル"));
  cancel_.setAccessibleName(cancel_.text());
  connect(&ok_, &QPushButton::clicked, this, &RenameDialog::Ok);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(&ok_);
  buttons->addWidget(&cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  setMinimumWidth(420);

  Fill(InitialRenameFields(entry));
  if (kind == RenameKind::Member && !LhaAvailable()) {
    fileName_.clear();
    oldName_.clear();
    ok_.setEnabled(false);
    messages_.Error(kLhaMissingMessage);
  }
}

void RenameDialog::Fill(const RenameFields& fields) {
  fileName_.setText(Q(fields.fileName));
  fileType_.setText(Q(fields.fileType));
  arcName_.setText(Q(fields.arcName));
  arcType_.setText(Q(fields.arcType));
  ok_.setEnabled(true);
}

void RenameDialog::FieldEdited(const QString& text) { ok_.setEnabled(!text.isEmpty()); }

void RenameDialog::Ok() {
  if (forgotten_) return;
  RenameFields fields{fileName_.text().toStdString(), fileType_.text().toStdString(), arcName_.text().toStdString(),
                      arcType_.text().toStdString()};
  outcome_ = engine_.Apply(entry_, fields, folder_, nullptr);
  switch (outcome_.status) {
    case RenameStatus::Renamed:
    case RenameStatus::Unchanged:
      accept();
      return;
    case RenameStatus::Forgotten:
      forgotten_ = true;
      return;
    case RenameStatus::Refused:
      if (outcome_.restoreFields) Fill(InitialRenameFields(entry_));
      return;
  }
}

}  // namespace kadrel
