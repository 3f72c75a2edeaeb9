#include "ui/play_list_pane.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <QApplication>
#include <QDrag>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "playlist/playlist_texts.h"
#include "sorting/column_tables.h"
#include "ui/play_list_drag.h"
#include "ui/play_list_model.h"
#include "ui/play_list_popups.h"
#include "ui/play_list_view.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

PlayListPane::PlayListPane(IMessageBox& messages, QWidget* parent) : QWidget(parent), messages_(messages) {
  setObjectName(QStringLiteral("PlayListPane"));
  setAccessibleName(U(text::kPlayListCaption));
  model_ = new PlayListModel(list_, this);
  QStyle* s = style();
  model_->SetMarkIcons({s->standardIcon(QStyle::SP_MediaPlay), s->standardIcon(QStyle::SP_ArrowRight),
                        s->standardIcon(QStyle::SP_DialogApplyButton)});
  BuildLayout();
  Refresh();
}

PlayListPane::~PlayListPane() = default;

QToolButton* PlayListPane::AddButton(const char* name, const char* caption) {
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(U(caption));
  button->setToolTip(U(caption));
  button->setAutoRaise(true);
  return button;
}

void PlayListPane::BuildLayout() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(1);

  auto* strip = new QHBoxLayout;
  strip->setSpacing(0);
  auto* caption = new QLabel(U(text::kPlayListCaption), this);
  caption->setObjectName(QStringLiteral("PlayListCaption"));
  caption->setAutoFillBackground(true);
  caption->setBackgroundRole(QPalette::Highlight);
  caption->setForegroundRole(QPalette::HighlightedText);
  strip->addWidget(caption, 1);

  QStyle* st = style();
  up_ = AddButton("s_up", "上へ移動");
  up_->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
  down_ = AddButton("s_down", "下へ移動");
  down_->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
  delete_ = AddButton("s_del", "削除");
  delete_->setIcon(st->standardIcon(QStyle::SP_TrashIcon));
  start_ = AddButton("s_play", "ListPlay開始");
  start_->setIcon(st->standardIcon(QStyle::SP_MediaPlay));
  next_ = AddButton("s_next", "次の曲");
  next_->setIcon(st->standardIcon(QStyle::SP_MediaSkipForward));
  back_ = AddButton("s_back", "前の曲");
  back_->setIcon(st->standardIcon(QStyle::SP_MediaSkipBackward));
  replay_ = AddButton("s_replay", "もう一度演奏");
  replay_->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
  stop_ = AddButton("s_stop", "ListPlay停止");
  stop_->setIcon(st->standardIcon(QStyle::SP_MediaStop));
  load_ = AddButton("s_load", "PlayListを開く");
  load_->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  save_ = AddButton("s_save", "PlayListを保存");
  save_->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  placeUp_ = AddButton("s_pageUp", "ファイルリストの上へ移動");
  placeUp_->setIcon(st->standardIcon(QStyle::SP_TitleBarShadeButton));
  placeDown_ = AddButton("s_pageDown", "ファイルリストの下へ移動");
  placeDown_->setIcon(st->standardIcon(QStyle::SP_TitleBarUnshadeButton));
  close_ = AddButton("s_close", "PlayListを閉じる");
  close_->setIcon(st->standardIcon(QStyle::SP_TitleBarCloseButton));
  for (QToolButton* b : {up_, down_, delete_, start_, next_, back_, replay_, stop_, load_, save_, placeUp_, placeDown_,
                         close_})
    strip->addWidget(b);
  column->addLayout(strip);

  auto* header = new QHBoxLayout;
  titleButton_ = new QPushButton(QStringLiteral("[%1]").arg(U("タイトル")), this);
  titleButton_->setObjectName(QStringLiteral("PlayListTitleButton"));
  titleButton_->setAccessibleName(U("タイトルの設定"));
  titleButton_->setFlat(true);
  titleLabel_ = new QLabel(this);
  titleLabel_->setObjectName(QStringLiteral("PlayListTitle"));
  titleLabel_->setAccessibleName(U("タイトル"));
  baseButton_ = new QPushButton(QStringLiteral("[%1]").arg(U("基準フォルダ")), this);
  baseButton_->setObjectName(QStringLiteral("PlayListBaseButton"));
  baseButton_->setAccessibleName(U("基準フォルダの設定"));
  baseButton_->setFlat(true);
  baseLabel_ = new QLabel(this);
  baseLabel_->setObjectName(QStringLiteral("PlayListBaseFolder"));
  baseLabel_->setAccessibleName(U("基準フォルダ"));
  header->addWidget(titleButton_);
  header->addWidget(titleLabel_, 1);
  header->addWidget(baseButton_);
  header->addWidget(baseLabel_, 2);
  column->addLayout(header);

  view_ = new PlayListView(this);
  view_->setObjectName(QStringLiteral("PlayList"));
  view_->setAccessibleName(U("PlayList"));
  view_->setRootIsDecorated(false);
  view_->setUniformRowHeights(true);
  view_->setAllColumnsShowFocus(true);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setModel(model_);
  view_->canDrop = [this](const QMimeData* mime) { return CanDrop(mime); };
  view_->onDrop = [this](const QMimeData* mime, int row) { Drop(mime, row); };
  column->addWidget(view_, 1);

  connect(up_, &QToolButton::clicked, this, &PlayListPane::MoveUp);
  connect(down_, &QToolButton::clicked, this, &PlayListPane::MoveDown);
  connect(delete_, &QToolButton::clicked, this, &PlayListPane::DeleteSelection);
  const auto action = [this](PlayAction a) {
    return [this, a] {
      if (playAction_) playAction_(a);
    };
  };
  connect(start_, &QToolButton::clicked, this, action(PlayAction::StartListPlay));
  connect(next_, &QToolButton::clicked, this, action(PlayAction::NextPiece));
  connect(back_, &QToolButton::clicked, this, action(PlayAction::PreviousPiece));
  connect(replay_, &QToolButton::clicked, this, action(PlayAction::ListPlayReplay));
  connect(stop_, &QToolButton::clicked, this, action(PlayAction::QuitListPlay));
  connect(load_, &QToolButton::clicked, this, &PlayListPane::loadDialogRequested);
  connect(save_, &QToolButton::clicked, this, &PlayListPane::saveDialogRequested);
  connect(placeUp_, &QToolButton::clicked, this, &PlayListPane::placementToggled);
  connect(placeDown_, &QToolButton::clicked, this, &PlayListPane::placementToggled);
  connect(close_, &QToolButton::clicked, this, &PlayListPane::hideRequested);
  connect(titleButton_, &QPushButton::clicked, this, &PlayListPane::EditTitle);
  connect(baseButton_, &QPushButton::clicked, this, &PlayListPane::EditBaseFolder);
  connect(view_, &FileListView::popupRequested, this, [this](int, QPoint pos) { ShowEntryPopup(pos); });
  connect(view_, &FileListView::openRequested, this, [this](int row) {
    view_->setCurrentIndex(model_->index(row, 0));
    if (playAction_) playAction_(PlayAction::PlayEntryNow);
  });
  connect(view_, &FileListView::dragRequested, this, &PlayListPane::StartDrag);
  SetAbove(false);
}

void PlayListPane::Refresh() {
  const PlayListSelection before = Selection();
  model_->Refresh();
  SetSelection(before);
  titleLabel_->setText(Utf8(TitleHeaderText(list_)));
  baseLabel_->setText(Utf8(BaseFolderHeaderText(list_)));
  ApplyPlayControls(play_);
}

PlayListSelection PlayListPane::Selection() const {
  PlayListSelection s;
  const int count = static_cast<int>(list_.Items.size());
  if (!view_->selectionModel()) return s;
  for (const QModelIndex& index : view_->selectionModel()->selectedRows())
    if (index.row() < count) s.Selected.push_back(index.row());
  std::sort(s.Selected.begin(), s.Selected.end());
  const QModelIndex current = view_->currentIndex();
  s.Focused = current.isValid() && current.row() < count ? current.row() : -1;
  return s;
}

void PlayListPane::SetSelection(const PlayListSelection& selection) {
  QItemSelectionModel* sm = view_->selectionModel();
  if (!sm) return;
  const int rows = model_->rowCount();
  QItemSelection chosen;
  for (int row : selection.Selected)
    if (row >= 0 && row < rows) chosen.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
  sm->select(chosen, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (selection.Focused >= 0 && selection.Focused < rows) {
    sm->setCurrentIndex(model_->index(selection.Focused, 0), QItemSelectionModel::NoUpdate);
    view_->scrollTo(model_->index(selection.Focused, 0));
  } else {
    sm->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
  }
}

void PlayListPane::ApplyPlayControls(const PlayControls& controls) {
  play_ = controls;
  controls_ = PlayListControlsFor(static_cast<int>(list_.Items.size()), play_);
  up_->setEnabled(controls_.up);
  down_->setEnabled(controls_.down);
  delete_->setEnabled(controls_.remove);
  save_->setEnabled(controls_.save);
  titleButton_->setEnabled(controls_.title);
  baseButton_->setEnabled(controls_.baseFolder);
  load_->setEnabled(controls_.load);
  start_->setEnabled(controls_.start);
  next_->setEnabled(controls_.next);
  back_->setEnabled(controls_.back);
  replay_->setEnabled(controls_.replay);
  stop_->setEnabled(controls_.stop);
}

void PlayListPane::SetColumns(const std::vector<int>& ids, const std::array<int, 13>& widthsById) {
  model_->SetColumns(ids);
  const std::vector<int>& shown = model_->Columns();
  for (size_t i = 0; i < shown.size(); ++i) {
    const int id = shown[i];
    const int stored = widthsById[static_cast<size_t>(id - 1)];
    view_->header()->resizeSection(static_cast<int>(i), stored > 0 ? stored : DefaultColumnWidth(ListKind::PlayList, id));
  }
}

std::vector<std::pair<int32_t, int32_t>> PlayListPane::ColumnWidths() const {
  std::vector<std::pair<int32_t, int32_t>> widths;
  const std::vector<int>& shown = model_->Columns();
  for (size_t i = 0; i < shown.size(); ++i) {
    const int width = view_->header()->sectionSize(static_cast<int>(i));
    if (width > 0) widths.emplace_back(shown[i], width);
  }
  return widths;
}

void PlayListPane::SetListOptions(const TListViewOption& options) { model_->SetOptions(options); }

void PlayListPane::SetAbove(bool above) {
  above_ = above;
  placeUp_->setVisible(!above);
  placeDown_->setVisible(above);
}

ListPlayState PlayListPane::State() const {
  ListPlayState state = stateOf_ ? stateOf_() : ListPlayState{};
  state.EndRequested = state.EndReserved = state.NextRequested = false;
  return state;
}

void PlayListPane::Forward(const ListPlayState& state) {
  if ((state.EndRequested || state.EndReserved || state.NextRequested) && requests_) requests_(state);
}

void PlayListPane::AfterEdit() {
  Refresh();
  Q_EMIT listChanged();
}

int PlayListPane::Add(const std::vector<PlayListSource>& sources, int position) {
  PlayListSelection selection = Selection();
  const size_t before = list_.Items.size();
  const AddResult result = AddToPlayList(list_, selection, sources, position, State(), slotFor_, messages_);
  if (list_.Items.size() != before) {
    model_->Refresh();
    SetSelection(selection);
    AfterEdit();
    Q_EMIT showRequested();
  }
  return result.Added;
}

void PlayListPane::MoveUp() {
  PlayListSelection selection = Selection();
  ListPlayState state = State();
  if (MoveSelectedUp(list_, selection, state, messages_) != EditResult::Done) return;
  model_->Refresh();
  SetSelection(selection);
  AfterEdit();
}

void PlayListPane::MoveDown() {
  PlayListSelection selection = Selection();
  ListPlayState state = State();
  if (MoveSelectedDown(list_, selection, state, messages_) != EditResult::Done) return;
  model_->Refresh();
  SetSelection(selection);
  AfterEdit();
}

void PlayListPane::MoveTo(int target) {
  PlayListSelection selection = Selection();
  ListPlayState state = State();
  if (MoveSelected(list_, selection, target, state, messages_) != EditResult::Done) return;
  model_->Refresh();
  SetSelection(selection);
  AfterEdit();
}

void PlayListPane::DeleteSelection() {
  PlayListSelection selection = Selection();
  if (selection.Selected.empty()) return;
  ListPlayState state = State();
  if (DeleteSelected(list_, selection, state, messages_) != EditResult::Done) return;
  model_->Refresh();
  SetSelection(selection);
  AfterEdit();
  Forward(state);
}

bool PlayListPane::WaitForListPlayEnd() {
  while (stateOf_ && stateOf_().Running) {
    if (closing && closing()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void PlayListPane::Clear() {
  PlayListSelection selection = Selection();
  ListPlayState state = State();
  // During ListPlay the end is asked for before waiting for it.
  const auto wait = [this, &state] {
    ListPlayState end = state;
    end.EndRequested = true;
    Forward(end);
    return WaitForListPlayEnd();
  };
  if (ClearPlayList(list_, selection, state, messages_, wait) != EditResult::Done) return;
  model_->Refresh();
  SetSelection({});
  AfterEdit();
}

void PlayListPane::SetSlot(int slotCommand) {
  if (SetSlotOfSelected(list_, Selection(), slotCommand, State(), messages_) == EditResult::Done) AfterEdit();
}

void PlayListPane::SetPlayed(bool played) {
  if (SetPlayedOfSelected(list_, Selection(), played, State(), messages_) == EditResult::Done) AfterEdit();
}

void PlayListPane::EditTitle() {
  std::optional<std::string> answer;
  const std::string current = DisplayText(list_.Title);
  if (askTitle) {
    answer = askTitle(current);
  } else {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, Utf8(playlist_text::kTitleCaption), Utf8(playlist_text::kTitlePrompt),
                                                QLineEdit::Normal, QString::fromStdString(current), &ok);
    if (ok) answer = typed.toStdString();
  }
  if (!answer) return;
  SetPlayListTitle(list_, *answer);
  AfterEdit();
}

void PlayListPane::EditBaseFolder() {
  if (!CanEditBaseFolder(list_, messages_)) return;
  std::optional<std::string> answer;
  if (chooseFolder) {
    answer = chooseFolder(list_.BaseFolder);
  } else {
    const QString chosen = QFileDialog::getExistingDirectory(this, Utf8(playlist_text::kChooseBaseFolder),
                                                             QFile::decodeName(QByteArray::fromStdString(list_.BaseFolder)));
    if (!chosen.isEmpty()) answer = QFile::encodeName(chosen).toStdString();
  }
  if (answer && ChangeBaseFolder(list_, *answer)) AfterEdit();
}

LoadResult PlayListPane::Load(const std::string& path, bool replacing) {
  LoadResult result;
  if (replacing) {
    const ListPlayState state = State();
    if (state.Running) {
      messages_.Warn(std::string(playlist_text::kListPlayRunning));
      return LoadResult::Refused;
    }
    if (status_) status_(playlist_text::kLoading);
    // The list is emptied only once the file has been read.
    PlayListContent content;
    const PlayListReadStatus read = ReadPlayListFile(path, content);
    if (read == PlayListReadStatus::Ok) {
      ClearPlayListItems(list_);
      AppendPlayListContent(list_, std::move(content), path);
      result = LoadResult::Loaded;
    } else {
      ReportPlayListReadFailure(read, path, messages_);
      result = read == PlayListReadStatus::Broken ? LoadResult::Broken : LoadResult::NotPlayList;
    }
    if (status_) status_(playlist_text::kReady);
    if (result == LoadResult::Loaded) messages_.Beep(BeepKind::Plain);
  } else {
    result = LoadPlayListFile(list_, path, State(), messages_, status_);
  }
  if (result != LoadResult::Loaded) return result;
  model_->Refresh();
  if (!list_.Items.empty() && Selection().Focused < 0) SetSelection({{0}, 0});
  AfterEdit();
  Q_EMIT showRequested();
  return result;
}

SaveResult PlayListPane::Save(const std::string& path, bool confirmOverwrite) {
  if (list_.Items.empty()) {
    messages_.Warn(std::string(playlist_text::kEmptyList));
    return SaveResult::Declined;
  }
  const SaveResult result = SavePlayListFile(list_, path, confirmOverwrite, messages_, status_);
  if (result == SaveResult::Saved && list_.FileName != path) {
    list_.FileName = path;
    Q_EMIT listChanged();
  }
  return result;
}

bool PlayListPane::CanDrop(const QMimeData* mime) const { return InternalDrag::Instance().Match(mime) != nullptr; }

bool PlayListPane::Drop(const QMimeData* mime, int row) {
  const InternalDragData* drag = InternalDrag::Instance().Match(mime);
  if (!drag) return false;
  const int count = static_cast<int>(list_.Items.size());
  if (drag->source == DragSource::PlayList) {
    std::vector<int> rows;
    for (int r : drag->rows)
      if (r >= 0 && r < count) rows.push_back(r);
    if (rows.empty()) return false;
    SetSelection({rows, rows.front()});
    MoveTo(row < 0 || row > count ? count : row);
  } else {
    const std::vector<PlayListSource> entries = drag->entries;  // the drag may end meanwhile
    Add(entries, row < 0 || row >= count ? -1 : row);
  }
  return true;
}

void PlayListPane::StartDrag() {
  const PlayListSelection selection = Selection();
  if (selection.Selected.empty()) return;
  auto* mime = new QMimeData;
  const quint64 token = InternalDrag::Instance().Begin(*mime, DragSource::PlayList, {}, selection.Selected);
  auto* drag = new QDrag(view_);
  drag->setMimeData(mime);
  drag->exec(Qt::MoveAction, Qt::MoveAction);
  InternalDrag::Instance().End(token);
}

std::vector<PlayListMenuItem> PlayListPane::EntryMenu() const {
  PlayListEntryMenuInput in;
  const PlayListSelection s = Selection();
  in.entries = static_cast<int>(list_.Items.size());
  in.selected = static_cast<int>(s.Selected.size());
  in.focused = s.Focused >= 0;
  in.play = play_;
  in.playerNames = playerNames_;
  return PlayListEntryMenu(in);
}

void PlayListPane::RunMenuCommand(PlayListMenuCommand command, int argument) {
  using C = PlayListMenuCommand;
  switch (command) {
    case C::PlayNow:
      if (playAction_) playAction_(PlayAction::PlayEntryNow);
      break;
    case C::MakeNext:
      if (playAction_) playAction_(PlayAction::MakeFocusedEntryNext);
      break;
    case C::Slot: SetSlot(argument); break;
    case C::SetPlayed: SetPlayed(true); break;
    case C::SetUnplayed: SetPlayed(false); break;
    case C::MoveUp: MoveUp(); break;
    case C::MoveDown: MoveDown(); break;
    case C::Delete: DeleteSelection(); break;
    case C::EditTitle: EditTitle(); break;
    case C::EditBaseFolder: EditBaseFolder(); break;
    case C::Save: Q_EMIT saveDialogRequested(); break;
    default: break;
  }
}

void PlayListPane::ShowEntryPopup(QPoint globalPos) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("PlayListEntryPopup"));
  // Items run after the menu has closed, so that their dialogs do not open inside it.
  std::optional<PlayListMenuItem> chosen;
  FillPlayListMenu(menu, EntryMenu(), [&chosen](const PlayListMenuItem& item) { chosen = item; });
  menu.exec(globalPos);
  if (chosen) RunMenuCommand(chosen->command, chosen->argument);
}

}  // namespace kadrel
