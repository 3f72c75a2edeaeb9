#include "ui/drive_dialog.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "settings/jump_folder_choice.h"
#include "sorting/sort_controls.h"
#include "ui/dialog_list_options.h"
#include "ui/texts.h"

namespace kadrel {

namespace {

using text::U;

QIcon DriveIcon(const QStyle& style, VolumeKind kind) {
  switch (kind) {
    case VolumeKind::CdRom: return style.standardIcon(QStyle::SP_DriveCDIcon);
    case VolumeKind::Network: return style.standardIcon(QStyle::SP_DriveNetIcon);
    case VolumeKind::Removable: return style.standardIcon(QStyle::SP_DriveFDIcon);
    default: return style.standardIcon(QStyle::SP_DriveHDIcon);
  }
}

}  // namespace

DriveDialog::DriveDialog(const DriveRows& drives, const DialogListLook& look, QWidget* parent)
    : QDialog(parent), drives_(drives), ok_(U("&OK")), cancel_(U(sort_window::kCancelCaption)) {
  setObjectName(QStringLiteral("TLogDiskForm"));
  setWindowTitle(U(drive_dialog::kCaption));
  setModal(true);

  list_.setObjectName(QStringLiteral("DriveList"));
  list_.setAccessibleName(U(drive_dialog::kCaption));
  list_.setColumnCount(3);
  list_.setHeaderLabels({QStringLiteral("Drive"), QStringLiteral("Media"), QStringLiteral("Volume")});
  list_.setRootIsDecorated(false);
  list_.setSelectionMode(QAbstractItemView::SingleSelection);
  ApplyDialogListOptions(list_, look, [this] { OpenSelected(); });
  for (const DriveRow& row : drives_.rows) {
    auto* item = new QTreeWidgetItem(&list_);
    item->setText(0, QString(QLatin1Char(static_cast<char>('A' + row.letter))));
    item->setIcon(0, DriveIcon(*style(), row.kind));
    item->setText(1, QString::fromLatin1(MediaText(row.kind)));
    item->setText(2, QString::fromStdString(DisplayText(row.label)));
    item->setToolTip(0, QString::fromStdString(DisplayText(row.folder)));
  }
  // Widths for this font: the designed 40/67/120 pixels hold the texts at 8 points.
  const int widths[] = {std::max(40, list_.fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 32),
                        std::max(67, list_.fontMetrics().horizontalAdvance(QStringLiteral("Removable")) + 16), 120};
  for (int c = 0; c < 3; ++c) list_.setColumnWidth(c, widths[c]);
  list_.installEventFilter(this);
  list_.setSelectionBehavior(QAbstractItemView::SelectRows);
  list_.setAllColumnsShowFocus(true);
  connect(&list_, &QTreeWidget::itemDoubleClicked, this, [this] { OpenSelected(); });

  ok_.setAccessibleName(QStringLiteral("OK"));
  cancel_.setAccessibleName(U("キャンセル"));
  ok_.setDefault(true);
  connect(&ok_, &QPushButton::clicked, this, [this] { OpenSelected(); });
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(&ok_);
  buttons->addWidget(&cancel_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(U(drive_dialog::kPrompt)));
  column->addWidget(&list_, 1);
  column->addLayout(buttons);
  // As wide as the columns (the last one stretches to whatever width the list has now).
  const int listWidth = widths[0] + widths[1] + widths[2] + 2 * list_.frameWidth() + 4;
  const QMargins margins = column->contentsMargins();
  const int width = std::max(listWidth, buttons->sizeHint().width()) + margins.left() + margins.right();
  setFixedSize(width, std::max(sizeHint().height(), 260));
}

void DriveDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QTreeWidgetItem* item = list_.topLevelItem(drives_.current)) list_.setCurrentItem(item);
  list_.setFocus();
}

void DriveDialog::Choose(int letter) {
  chosen_ = letter;
  accept();
}

void DriveDialog::OpenSelected() {
  const QList<QTreeWidgetItem*> selected = list_.selectedItems();
  if (selected.isEmpty()) return;
  const int row = list_.indexOfTopLevelItem(selected.front());
  if (row >= 0 && row < static_cast<int>(drives_.rows.size())) Choose(drives_.rows[static_cast<size_t>(row)].letter);
}

bool DriveDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &list_ || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  if (list_.selectedItems().isEmpty()) return false;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    OpenSelected();
    return true;
  }
  // Any letter, listed or not, goes to that drive at once.
  const int letter = LetterIndexOfKey(key->key());
  if (letter < 0) return false;
  Choose(letter);
  return true;
}

}  // namespace kadrel
