#include "ui/key_cust_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "commands/command_names.h"
#include "commands/key_file.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

constexpr int kNameRole = Qt::UserRole;  // the command's CP932 bytes

QString Shown(const std::string& bytes) { return QString::fromStdString(DisplayText(bytes)); }

QByteArray CellText(int row, int column) { return QByteArray::number(row) + ',' + QByteArray::number(column); }

std::pair<int, int> ParseCell(const QByteArray& bytes) {
  const QList<QByteArray> parts = bytes.split(',');
  if (parts.size() != 2) return {0, 0};
  return {parts[0].toInt(), parts[1].toInt()};
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// ---- the grid ----------------------------------------------------------------------

KeyGrid::KeyGrid(QWidget* parent) : QTableWidget(kKeyRows - 1, kKeyColumns, parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  viewport()->setAcceptDrops(true);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  setWordWrap(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  if (auto* corner = findChild<QAbstractButton*>()) corner->setAccessibleName(QStringLiteral("Key"));
}

std::pair<int, int> KeyGrid::TableCell(const QModelIndex& index) {
  if (!index.isValid()) return {0, 0};
  return {index.row() + 1, index.column()};
}

QStringList KeyGrid::mimeTypes() const { return {QString::fromLatin1(kCommandMime), QString::fromLatin1(kKeyCellMime)}; }

QMimeData* KeyGrid::mimeData(const QList<QTableWidgetItem*>& items) const {
  if (items.isEmpty()) return nullptr;
  const auto [row, column] = TableCell(indexFromItem(items.front()));
  if (!KeyTable::Settable(row, column)) return nullptr;
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kKeyCellMime), CellText(row, column));
  return mime;
}

void KeyGrid::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasFormat(QString::fromLatin1(kCommandMime)) ||
      event->mimeData()->hasFormat(QString::fromLatin1(kKeyCellMime)))
    event->acceptProposedAction();
  else
    event->ignore();
}

void KeyGrid::dragMoveEvent(QDragMoveEvent* event) {
  const auto [row, column] = TableCell(indexAt(event->position().toPoint()));
  if (KeyTable::Settable(row, column))
    event->acceptProposedAction();
  else
    event->ignore();
}

void KeyGrid::dropEvent(QDropEvent* event) {
  const auto [row, column] = TableCell(indexAt(event->position().toPoint()));
  const QMimeData* mime = event->mimeData();
  if (!KeyTable::Settable(row, column)) {
    event->ignore();
    return;
  }
  if (mime->hasFormat(QString::fromLatin1(kCommandMime))) {
    Q_EMIT commandDropped(row, column, mime->data(QString::fromLatin1(kCommandMime)));
  } else if (mime->hasFormat(QString::fromLatin1(kKeyCellMime))) {
    const auto [fromRow, fromColumn] = ParseCell(mime->data(QString::fromLatin1(kKeyCellMime)));
    Q_EMIT cellMoved(fromRow, fromColumn, row, column);
  } else {
    event->ignore();
    return;
  }
  // A copy, so that the view does not clear the source cell itself.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void KeyGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && (index.flags() & Qt::ItemIsSelectable)) setCurrentIndex(index);
  }
  QTableWidget::mousePressEvent(event);
}

// ---- the function list -------------------------------------------------------------

FunctionList::FunctionList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  viewport()->setAcceptDrops(true);
  for (const std::string& name : FunctionListNames()) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), this);
    item->setData(kNameRole, QByteArray::fromStdString(CommandBytes(name)));
  }
}

QStringList FunctionList::mimeTypes() const {
  return {QString::fromLatin1(kCommandMime), QString::fromLatin1(kKeyCellMime)};
}

QMimeData* FunctionList::mimeData(const QList<QListWidgetItem*>& items) const {
  if (items.isEmpty()) return nullptr;
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kCommandMime), items.front()->data(kNameRole).toByteArray());
  mime->setText(items.front()->text());
  return mime;
}

void FunctionList::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasFormat(QString::fromLatin1(kKeyCellMime)))
    event->acceptProposedAction();
  else
    event->ignore();
}

void FunctionList::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasFormat(QString::fromLatin1(kKeyCellMime)))
    event->acceptProposedAction();
  else
    event->ignore();
}

void FunctionList::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasFormat(QString::fromLatin1(kKeyCellMime))) {
    event->ignore();
    return;
  }
  const auto [row, column] = ParseCell(event->mimeData()->data(QString::fromLatin1(kKeyCellMime)));
  Q_EMIT cellDropped(row, column);
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

// ---- the window --------------------------------------------------------------------

KeyCustWindow::KeyCustWindow(KeyTable& table, KeyWindowSettings settings, std::string configFolder,
                             IMessageBox& messages, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      table_(table),
      settings_(std::move(settings)),
      configFolder_(std::move(configFolder)),
      messages_(messages) {
  setObjectName(QStringLiteral("TKeyCustForm"));
  setWindowTitle(U("キーカスタマイズ"));
  setWindowModality(Qt::ApplicationModal);  // the main window is disabled meanwhile
  functions_.setObjectName(QStringLiteral("FunctionList"));
  functions_.setAccessibleName(U("機能一覧"));
  grid_.setObjectName(QStringLiteral("KeyGrid"));
  grid_.setAccessibleName(U("キー割り当て"));

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  split_ = new QSplitter(Qt::Horizontal);
  split_->addWidget(&functions_);
  split_->addWidget(&grid_);
  split_->setStretchFactor(1, 1);
  column->addWidget(split_, 1);
  auto* bottom = new QHBoxLayout;
  label_ = new QLabel(U(keytext::kLabelNone.data()));
  label_->setAccessibleName(U("定義ファイル"));
  ok_ = new QPushButton(QStringLiteral("OK"));
  ok_->setAccessibleName(QStringLiteral("OK"));
  cancel_ = new QPushButton(U("キャンセル"));
  cancel_->setAccessibleName(U("キャンセル"));
  bottom->addWidget(label_, 1);
  bottom->addWidget(ok_);
  bottom->addWidget(cancel_);
  column->addLayout(bottom);
  setCentralWidget(central);
  BuildMenu();
  FillGrid();
  ShowFileState();

  resize(std::max(300, settings_.width), std::max(200, settings_.height));
  split_->setSizes({std::max(40, settings_.splitter), std::max(100, settings_.width - settings_.splitter)});
  for (int c = 0; c < kKeyColumns; ++c)
    grid_.setColumnWidth(c, std::max(10, settings_.columnWidths[static_cast<size_t>(c)]));

  askFileName = [this](bool save) {
    const QString start = QFile::decodeName(QByteArray::fromStdString(configFolder_));
    const QString filter = U("キー定義ファイル (*.key *.Key *.KEY);;すべてのファイル (*)");
    return save ? QFileDialog::getSaveFileName(this, QString(), start, filter)
                : QFileDialog::getOpenFileName(this, QString(), start, filter);
  };

  connect(ok_, &QPushButton::clicked, this, &KeyCustWindow::Accept);
  connect(cancel_, &QPushButton::clicked, this, &KeyCustWindow::Reject);
  connect(&grid_, &KeyGrid::commandDropped, this,
          [this](int row, int column, const QByteArray& name) { Bind(row, column, name.toStdString()); });
  connect(&grid_, &KeyGrid::cellMoved, this, &KeyCustWindow::Move);
  connect(&functions_, &FunctionList::cellDropped, this, &KeyCustWindow::Unbind);
  connect(&grid_, &QTableWidget::cellDoubleClicked, this, [this] { BindSelected(); });
  connect(&functions_, &QListWidget::itemDoubleClicked, this, [this] { BindSelected(); });
  connect(&grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    menu.addAction(U("機能を追加する(&A)"), this, &KeyCustWindow::BindSelected);
    menu.addAction(U("機能を削除する(&D)"), this, &KeyCustWindow::UnbindSelected);
    menu.exec(grid_.viewport()->mapToGlobal(pos));
  });
  grid_.installEventFilter(this);
  functions_.installEventFilter(this);
}

void KeyCustWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(U("ファイル(&F)"));
  file->addAction(U("キーの設定を保存(&S)"), this, [this] {
    const QString name = askFileName(true);
    if (!name.isEmpty()) SaveFile(QFile::encodeName(name).toStdString());
  });
  file->addAction(U("キーの設定を読み込む(&L)"), this, [this] {
    const QString name = askFileName(false);
    if (!name.isEmpty()) LoadFile(QFile::encodeName(name).toStdString());
  });
  file->addAction(U("デフォルトのキー定義を書き出す(&W)"), this, [this] {
    const QString name = askFileName(true);
    if (!name.isEmpty()) WriteDefaultFile(QFile::encodeName(name).toStdString());
  });
}

void KeyCustWindow::FillGrid() {
  QStringList header;
  for (int c = 0; c < kKeyColumns; ++c) header << Shown(table_.Cell(0, c));
  grid_.setHorizontalHeaderLabels(header);
  for (int row = 1; row < kKeyRows; ++row) {
    auto* key = new QTableWidgetItem(Shown(table_.Cell(row, 0)));
    key->setFlags(Qt::ItemIsEnabled);
    grid_.setItem(row - 1, 0, key);
    for (int c = 1; c < kKeyColumns; ++c) ShowCell(row, c);
  }
}

void KeyCustWindow::ShowCell(int row, int column) {
  if (row < 1 || row >= kKeyRows || column < 1 || column >= kKeyColumns) return;
  QTableWidgetItem* item = grid_.item(row - 1, column);
  if (!item) {
    item = new QTableWidgetItem;
    grid_.setItem(row - 1, column, item);
  }
  item->setText(Shown(table_.Cell(row, column)));
  item->setToolTip(item->text());  // names are longer than the columns
  item->setFlags(KeyTable::Settable(row, column)
                     ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled
                     : Qt::ItemIsEnabled);
}

void KeyCustWindow::ShowFileState() {
  label_->setText(QString::fromStdString(KeyFileLabel(hasFile_ ? DisplayText(FileNameOf(current_)) : std::string())));
  ok_->setEnabled(hasFile_);
  cancel_->setEnabled(hasFile_);
}

void KeyCustWindow::LoadAtStart(IMessageBox& box) {
  KeyFileLoad load = LoadKeyFile(table_, settings_.keyFile, {configFolder_, true}, box);
  hasFile_ = load.ok;
  if (load.ok) current_ = load.path;
  FillGrid();
  ShowFileState();
  started_ = true;
  if (onBindingsChanged) onBindingsChanged();
}

bool KeyCustWindow::LoadFile(const std::string& path, bool starting) {
  KeyFileLoad load = LoadKeyFile(table_, path, {configFolder_, starting}, messages_);
  hasFile_ = load.ok;
  if (load.ok) current_ = load.path;
  FillGrid();
  ShowFileState();
  if (onBindingsChanged) onBindingsChanged();
  return load.ok;
}

bool KeyCustWindow::SaveFile(const std::string& path) {
  std::string error;
  if (!SaveKeyFile(table_, path, &error)) {
    messages_.Error(KeyFileWriteFailedText(path, error));
    return false;
  }
  current_ = path;
  hasFile_ = true;
  ShowFileState();
  return true;
}

void KeyCustWindow::WriteDefaultFile(const std::string& path) {
  std::string error;
  if (!WriteDefaultKeyFile(path, &error)) {
    messages_.Error(KeyFileWriteFailedText(path, error));
    return;
  }
  current_ = path;
  hasFile_ = true;
  ShowFileState();
  const MessageAnswer answer = messages_.Confirm(
      "書き出したデフォルトのキー定義ファイルを読みこみますか？\n読みこんだ場合は、現在の内容は破棄されます.",
      MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) LoadFile(path);
}

void KeyCustWindow::Open() {
  if (started_ && hasFile_) LoadFile(current_);
  show();
  raise();
  activateWindow();
  functions_.setCurrentRow(0);
  grid_.setCurrentCell(0, 1);
  grid_.setFocus();
}

void KeyCustWindow::Bind(int row, int column, const std::string& cp932) {
  if (!table_.SetCell(row, column, cp932)) return;
  ShowCell(row, column);
  if (onBindingsChanged) onBindingsChanged();
}

void KeyCustWindow::Unbind(int row, int column) { Bind(row, column, {}); }

void KeyCustWindow::Move(int fromRow, int fromColumn, int toRow, int toColumn) {
  if (!KeyTable::Settable(fromRow, fromColumn) || !KeyTable::Settable(toRow, toColumn)) return;
  if (fromRow == toRow && fromColumn == toColumn) return;
  const std::string name = table_.Cell(fromRow, fromColumn);
  Bind(toRow, toColumn, name);
  Unbind(fromRow, fromColumn);
}

void KeyCustWindow::BindSelected() {
  const auto [row, column] = KeyGrid::TableCell(grid_.currentIndex());
  const QListWidgetItem* function = functions_.currentItem();
  if (!function) return;
  Bind(row, column, function->data(kNameRole).toByteArray().toStdString());
}

void KeyCustWindow::UnbindSelected() {
  const auto [row, column] = KeyGrid::TableCell(grid_.currentIndex());
  Unbind(row, column);
}

bool KeyCustWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (watched == &grid_ && (enter || key == Qt::Key_Escape)) {
    functions_.setFocus();
    return true;
  }
  if (watched == &functions_ && enter) {
    BindSelected();
    return true;
  }
  if (watched == &functions_ && key == Qt::Key_Escape) {
    grid_.setFocus();
    return true;
  }
  return false;
}

void KeyCustWindow::ReloadCurrent() {
  if (hasFile_) LoadFile(current_);
}

void KeyCustWindow::Accept() {
  if (!hasFile_ || !SaveFile(current_)) return;  // the error was shown; the window stays
  closing_ = true;
  close();
}

void KeyCustWindow::Reject() {
  ReloadCurrent();
  closing_ = true;
  close();
}

void KeyCustWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    if (messages_.Confirm("設定を保存せずに閉じてもよろしいですか？", MessageButtons::OkCancel) != MessageAnswer::Ok) {
      event->ignore();
      return;
    }
    ReloadCurrent();
  }
  closing_ = false;
  Finish();
  event->accept();
}

void KeyCustWindow::Finish() {
  if (!current_.empty()) settings_.keyFile = current_;
  settings_.width = width();
  settings_.height = height();
  if (const QList<int> sizes = split_->sizes(); !sizes.isEmpty()) settings_.splitter = sizes.front();
  for (int c = 0; c < kKeyColumns; ++c) settings_.columnWidths[static_cast<size_t>(c)] = grid_.columnWidth(c);
  if (onClosed) onClosed(settings_);
}

}  // namespace kadrel
