#include "ui/folder_pane.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "ui/icon_set.h"
#include "ui/texts.h"

namespace kadrel {

FolderPane::FolderPane(QWidget* parent)
    : QWidget(parent),
      icons_(MakeFolderIcon(), style()->standardIcon(QStyle::SP_DriveHDIcon),
             style()->standardIcon(QStyle::SP_FileIcon)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(0, 0, 0, 0);
  caption_.setText(text::U(text::kAllFolders));
  caption_.setAutoFillBackground(true);
  caption_.setBackgroundRole(QPalette::Highlight);
  caption_.setForegroundRole(QPalette::HighlightedText);
  strip->addWidget(&caption_, 1);
  switch_.setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
  switch_.setAutoRaise(true);
  switch_.setObjectName(QStringLiteral("s_PageChg"));
  switch_.setAccessibleName(text::U("フォルダ表示の切り替え"));
  switch_.setToolTip(switch_.accessibleName());
  hide_.setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  hide_.setAutoRaise(true);
  hide_.setObjectName(QStringLiteral("s_close"));
  hide_.setAccessibleName(text::U("フォルダ欄を閉じる"));
  hide_.setToolTip(hide_.accessibleName());
  strip->addWidget(&switch_);
  strip->addWidget(&hide_);
  column->addLayout(strip);

  model_.setIconProvider(&icons_);
  model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_.setReadOnly(true);
  model_.setRootPath(QStringLiteral("/"));
  tree_.setModel(&model_);
  tree_.setHeaderHidden(true);
  // Every row is one line with a folder picture: the view measures one row instead of
  // each row of every folder it expands (a folder of hundreds of entries on the way
  // to the one opened).
  tree_.setUniformRowHeights(true);
  for (int c = 1; c < model_.columnCount(); ++c) tree_.hideColumn(c);
  tree_.setObjectName(QStringLiteral("FolderTree"));
  tree_.setAccessibleName(text::U(text::kAllFolders).trimmed());
  stack_.addWidget(&tree_);
  // The model lists folders as they are asked for: once the ancestors of the current
  // folder are in, it is brought into view again.
  connect(&model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    const QModelIndex current = tree_.currentIndex();
    if (current.isValid() && model_.filePath(current).startsWith(loaded))
      tree_.scrollTo(current, QAbstractItemView::PositionAtCenter);
  });

  jumpList_.setColumnCount(2);
  jumpList_.setHeaderHidden(true);
  jumpList_.setRootIsDecorated(false);
  jumpList_.setObjectName(QStringLiteral("JF_List"));
  jumpList_.setAccessibleName(text::U(text::kFolderShortcuts).trimmed());
  for (int i = 0; i < 26; ++i) {
    auto* item = new QTreeWidgetItem(&jumpList_);
    item->setText(0, QString(QLatin1Char(char('A' + i))));
  }
  jumpList_.setColumnWidth(0, 24);
  stack_.addWidget(&jumpList_);
  column->addWidget(&stack_, 1);

  connect(tree_.selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (!quiet_ && current.isValid()) Q_EMIT folderSelected(model_.filePath(current));
  });
  connect(&jumpList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!singleClickOpen_) Q_EMIT jumpRequested(jumpList_.indexOfTopLevelItem(item));
  });
  // Item views report a click of the left button only.
  connect(&jumpList_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (singleClickOpen_) Q_EMIT jumpRequested(jumpList_.indexOfTopLevelItem(item));
  });
  connect(&switch_, &QToolButton::clicked, this,
          [this] { ShowView(view_ == View::Tree ? View::JumpList : View::Tree); });
  connect(&hide_, &QToolButton::clicked, this, &FolderPane::hideRequested);
}

void FolderPane::ShowView(View view) {
  view_ = view;
  stack_.setCurrentIndex(view == View::Tree ? 0 : 1);
  caption_.setText(text::U(view == View::Tree ? text::kAllFolders : text::kFolderShortcuts));
  Q_EMIT viewChanged(view);
}

QString FolderPane::SelectedFolder() const {
  QModelIndex current = tree_.currentIndex();
  return current.isValid() ? model_.filePath(current) : QString();
}

bool FolderPane::SelectFolder(const QString& folder, bool quiet) {
  QString path = QDir::cleanPath(folder);
  QModelIndex index = model_.index(path);
  if (!index.isValid()) return false;
  bool wasQuiet = quiet_;
  quiet_ = quiet;
  tree_.setCurrentIndex(index);
  tree_.scrollTo(index);
  quiet_ = wasQuiet;
  return true;
}

void FolderPane::SetJumpFolders(const std::array<std::string, 26>& folders) {
  jumpFolders_ = folders;
  UpdateJumpTexts();
}

void FolderPane::UpdateJumpTexts() {
  const QIcon folderIcon = icons_.icon(QAbstractFileIconProvider::Folder);
  int width = std::max(0, jumpList_.viewport()->width() - jumpList_.columnWidth(0) - 5);
  jumpList_.setColumnWidth(1, width);
  int chars = std::max(8, width / std::max(1, jumpList_.fontMetrics().averageCharWidth()));
  for (int i = 0; i < 26; ++i) {
    QTreeWidgetItem* item = jumpList_.topLevelItem(i);
    const std::string& folder = jumpFolders_[static_cast<size_t>(i)];
    item->setText(1, folder.empty() ? QString() : QString::fromStdString(DisplayText(ShortenPath(folder, chars))));
    item->setIcon(1, folder.empty() ? QIcon() : folderIcon);
    item->setToolTip(1, QString::fromStdString(DisplayText(folder)));
  }
}

void FolderPane::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateJumpTexts();
}

}  // namespace kadrel
