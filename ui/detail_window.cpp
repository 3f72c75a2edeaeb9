#include "ui/detail_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDrag>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStatusBar>
#include <QToolBar>

#include "archive/unlha.h"
#include "archive/unlha_turn.h"
#include "base/encoding.h"
#include "catalog/format_table.h"
#include "scan/detail_entries.h"
#include "sorting/compare_items.h"
#include "ui/play_list_drag.h"
#include "ui/rename_dialog.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QMimeType MimeFor(const std::string& name) {
  static const QMimeDatabase db;
  return db.mimeTypeForFile(QString::fromStdString(DisplayText(name)), QMimeDatabase::MatchExtension);
}

}  // namespace

DetailWindow::DetailWindow(const TMusicFileInfo& item, std::string folder, DetailContext context, QWidget* parent)
    : QMainWindow(parent), item_(item), folder_(std::move(folder)), context_(std::move(context)) {
  setObjectName(QStringLiteral("TDetailForm"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlag(Qt::Window);
  setWindowTitle(U("詳細情報"));
  setAccessibleName(windowTitle());

  model_.SetOptions(context_.view);
  model_.SetColumns(context_.columns);
  if (context_.sort) {
    model_.SetCompare([this](const TMusicFileInfo& a, const TMusicFileInfo& b) {
      return CompareItems(a, b, *context_.sort, context_.sortOption);
    });
  }
  list_.setModel(&model_);
  list_.setObjectName(QStringLiteral("DetailList"));
  list_.setAccessibleName(U("関連ファイル一覧"));
  list_.setFont(context_.font);
  list_.SetSingleClickOpen(context_.view.SingleClickOpen);
  for (size_t i = 0; i < context_.widths.size(); ++i)
    list_.header()->resizeSection(static_cast<int>(i), context_.widths[i] > 0 ? context_.widths[i] : 100);
  connect(list_.header(), &QHeaderView::sectionClicked, this, &DetailWindow::SortByColumn);
  connect(&list_, &FileListView::openRequested, this, [this](int) { Execute("最適な方法で開く"); });
  connect(&list_, &FileListView::dragRequested, this, &DetailWindow::StartDrag);
  connect(&list_, &FileListView::popupRequested, this, [this](int, QPoint at) {
    UpdatePopupState();
    popup_.popup(at);
  });
  setCentralWidget(&list_);

  panel0_.setMinimumWidth(180);
  panel1_.setMinimumWidth(200);
  panel0_.setAccessibleName(U("状態"));
  panel1_.setAccessibleName(U("詳細"));
  statusBar()->addWidget(&panel0_);
  statusBar()->addWidget(&panel1_, 1);
  BuildMenus();
  if (context_.placement.isValid()) setGeometry(context_.placement);
}

void DetailWindow::BuildMenus() {
  // Playing and opening go through the command executor (context_.execute) with this
  // window's list; without one those items stay disabled.
  auto add = [](QMenu* menu, const char* caption, bool enabled) {
    QAction* a = menu->addAction(U(caption));
    a->setEnabled(enabled);
    return a;
  };
  auto command = [this](QAction* action, const char* name) {
    connect(action, &QAction::triggered, this, [this, name] { Execute(name); });
  };
  const bool executor = static_cast<bool>(context_.execute);
  QMenu* file = menuBar()->addMenu(U("ファイル(&F)"));
  openAssociated_ = add(file, "Windowsの関連付けで開く(&O)", false);
  openText_ = add(file, "テキストビュアーで開く(&V)", false);
  command(openAssociated_, "Windowsの関連付けで開く");
  command(openText_, "テキストビュアーで開く");
  file->addSeparator();
  for (const char* caption : {"ファイルのコピー(&C)", "ファイルの移動(&M)", "ファイルの削除(&D)"}) add(file, caption, false);
  file->addSeparator();
  rename_ = add(file, "名前の変更(&R)", true);
  connect(rename_, &QAction::triggered, this, &DetailWindow::RenameFocused);
  file->addSeparator();
  connect(add(file, "閉じる(&C)", true), &QAction::triggered, this, &QWidget::close);

  QMenu* play = menuBar()->addMenu(U("演奏(&N)"));
  openBest_ = add(play, "最適なPlayerで再生(&P)", false);
  command(openBest_, "最適な方法で開く");
  static constexpr const char* kSlotCommands[6] = {"Player1で再生", "Player2で再生", "Player3で再生",
                                                   "Player4で再生", "Player5で再生", "Player6で再生"};
  QToolBar* bar = addToolBar(QStringLiteral("DetailBar"));
  bar->setObjectName(QStringLiteral("DetailBar"));
  QAction* exit = bar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), U("閉じる"));
  exit->setObjectName(QStringLiteral("Exit"));
  connect(exit, &QAction::triggered, this, &QWidget::close);
  for (int n = 1; n <= 6; ++n) {
    const std::string& name = context_.playerNames[static_cast<size_t>(n - 1)];
    const QString shown = QString::fromStdString(DisplayText(name)).replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* slot = play->addAction(QStringLiteral("(&%1) : ").arg(n) + shown);
    slot->setEnabled(false);
    slot->setVisible(!name.empty());
    command(slot, kSlotCommands[n - 1]);
    playItems_ << slot;
    QAction* button = bar->addAction(style()->standardIcon(QStyle::SP_MediaPlay), QString::fromStdString(DisplayText(name)));
    button->setObjectName(QStringLiteral("Play%1").arg(n));
    button->setVisible(!name.empty());
    button->setEnabled(executor);
    command(button, kSlotCommands[n - 1]);
  }
  play->addSeparator();
  QAction* replay = add(play, "最初から演奏(&R)", executor);
  QAction* stop = add(play, "演奏の停止(&S)", executor);
  command(replay, "リプレイをする");
  command(stop, "演奏を終了する");
  QAction* replayButton = bar->addAction(style()->standardIcon(QStyle::SP_MediaSkipBackward), U("最初から演奏"));
  replayButton->setObjectName(QStringLiteral("RePlay"));
  replayButton->setEnabled(executor);
  command(replayButton, "リプレイをする");
  QAction* stopButton = bar->addAction(style()->standardIcon(QStyle::SP_MediaStop), U("演奏の停止"));
  stopButton->setObjectName(QStringLiteral("PlayClose"));
  stopButton->setEnabled(executor);
  command(stopButton, "演奏を終了する");
  menuBar()->addMenu(U("表示(&V)"))->setEnabled(false);
  QMenu* help = menuBar()->addMenu(U("ヘルプ(&H)"));
  QAction* contents = add(help, "目次(&C)", static_cast<bool>(context_.openHelp));
  QAction* topics = add(help, "トピックの検索(&H)", static_cast<bool>(context_.openHelp));
  for (QAction* a : {contents, topics})
    connect(a, &QAction::triggered, this, [this] { context_.openHelp(); });

  popupBest_ = popup_.addAction(U("最適な方法で開く(&P)"));
  popupBest_->setEnabled(false);
  command(popupBest_, "最適な方法で開く");
  popup_.addAction(openAssociated_);
  popup_.addAction(openText_);
  popup_.addSeparator();
  QAction* addToPlayList = popup_.addAction(U("PlayListに追加(&A)"));
  addToPlayList->setEnabled(static_cast<bool>(context_.addToPlayList));
  connect(addToPlayList, &QAction::triggered, this, [this] {
    if (context_.addToPlayList) context_.addToPlayList(folder_, SelectedEntries());
  });
  popup_.addAction(rename_);
  popup_.addSeparator();
  popup_.addAction(U("閉じる(&C)"), this, &QWidget::close);
}

void DetailWindow::UpdatePopupState() {
  const bool focused = list_.currentIndex().isValid();
  const bool one = focused && list_.selectionModel()->selectedRows().size() == 1;
  const bool playList = item_.FileType == kRowMPL;
  const bool executor = static_cast<bool>(context_.execute);
  openBest_->setEnabled(executor && one);
  popupBest_->setEnabled(executor && one);
  openAssociated_->setEnabled(executor && one && !playList);
  openText_->setEnabled(executor && one && !playList);
  for (QAction* slot : playItems_) slot->setEnabled(executor && one);
  rename_->setEnabled(focused && !playList);
}

const TMusicFileInfo* DetailWindow::FocusedEntry() const {
  const QModelIndex focused = list_.currentIndex();
  if (!focused.isValid() || focused.row() >= model_.Count()) return nullptr;
  return &model_.Record(focused.row());
}

QIcon DetailWindow::IconFor(const TMusicFileInfo& entry) const {
  if (entry.FileType >= 0 && entry.IconIndex >= 0 && entry.IconIndex < static_cast<int>(context_.icons.size()))
    return context_.icons[static_cast<size_t>(entry.IconIndex)];
  const QMimeType mime = MimeFor(entry.FullName());
  QIcon icon = QIcon::fromTheme(mime.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(mime.genericIconName());
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_FileIcon);
  return icon;
}

void DetailWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!filled_) Fill();
}

void DetailWindow::Fill() {
  filled_ = true;
  model_.Clear();
  DetailListing listing = ListDetailEntries(folder_, item_, context_.infoGetTypes, UnLhaManagement());
  setWindowTitle(QString::fromStdString(listing.caption));
  if (listing.libraryMissing && context_.messages) context_.messages->Error(kLhaMissingMessage);
  std::vector<QIcon> icons;
  for (TMusicFileInfo& entry : listing.entries) {
    if (entry.FileType < 0 && entry.Detail.empty())
      entry.Detail = MimeFor(entry.FullName()).comment().left(80).toStdString();
    icons.push_back(IconFor(entry));
    entry.IconIndex = static_cast<int32_t>(icons.size() - 1);
    model_.Append(std::make_unique<TMusicFileInfo>(entry));
  }
  model_.SetIcons(std::move(icons));
  if (context_.sort) model_.Sort();
  model_.Announce();
  if (model_.Count() > 0) {
    list_.setCurrentIndex(model_.index(0, 0));
    list_.selectionModel()->select(model_.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
}

void DetailWindow::SortByColumn(int position) {
  const auto& ids = model_.Columns();
  if (!context_.sort || position < 0 || position >= static_cast<int>(ids.size())) return;
  TSortState& sort = *context_.sort;
  const int id = ids[static_cast<size_t>(position)];
  if (id == sort.Key)
    sort.Direction = 1 - sort.Direction;
  else
    sort.Key = id;
  model_.Sort();
}

void DetailWindow::RenameFocused() {
  const QModelIndex focused = list_.currentIndex();
  if (!focused.isValid() || item_.FileType == kRowMPL) return;
  const TMusicFileInfo entry = model_.Record(focused.row());
  if (!RenameDialog::CaptionFor(entry) || !context_.messages) return;
  // Renamed in this window's own folder, whatever the main window shows now.
  RenameDialog dialog(entry, folder_, *context_.messages, this);
  dialog.exec();
  const RenameOutcome& out = dialog.Outcome();
  if (out.status != RenameStatus::Renamed) return;
  std::vector<TMusicFileInfo> entries;
  for (int i = 0; i < model_.Count(); ++i) entries.push_back(model_.Record(i));
  ApplyRenameToEntries(out, entries);
  for (int i = 0; i < model_.Count(); ++i) model_.Update(i, entries[static_cast<size_t>(i)]);
  if (out.entry.Archiver != item_.Archiver) item_.Archiver = out.entry.Archiver;
  if (context_.applyRename) context_.applyRename(out, folder_);
}

std::vector<TMusicFileInfo> DetailWindow::SelectedEntries() const {
  QModelIndexList rows = list_.selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  std::vector<TMusicFileInfo> selected;
  for (const QModelIndex& row : rows)
    if (row.row() < model_.Count()) selected.push_back(model_.Record(row.row()));
  return selected;
}

void DetailWindow::Execute(std::string_view command) {
  if (context_.execute) context_.execute(*this, command);
}

void DetailWindow::StartDrag() {
  // Only the play list takes these rows: the private type with a copy of each entry.
  if (!context_.addToPlayList) return;
  std::vector<PlayListSource> entries;
  for (TMusicFileInfo& r : SelectedEntries()) entries.push_back({folder_, std::move(r)});
  if (entries.empty()) return;
  auto* mime = new QMimeData;
  const quint64 token = InternalDrag::Instance().Begin(*mime, DragSource::DetailList, std::move(entries), {});
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->exec(Qt::CopyAction, Qt::CopyAction);
  InternalDrag::Instance().End(token);
}

void DetailWindow::SetStatus(const QString& panel0, const QString& panel1) {
  panel0_.setText(panel0);
  panel1_.setText(panel1);
}

void DetailWindow::closeEvent(QCloseEvent* event) {
  if (context_.savePlacement) context_.savePlacement(normalGeometry());
  event->accept();
}

}  // namespace kadrel
