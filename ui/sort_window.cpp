#include "ui/sort_window.h"

#include <algorithm>

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "ui/texts.h"

namespace kadrel {

namespace {

using text::U;
using sort_window::Action;
using sort_window::Focus;
using sort_window::Key;

QGroupBox* Framed(const char* caption, QListWidget& list) {
  auto* box = new QGroupBox(U(caption));
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(&list);
  return box;
}

void Fill(QListWidget& list, const std::vector<std::string>& items) {
  for (const std::string& item : items) list.addItem(QString::fromStdString(item));
}

void Select(QListWidget& list, int row) {
  if (row < 0) {
    list.clearSelection();
    list.setCurrentRow(-1, QItemSelectionModel::Clear);
  } else {
    list.setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  }
}

int SelectedRow(const QListWidget& list) {
  const QList<QListWidgetItem*> items = list.selectedItems();
  return items.isEmpty() ? -1 : list.row(items.front());
}

}  // namespace

SortWindow::SortWindow(TSortState& state, std::function<bool()> sortList, IMessageBox& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      state_(state),
      sortList_(std::move(sortList)),
      messages_(messages),
      model_(state),
      ok_(U("&OK")),
      cancel_(U(sort_window::kCancelCaption)) {
  setObjectName(QStringLiteral("TSubWin_Sort"));
  setWindowTitle(U(sort_window::kCaption));
  setModal(true);

  keys_.setObjectName(QStringLiteral("SortKeyList"));
  keys_.setAccessibleName(U(sort_window::kKeyListLabel));
  directions_.setObjectName(QStringLiteral("SortDirectionList"));
  directions_.setAccessibleName(U(sort_window::kDirectionListLabel));
  Fill(keys_, sort_window::KeyItems());
  Fill(directions_, sort_window::DirectionItems());
  for (QListWidget* list : {&keys_, &directions_}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->installEventFilter(this);
  }
  // Lists as large as their items (a list view's own size hint is 256 pixels wide).
  keys_.setFixedSize(keys_.sizeHintForColumn(0) + 2 * keys_.frameWidth() + 8,
                     keys_.sizeHintForRow(0) * sort_window::kKeyCount + 2 * keys_.frameWidth() + 4);
  directions_.setFixedSize(std::max(directions_.sizeHintForColumn(0) + 2 * directions_.frameWidth() + 40, 100),
                           directions_.sizeHintForRow(0) * sort_window::kDirectionCount + 2 * directions_.frameWidth() + 4);
  for (QListWidget* list : {&keys_, &directions_}) list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ok_.setAccessibleName(QStringLiteral("OK"));
  cancel_.setAccessibleName(U("キャンセル"));
  ok_.setDefault(true);

  auto* right = new QVBoxLayout;
  right->addWidget(Framed(sort_window::kDirectionListLabel, directions_));
  right->addStretch(1);
  right->addWidget(&ok_);
  right->addWidget(&cancel_);
  auto* row = new QHBoxLayout(this);
  row->addWidget(Framed(sort_window::kKeyListLabel, keys_), 1);
  row->addLayout(right);
  row->setSizeConstraint(QLayout::SetFixedSize);

  // The selection, not the current row: a list that gains the focus gets a current row
  // without anything being chosen.
  connect(&keys_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!syncing_) model_.SelectKey(SelectedRow(keys_));
  });
  connect(&directions_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!syncing_) model_.SelectDirection(SelectedRow(directions_));
  });
  connect(&ok_, &QPushButton::clicked, this, &SortWindow::Confirm);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  ShowModel();
}

void SortWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (parentWidget()) move(parentWidget()->window()->geometry().center() - rect().center());
  keys_.setFocus();
}

void SortWindow::ShowModel() {
  syncing_ = true;
  Select(keys_, model_.KeyIndex());
  Select(directions_, model_.DirectionIndex());
  syncing_ = false;
  (model_.FocusedList() == Focus::KeyList ? keys_ : directions_).setFocus();
}

bool SortWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &keys_ && watched != &directions_) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    model_.FocusList(watched == &keys_ ? Focus::KeyList : Focus::DirectionList);
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  Key key;
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = Key::Enter; break;
    case Qt::Key_Escape: key = Key::Escape; break;
    case Qt::Key_Up: key = Key::Up; break;
    case Qt::Key_Down: key = Key::Down; break;
    default: return false;
  }
  model_.FocusList(watched == &keys_ ? Focus::KeyList : Focus::DirectionList);
  const Action action = model_.OnKey(key);
  if (action == Action::Confirm) {
    Confirm();
  } else if (action == Action::Cancel) {
    reject();
  } else {
    ShowModel();
  }
  return true;
}

void SortWindow::Confirm() {
  model_.Confirm(state_);
  if (sortList_ && !sortList_()) messages_.Error(sort_window::kFailedMessage);
  accept();
}

}  // namespace kadrel
