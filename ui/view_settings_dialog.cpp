#include "ui/view_settings_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "settings/default_tree.h"
#include "sorting/column_tables.h"
#include "ui/column_list_moves.h"
#include "ui/column_list_widget.h"
#include "ui/stored_colours.h"
#include "ui/texts.h"
#include "ui/view_fonts.h"

namespace kadrel {

using text::U;

namespace {

constexpr const char* kCaption = "表示設定";
constexpr const char* kSaveFailed =
    "設定の保存に失敗しました.\n設定ファイルに書き込めないため、変更は保存されていません.";
constexpr int kWatchMin = 400, kWatchMax = 15000, kWatchStep = 200;
// The font rows in the dialog's order, and where each lives in ViewSettings::Fonts.
constexpr const char* kFontRowGroups[6] = {"AF", "FL", "PL", "DW", "FJ", "FW"};
constexpr const char* kFontRowCaptions[6] = {"すべてのフォルダ", "ファイルリスト", "プレイリスト",
                                             "関連ファイル詳細情報", "その他のWindow", "他のフォルダウィンドウ"};

int StoredFontIndex(std::string_view group) {
  for (std::size_t i = 0; i < std::size(kFontGroups); ++i)
    if (kFontGroups[i].prefix == group) return static_cast<int>(i);
  return 0;
}

template <class T>
T* Named(T* widget, const QString& name) {
  widget->setAccessibleName(name);
  return widget;
}

QCheckBox* Check(const char* caption, QWidget* parent) {
  return Named(new QCheckBox(U(caption), parent), U(caption));
}

QRadioButton* Radio(const char* caption, QWidget* parent) {
  return Named(new QRadioButton(U(caption), parent), U(caption));
}

QPushButton* Button(const char* caption, const QString& accessible, QWidget* parent) {
  return Named(new QPushButton(U(caption), parent), accessible);
}

}  // namespace

ViewChoosers ViewChoosers::Standard() {
  ViewChoosers c;
  c.font = [](const QFont& current, QWidget* parent) -> std::optional<QFont> {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, current, parent);
    if (!ok) return std::nullopt;
    return font;
  };
  c.colour = [](const QColor& current, QWidget* parent) -> std::optional<QColor> {
    QColor colour = QColorDialog::getColor(current, parent);
    if (!colour.isValid()) return std::nullopt;
    return colour;
  };
  return c;
}

TSet_ViewForm::TSet_ViewForm(const ViewSettings& settings, std::function<bool(const ViewSettings&)> save,
                             IMessageBox& messages, ViewChoosers choosers, QWidget* parent)
    : QDialog(parent), initial_(settings), save_(std::move(save)), messages_(messages), choosers_(std::move(choosers)) {
  setAccessibleName(U(kCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  sets_[0].hint = "ListViewの設定";
  sets_[1].hint = "その他の設定";
  const std::array<std::vector<std::pair<const char*, QWidget*>>, 2> tabs = {{
      {{"表示項目", BuildColumnsTab()},
       {"表示内容 (1)", BuildNamesTab()},
       {"表示内容 (2)", BuildTitlesTab()},
       {"操作の設定", BuildOperationTab()},
       {"その他", BuildOtherTab()}},
      {{"PlayerのWindow", BuildPlayerTab()}, {"KadrelのWindow", BuildWindowTab()}, {"フォント・カラー", BuildFontsTab()}},
  }};
  for (int s = 0; s < 2; ++s) {
    PageSet& set = sets_[s];
    set.bar = Named(new QTabBar(this), U(set.hint));
    set.bar->setToolTip(U(set.hint));
    set.pages = new QStackedWidget(this);
    for (const auto& [caption, page] : tabs[s]) {
      set.bar->addTab(U(caption));
      set.pages->addWidget(page);
    }
    connect(set.bar, &QTabBar::tabBarClicked, this, [this, s](int) { BringToFront(s); });
    connect(set.bar, &QTabBar::currentChanged, this, [this, s](int tab) {
      sets_[s].pages->setCurrentIndex(tab);
      BringToFront(s);
    });
  }
  frontHolder_ = new QWidget(this);
  auto* holder = new QVBoxLayout(frontHolder_);
  holder->setContentsMargins(0, 0, 0, 0);
  holder->setSpacing(0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  buttons->button(QDialogButtonBox::Help)->setAccessibleName(QStringLiteral("Help"));
  buttons->button(QDialogButtonBox::Help)->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &TSet_ViewForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frontHolder_, 1);
  layout->addWidget(buttons);

  barTimer_.setInterval(200);
  connect(&barTimer_, &QTimer::timeout, this, [this] {
    for (QProgressBar* sample : barSamples_) sample->setValue((sample->value() + 1) % 101);
  });

  FillControls();
  ApplyEnableRules();
  sets_[0].bar->setCurrentIndex(0);
  sets_[1].bar->setCurrentIndex(0);
  front_ = 1;
  BringToFront(0);
}

void TSet_ViewForm::BringToFront(int pageSet) {
  const bool exchange = pageSet != front_ || frontHolder_->layout()->count() == 0;
  front_ = pageSet;
  if (exchange) {
    // The set behind shows its tabs only, above the tabs and the page of the one in front.
    auto* holder = static_cast<QVBoxLayout*>(frontHolder_->layout());
    while (holder->count() > 0) delete holder->takeAt(0);  // the items only, not the widgets
    const PageSet& back = sets_[1 - pageSet];
    const PageSet& front = sets_[pageSet];
    back.pages->hide();
    holder->addWidget(back.bar);
    holder->addWidget(front.bar);
    holder->addWidget(front.pages, 1);
    front.pages->show();
  }
  setWindowTitle(U(kCaption) + QStringLiteral(" [") + U(sets_[pageSet].hint) + QStringLiteral("]"));
  const bool fontsTab = front_ == 1 && sets_[1].bar->currentIndex() == 2;
  if (fontsTab && !barTimer_.isActive()) barTimer_.start();
  if (!fontsTab) barTimer_.stop();
}

void TSet_ViewForm::ShowTab(int pageSet, int tab) {
  sets_[pageSet].bar->setCurrentIndex(tab);
  BringToFront(pageSet);
}

// ---- pages -------------------------------------------------------------------------

QWidget* TSet_ViewForm::ColumnGroup(ColumnPair& pair, const char* note) {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  pair.visible = Named(new ColumnListWidget(true, box), U("表示する項目"));
  pair.hidden = Named(new ColumnListWidget(false, box), U("表示しない項目"));
  pair.visible->SetPartner(pair.hidden);
  pair.hidden->SetPartner(pair.visible);
  QPushButton* add = Button("<< 追加", U("<< 追加"), box);
  QPushButton* remove = Button("削除 >>", U("削除 >>"), box);
  connect(add, &QPushButton::clicked, this, [pair] {
    ColumnNames hidden = pair.hidden->Entries(), visible = pair.visible->Entries();
    MoveSelectedToEnd(hidden, pair.hidden->SelectedRows(), visible);
    pair.hidden->SetEntries(hidden);
    pair.visible->SetEntries(visible);
  });
  connect(remove, &QPushButton::clicked, this, [pair] {
    ColumnNames hidden = pair.hidden->Entries(), visible = pair.visible->Entries();
    MoveSelectedToEnd(visible, pair.visible->SelectedRows(), hidden);
    pair.hidden->SetEntries(hidden);
    pair.visible->SetEntries(visible);
  });
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(add);
  middle->addWidget(remove);
  middle->addStretch();
  grid->addWidget(new QLabel(U("表示する項目"), box), 0, 0);
  grid->addWidget(new QLabel(U("表示しない項目"), box), 0, 2);
  grid->addWidget(pair.visible, 1, 0);
  grid->addLayout(middle, 1, 1);
  grid->addWidget(pair.hidden, 1, 2);
  grid->addWidget(new QLabel(U(note), box), 2, 0, 1, 3);
  return box;
}

QWidget* TSet_ViewForm::BuildColumnsTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* file = new QGroupBox(QStringLiteral("FileList"), page);
  (new QVBoxLayout(file))
      ->addWidget(ColumnGroup(fileColumns_, "ファイル名は必ず表示されるので、設定項目には入っていません."));
  auto* play = new QGroupBox(QStringLiteral("PlayList"), page);
  (new QVBoxLayout(play))
      ->addWidget(ColumnGroup(playColumns_, "PlayerNoは必ず表示されるので、設定項目には入っていません."));
  layout->addWidget(file);
  layout->addWidget(play);
  return page;
}

QWidget* TSet_ViewForm::BuildNamesTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* names = new QGroupBox(U("ファイル名"), page);
  auto* n = new QVBoxLayout(names);
  nameCase_ = {Radio("全て大文字に変換", names), Radio("全て小文字に変換", names), Radio("変換せずそのまま", names)};
  for (QRadioButton* r : nameCase_) n->addWidget(r);
  auto* dates = new QGroupBox(U("日付"), page);
  auto* d = new QVBoxLayout(dates);
  dateForm_ = {Radio("年・月・日 のみ表示する", dates), Radio("上の項目に加えて、時間・分を表示する", dates),
               Radio("上の項目に加えて、秒を表示する", dates)};
  for (QRadioButton* r : dateForm_) d->addWidget(r);
  fourDigitYear_ = Check("年号は４桁表示する", dates);
  d->addWidget(fourDigitYear_);
  auto* fill = new QGroupBox(U("補完"), page);
  auto* f = new QVBoxLayout(fill);
  artistFallback_ = Check("アーティストが空の場合は代わりに作曲者の情報を表示する", fill);
  composerFallback_ = Check("作曲者が空の場合は代わりにアーティストの情報を表示する", fill);
  f->addWidget(artistFallback_);
  f->addWidget(composerFallback_);
  layout->addWidget(names);
  layout->addWidget(dates);
  layout->addWidget(fill);
  layout->addStretch();
  return page;
}

QWidget* TSet_ViewForm::BuildTitlesTab() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  const std::pair<const char*, int> rows[] = {
      {"タイトルがない", 4}, {"オープンに失敗", 2}, {"未検索ファイル", 5}, {"サイズ制限", 1}, {"Formatが違う", 3}};
  int r = 0;
  for (auto [caption, state] : rows) {
    QLineEdit* edit = Named(new QLineEdit(page), U(caption));
    errTitles_[state - 1] = edit;
    QPushButton* reset = Button("Default", U(caption) + QStringLiteral(" Default"), page);
    connect(reset, &QPushButton::clicked, this, [edit, state = state] {
      edit->setText(U(DefaultErrTitles()[static_cast<std::size_t>(state - 1)].c_str()));
    });
    grid->addWidget(new QLabel(U(caption), page), r, 0);
    grid->addWidget(edit, r, 1);
    grid->addWidget(reset, r, 2);
    ++r;
  }
  grid->setRowStretch(r, 1);
  return page;
}

QWidget* TSet_ViewForm::BuildOperationTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* mouse = new QGroupBox(U("マウス"), page);
  auto* m = new QVBoxLayout(mouse);
  singleClick_ = Radio("シングルクリックでファイルを開く", mouse);
  doubleClick_ = Radio("シングルクリックで選択し、ダブルクリックで開く", mouse);
  hoverSelect_ = Check("マウスカーソル上のファイルを一定時間後、自動的に選択する", mouse);
  m->addWidget(singleClick_);
  m->addWidget(doubleClick_);
  m->addWidget(hoverSelect_);
  auto* keys = new QGroupBox(U("キーボード"), page);
  auto* k = new QVBoxLayout(keys);
  dropSelection_ = Radio("アイテムをCTRLなどで選択後、フォーカスを移動すると選択を無効にする", keys);
  keepSelection_ = Radio("アイテムを選択後にフォーカスを移動しても選択項目を保持する", keys);
  focusedShown_ = Check("複数選択時もフォーカスのあるアイテムを反転する", keys);
  k->addWidget(dropSelection_);
  k->addWidget(keepSelection_);
  k->addWidget(focusedShown_);
  for (QRadioButton* r : {singleClick_, doubleClick_, dropSelection_, keepSelection_})
    connect(r, &QRadioButton::toggled, this, &TSet_ViewForm::ApplyEnableRules);
  layout->addWidget(mouse);
  layout->addWidget(keys);
  layout->addStretch();
  return page;
}

QWidget* TSet_ViewForm::BuildOtherTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  noIcons_ = Check("アイコンを表示しない （次回起動時より有効）", page);
  wholeRow_ = Check("選択時、ファイル名の部分だけで無く、行全体を反転する", page);
  quickFolder_ = Check("FileListからフォルダを開く時、場合によっては速く開くためにフォルダ一覧と連動をしない", page);
  sortIgnoresMarks_ = Check("ソート時、先頭にある記号の類を無視する (ファイル名では無効)", page);
  selectAllFolders_ = Check("全選択時、フォルダも選択する", page);
  for (QCheckBox* c : {noIcons_, wholeRow_, quickFolder_, sortIgnoresMarks_, selectAllFolders_}) layout->addWidget(c);
  layout->addStretch();
  return page;
}

QWidget* TSet_ViewForm::BuildPlayerTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* normal = new QGroupBox(U("通常の演奏"), page);
  auto* n = new QVBoxLayout(normal);
  playerNormal_ = Radio("初回起動時は普通のサイズのWindowで起動させる", normal);
  playerMinimised_ = Radio("初回起動時はWindowを最小化の状態で起動させる", normal);
  keepWindows_ = Check("Player起動前のWindowの状態 (最前面、アクティブ) を出きる限り保つ", normal);
  lyricsFront_ = Check("歌詞ファイルが存在する場合はPlayerを普通のサイズにし、最前面に持ってくる", normal);
  for (QWidget* w : std::initializer_list<QWidget*>{playerNormal_, playerMinimised_, keepWindows_, lyricsFront_})
    n->addWidget(w);
  auto* watch = new QHBoxLayout;
  watch->addWidget(new QLabel(U("PlayerのWindowを監視する時間"), normal));
  watchTime_ = Named(new QSpinBox(normal), U("PlayerのWindowを監視する時間"));
  watchTime_->setRange(kWatchMin, kWatchMax);
  watchTime_->setSingleStep(kWatchStep);
  watchTime_->setSuffix(QStringLiteral(" ms"));
  if (auto* edit = watchTime_->findChild<QLineEdit*>()) edit->setReadOnly(true);  // arrows only
  watch->addWidget(watchTime_);
  watch->addStretch();
  n->addLayout(watch);
  auto* listPlay = new QGroupBox(U("ListPlay (DDEに対応していないPlayer)"), page);
  auto* l = new QVBoxLayout(listPlay);
  listPlayNormal_ = Radio("普通のサイズのWindowで起動させる", listPlay);
  listPlayMinimised_ = Radio("Windowを最小化の状態で起動させる", listPlay);
  l->addWidget(listPlayNormal_);
  l->addWidget(listPlayMinimised_);
  layout->addWidget(normal);
  layout->addWidget(listPlay);
  layout->addStretch();
  return page;
}

QWidget* TSet_ViewForm::BuildWindowTab() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* restore = new QGroupBox(U("起動時に前回の状態を復元する"), page);
  auto* r = new QVBoxLayout(restore);
  restore_ = {Check("フォルダ一覧", restore), Check("ステータスバー", restore), Check("ショートカットバー", restore),
              Check("Windowの位置､サイズ", restore)};
  for (QCheckBox* c : restore_) r->addWidget(c);
  auto* force = new QGroupBox(U("起動時に必ず表示する"), page);
  auto* f = new QVBoxLayout(force);
  force_ = {Check("フォルダ一覧 は起動時必ず表示", force), Check("ステータスバー は起動時必ず表示", force),
            Check("ショートカットバー は起動時必ず表示", force)};
  for (QCheckBox* c : force_) {
    f->addWidget(c);
    connect(c, &QCheckBox::toggled, this, &TSet_ViewForm::ApplyEnableRules);
  }
  auto* trayBox = new QGroupBox(U("タスクトレイ"), page);
  auto* t = new QVBoxLayout(trayBox);
  tray_ = Check("タスクトレイにアイコンを入れる", trayBox);
  trayMinimisedOnly_ = Check("最小化時のみタスクトレイに入れる", trayBox);
  trayHideTaskbar_ = Check("最小化時にタスクバーにアプリケーションを表示しない", trayBox);
  for (QCheckBox* c : {tray_, trayMinimisedOnly_, trayHideTaskbar_}) t->addWidget(c);
  connect(tray_, &QCheckBox::toggled, this, &TSet_ViewForm::ApplyEnableRules);
  noLogo_ = Check("起動時のロゴを表示しない", page);
  for (QWidget* w : std::initializer_list<QWidget*>{restore, force, trayBox, noLogo_}) layout->addWidget(w);
  layout->addStretch();
  return page;
}

QWidget* TSet_ViewForm::BuildFontsTab() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  int row = 0;
  for (int i = 0; i < 6; ++i, ++row) {
    FontRow& f = fonts_[static_cast<std::size_t>(i)];
    f.group = kFontRowGroups[i];
    const QString caption = U(kFontRowCaptions[i]);
    f.preview = Named(new QLabel(page), caption);
    f.preview->setAutoFillBackground(true);
    f.preview->setFrameShape(QFrame::StyledPanel);
    f.preview->setMinimumWidth(220);
    QPushButton* font = Button("Font", caption + QStringLiteral(" Font"), page);
    QPushButton* colour = Button("Color", caption + QStringLiteral(" Color"), page);
    QPushButton* back = Button("BackColor", caption + QStringLiteral(" BackColor"), page);
    QPushButton* reset = Button("Default", caption + QStringLiteral(" Default"), page);
    connect(font, &QPushButton::clicked, this, [this, &f] {
      if (auto chosen = choosers_.font(FontFromSetting(f.font, f.group), this)) {
        f.font.Face = Cp932(chosen->family().toStdString());
        f.font.Points = chosen->pointSize() > 0 ? chosen->pointSize() : DefaultFontPoints(f.group);
        f.font.Bold = chosen->bold();
        f.font.Italic = chosen->italic();
        f.font.Underline = chosen->underline();
        f.font.StrikeOut = chosen->strikeOut();
        UpdatePreview(f);
      }
    });
    connect(colour, &QPushButton::clicked, this, [this, &f] {
      if (auto chosen = choosers_.colour(ColourFromStored(f.font.Color, palette()), this)) {
        f.font.Color = StoredFromColour(*chosen, f.font.Color, palette());
        UpdatePreview(f);
      }
    });
    connect(back, &QPushButton::clicked, this, [this, &f] {
      if (auto chosen = choosers_.colour(ColourFromStored(f.font.BackColor, palette()), this)) {
        f.font.BackColor = StoredFromColour(*chosen, f.font.BackColor, palette());
        UpdatePreview(f);
      }
    });
    connect(reset, &QPushButton::clicked, this, [this, &f] {
      f.font = FontSetting{};
      f.font.Points = DefaultFontPoints(f.group);
      f.font.Color = kColorWindowText;
      f.font.BackColor = kColorWindow;
      UpdatePreview(f);
    });
    grid->addWidget(new QLabel(caption, page), row, 0);
    grid->addWidget(f.preview, row, 1);
    grid->addWidget(font, row, 2);
    grid->addWidget(colour, row, 3);
    grid->addWidget(back, row, 4);
    grid->addWidget(reset, row, 5);
  }
  const char* barCaptions[2] = {"検索状況", "コンバート状況"};
  for (int b = 0; b < 2; ++b, ++row) {
    const QString caption = U(barCaptions[b]);
    QProgressBar* sample = Named(new QProgressBar(page), caption);
    sample->setRange(0, 100);
    sample->setValue(b == 0 ? 30 : 70);
    sample->setTextVisible(false);
    barSamples_[b] = sample;
    QPushButton* colour = Button("Color", caption + QStringLiteral(" Color"), page);
    QPushButton* back = Button("BackColor", caption + QStringLiteral(" BackColor"), page);
    QPushButton* reset = Button("Default", caption + QStringLiteral(" Default"), page);
    connect(colour, &QPushButton::clicked, this, [this, b] {
      if (auto chosen = choosers_.colour(ColourFromStored(bars_[b].Bar, palette()), this)) {
        bars_[b].Bar = StoredFromColour(*chosen, bars_[b].Bar, palette());
        UpdateBar(b);
      }
    });
    connect(back, &QPushButton::clicked, this, [this, b] {
      if (auto chosen = choosers_.colour(ColourFromStored(bars_[b].Back, palette()), this)) {
        bars_[b].Back = StoredFromColour(*chosen, bars_[b].Back, palette());
        UpdateBar(b);
      }
    });
    connect(reset, &QPushButton::clicked, this, [this, b] {
      bars_[b] = {kColorHighlight, kColorButtonFace};
      UpdateBar(b);
    });
    grid->addWidget(new QLabel(caption, page), row, 0);
    grid->addWidget(sample, row, 1);
    grid->addWidget(colour, row, 3);
    grid->addWidget(back, row, 4);
    grid->addWidget(reset, row, 5);
  }
  grid->setRowStretch(row, 1);
  return page;
}

// ---- values ------------------------------------------------------------------------

void TSet_ViewForm::FillColumns(ColumnPair& pair, bool playList, const std::vector<int32_t>& ids) {
  const ListKind kind = playList ? ListKind::PlayList : ListKind::FileList;
  ColumnNames visible, hidden;
  for (int32_t id : ids) {
    const std::string name = ColumnNameById(kind, id);
    if (id == 1 || name.empty() || std::find(visible.begin(), visible.end(), name) != visible.end()) continue;
    visible.push_back(name);
  }
  for (const TColumnInfo& c : ColumnTable(kind))
    if (c.Id != 1 && std::find(visible.begin(), visible.end(), c.JapaneseName) == visible.end())
      hidden.emplace_back(c.JapaneseName);
  pair.visible->SetEntries(visible);
  pair.hidden->SetEntries(hidden);
}

void TSet_ViewForm::FillControls() {
  const ViewSettings& v = initial_;
  FillColumns(fileColumns_, false, v.FileListItems);
  FillColumns(playColumns_, true, v.PlayListItems);
  nameCase_[v.View.NameCase == 1 ? 0 : v.View.NameCase == 2 ? 1 : 2]->setChecked(true);
  dateForm_[static_cast<std::size_t>(std::clamp(v.View.DateForm, 0, 2))]->setChecked(true);
  fourDigitYear_->setChecked(v.View.FourDigitYear);
  artistFallback_->setChecked(v.View.ArtistFallsBackToComposer);
  composerFallback_->setChecked(v.View.ComposerFallsBackToArtist);
  for (std::size_t i = 0; i < 5; ++i) errTitles_[i]->setText(QString::fromStdString(DisplayText(v.View.ErrTitle[i])));
  (v.View.SingleClickOpen ? singleClick_ : doubleClick_)->setChecked(true);
  hoverSelect_->setChecked(v.View.HoverSelect);
  (v.View.KeepSelectionOnFocusMove ? keepSelection_ : dropSelection_)->setChecked(true);
  focusedShown_->setChecked(v.View.FocusedShownSelected);
  noIcons_->setChecked(!v.View.ShowIcons);
  wholeRow_->setChecked(v.View.WholeRowHighlight);
  quickFolder_->setChecked(v.View.QuickFolderOpen);
  sortIgnoresMarks_->setChecked(v.Window.SortOption);
  selectAllFolders_->setChecked(v.View.SelectAllIncludesFolders);

  (v.PWcontrol1 & 2 ? playerMinimised_ : playerNormal_)->setChecked(true);
  keepWindows_->setChecked(v.PWcontrol1 & 8);
  lyricsFront_->setChecked(v.PWcontrol1 & 4);
  (v.PWcontrol2 & 2 ? listPlayMinimised_ : listPlayNormal_)->setChecked(true);
  // A damaged stored time is brought into the offered range.
  watchTime_->setValue(std::clamp(v.Window.PWCheckTime, kWatchMin, kWatchMax));

  const int32_t saved = v.SaveWinState < 0 ? 15 : v.SaveWinState;
  for (std::size_t i = 0; i < restore_.size(); ++i) restore_[i]->setChecked(saved & (1 << i));
  for (std::size_t i = 0; i < force_.size(); ++i) force_[i]->setChecked(v.ForceWinState & (1 << i));
  tray_->setChecked(v.Window.TrayIcon);
  trayMinimisedOnly_->setChecked(v.Window.TrayAlways);
  trayHideTaskbar_->setChecked(v.Window.TrayHideTaskbar);
  noLogo_->setChecked(!(v.Splitter & 1));

  for (FontRow& row : fonts_) {
    row.font = v.Fonts[static_cast<std::size_t>(StoredFontIndex(row.group))];
    row.font.Points = SanePoints(row.font.Points, row.group);
    UpdatePreview(row);
  }
  bars_ = v.ProgressBars;
  UpdateBar(0);
  UpdateBar(1);
}

ViewSettings TSet_ViewForm::Values() const {
  ViewSettings v = initial_;
  for (auto [pair, kind, items] : {std::tuple{&fileColumns_, ListKind::FileList, &v.FileListItems},
                                   std::tuple{&playColumns_, ListKind::PlayList, &v.PlayListItems}}) {
    items->assign(1, 1);
    for (const std::string& name : pair->visible->Entries()) items->push_back(ColumnIdByName(kind, name));
  }
  v.View.NameCase = nameCase_[0]->isChecked() ? 1 : nameCase_[1]->isChecked() ? 2 : 0;
  v.View.DateForm = dateForm_[2]->isChecked() ? 2 : dateForm_[1]->isChecked() ? 1 : 0;
  v.View.FourDigitYear = fourDigitYear_->isChecked();
  v.View.ArtistFallsBackToComposer = artistFallback_->isChecked();
  v.View.ComposerFallsBackToArtist = composerFallback_->isChecked();
  for (std::size_t i = 0; i < 5; ++i) v.View.ErrTitle[i] = Cp932(errTitles_[i]->text().toStdString());
  v.View.SingleClickOpen = singleClick_->isChecked();
  v.View.HoverSelect = hoverSelect_->isChecked();
  v.View.KeepSelectionOnFocusMove = keepSelection_->isChecked();
  v.View.FocusedShownSelected = focusedShown_->isChecked();
  v.View.ShowIcons = !noIcons_->isChecked();
  v.View.WholeRowHighlight = wholeRow_->isChecked();
  v.View.QuickFolderOpen = quickFolder_->isChecked();
  v.Window.SortOption = sortIgnoresMarks_->isChecked();
  v.View.SelectAllIncludesFolders = selectAllFolders_->isChecked();

  v.PWcontrol1 = (v.PWcontrol1 & ~15) | (playerMinimised_->isChecked() ? 2 : 1) | (lyricsFront_->isChecked() ? 4 : 0) |
                 (keepWindows_->isChecked() ? 8 : 0);
  v.PWcontrol2 = (v.PWcontrol2 & ~3) | (listPlayMinimised_->isChecked() ? 2 : 1);
  v.Window.PWCheckTime = watchTime_->value();
  v.SaveWinState = 0;
  for (std::size_t i = 0; i < restore_.size(); ++i) v.SaveWinState |= restore_[i]->isChecked() ? 1 << i : 0;
  v.ForceWinState = 0;
  for (std::size_t i = 0; i < force_.size(); ++i) v.ForceWinState |= force_[i]->isChecked() ? 1 << i : 0;
  // Boxes disabled by a rule keep their marks, and these are saved as shown.
  v.Window.TrayIcon = tray_->isChecked();
  v.Window.TrayAlways = trayMinimisedOnly_->isChecked();
  v.Window.TrayHideTaskbar = trayHideTaskbar_->isChecked();
  v.Splitter = (v.Splitter & ~1) | (noLogo_->isChecked() ? 0 : 1);
  for (const FontRow& row : fonts_) v.Fonts[static_cast<std::size_t>(StoredFontIndex(row.group))] = row.font;
  v.ProgressBars = bars_;
  return v;
}

void TSet_ViewForm::ApplyEnableRules() {
  hoverSelect_->setEnabled(singleClick_->isChecked());
  focusedShown_->setEnabled(keepSelection_->isChecked());
  for (std::size_t i = 0; i < force_.size(); ++i) restore_[i]->setEnabled(!force_[i]->isChecked());
  trayMinimisedOnly_->setEnabled(tray_->isChecked());
  trayHideTaskbar_->setEnabled(tray_->isChecked());
}

void TSet_ViewForm::UpdatePreview(FontRow& row) {
  const QFont font = FontFromSetting(row.font, row.group);
  row.preview->setFont(font);
  QPalette p = row.preview->palette();
  p.setColor(QPalette::WindowText, ColourFromStored(row.font.Color, palette()));
  p.setColor(QPalette::Window, ColourFromStored(row.font.BackColor, palette()));
  row.preview->setPalette(p);
  row.preview->setText(font.family() + QStringLiteral(" %1pt").arg(font.pointSize()));
}

void TSet_ViewForm::UpdateBar(int bar) {
  QPalette p = barSamples_[bar]->palette();
  p.setColor(QPalette::Highlight, ColourFromStored(bars_[bar].Bar, palette()));
  p.setColor(QPalette::Base, ColourFromStored(bars_[bar].Back, palette()));
  p.setColor(QPalette::Window, ColourFromStored(bars_[bar].Back, palette()));
  barSamples_[bar]->setPalette(p);
}

void TSet_ViewForm::accept() {
  if (save_ && !save_(Values())) {
    messages_.Warn(kSaveFailed);
    return;
  }
  QDialog::accept();
}

}  // namespace kadrel
