#include "ui/jump_folder_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "index/drive_letters.h"
#include "settings/jump_folder_choice.h"
#include "sorting/sort_controls.h"
#include "ui/dialog_list_options.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;

JumpFolderDialog::JumpFolderDialog(const std::array<std::string, 26>& folders, const DialogListLook& look,
                                   IMessageBox& messages, QWidget* parent)
    : QDialog(parent), folders_(folders), messages_(messages), ok_(U("&OK")), cancel_(U(sort_window::kCancelCaption)) {
  setObjectName(QStringLiteral("TJumpFolderForm"));
  setWindowTitle(U(jump_dialog::kCaption));
  setModal(true);
  resize(600, 440);  // room for the 500-pixel folder column beside the letters

  list_.setObjectName(QStringLiteral("JF_List"));
  list_.setAccessibleName(U(jump_dialog::kCaption));
  list_.setColumnCount(2);
  list_.setHeaderLabels({QStringLiteral("Key"), QStringLiteral("Folder")});
  list_.setRootIsDecorated(false);
  list_.setSelectionMode(QAbstractItemView::SingleSelection);
  list_.setSortingEnabled(false);
  ApplyDialogListOptions(list_, look, [this] { OpenRow(SelectedRow(), Source::Other); });
  for (size_t i = 0; i < folders_.size(); ++i) {
    auto* item = new QTreeWidgetItem(&list_);
    item->setText(0, QString(QLatin1Char(static_cast<char>('A' + i))));
    item->setText(1, QString::fromStdString(DisplayText(folders_[i])));
  }
  list_.setColumnWidth(1, 500);
  list_.resizeColumnToContents(0);
  list_.setColumnWidth(0, list_.columnWidth(0) + 16);
  list_.installEventFilter(this);
  connect(&list_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenRow(SelectedRow(), Source::Other); });

  ok_.setAccessibleName(QStringLiteral("OK"));
  cancel_.setAccessibleName(U("キャンセル"));
  ok_.setAutoDefault(false);
  cancel_.setAutoDefault(false);
  connect(&ok_, &QPushButton::clicked, this, [this] { OpenRow(SelectedRow(), Source::OkButton); });
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);

  // The buttons keep to the right edge of the panel below the list.
  auto* panel = new QHBoxLayout;
  panel->addWidget(new QLabel(U(jump_dialog::kPrompt)), 1);
  panel->addWidget(&ok_);
  panel->addWidget(&cancel_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(&list_, 1);
  column->addLayout(panel);
}

void JumpFolderDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  list_.setCurrentItem(list_.topLevelItem(0));
  list_.setFocus();
}

int JumpFolderDialog::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_.selectedItems();
  return selected.isEmpty() ? -1 : list_.indexOfTopLevelItem(selected.front());
}

void JumpFolderDialog::OpenRow(int row, Source source) {
  const JumpChoice choice = ChooseJumpFolder(folders_, row, IsExistingFolder);
  switch (choice.outcome) {
    case JumpChoice::Outcome::NoSelection:
      if (source == Source::OkButton) messages_.Error(jump_dialog::kNoSelection);
      return;
    case JumpChoice::Outcome::Nothing: return;
    case JumpChoice::Outcome::Missing: messages_.Error(choice.message); return;
    case JumpChoice::Outcome::Open:
      chosen_ = choice.letter;
      accept();
      return;
  }
}

bool JumpFolderDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &list_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    OpenRow(SelectedRow(), Source::Other);
    return true;
  }
  const int row = LetterIndexOfKey(key->key());
  if (row < 0 || SelectedRow() < 0) return false;
  list_.setCurrentItem(list_.topLevelItem(row));
  OpenRow(row, Source::Other);
  return true;
}

}  // namespace kadrel
