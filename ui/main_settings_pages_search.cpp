// "検索するファイルタイプ", "ファイル検索設定", "情報検索設定" and "Index設定".

#include <algorithm>

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "catalog/format_table.h"
#include "ui/main_settings_dialog.h"
#include "ui/main_settings_pages.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;
using namespace settings_page;

namespace {

constexpr const char* kFormatCodes[kFormatCount] = {"MGS", "MID", "STD", "MFF", "RMI", "RCP", "R36", "G18", "G36",
                                                    "MP3", "MP2", "RMP", "MOD", "VQF", "MPL", "WAV", "AIF"};
constexpr const char* kDefaultInfoTypes = "ﾎｿｸ,UP,HED,DOC,TXT";

QSpinBox* Spin(const char* accessible, const char* object, int low, int high, int step, int value, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromLatin1(object));
  spin->setAccessibleName(U(accessible));
  spin->setRange(low, high);
  spin->setSingleStep(step);
  spin->setValue(std::clamp(value, low, high));
  return spin;
}

void Together(std::initializer_list<QRadioButton*> buttons, QWidget* parent) {
  auto* group = new QButtonGroup(parent);
  for (QRadioButton* b : buttons) group->addButton(b);
}

}  // namespace

QWidget* TSet_MainForm::BuildFileTypePage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* group = Group("検索・表示するファイルタイプ", "FileTypes", page);
  auto* grid = new QGridLayout(group);
  const TMainOption& m = initial_.main.Main;
  for (int i = 0; i < kFormatCount; ++i) {
    const std::string object = std::string("FType_") + kFormatCodes[i];
    QCheckBox* box = Check(kFormatCodes[i], object.c_str(), group);
    box->setChecked(m.Formats.Enabled(i));
    types_[static_cast<std::size_t>(i)] = box;
    grid->addWidget(box, i / 6, i % 6);
  }
  layout->addWidget(group);
  mgsHidden_ = Check("MGSで使用するMIDIは非表示", "MgsMusicInVisible", page);
  mgsHidden_->setChecked(m.MgsMusicInVisible);
  layout->addWidget(mgsHidden_);
  layout->addStretch();
  connect(types_[kRowMGS], &QCheckBox::toggled, this, &TSet_MainForm::ApplyEnableRules);
  return page;
}

QWidget* TSet_MainForm::BuildFileSearchPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const TMainOption& m = initial_.main.Main;

  lzh_ = Check("LZH 圧縮書庫内のファイルを検索する", "LzhSearch", page);
  lzh_->setChecked(m.LzhStyle != 0);
  layout->addWidget(lzh_);
  lzhTitles_ = Group("圧縮ファイル内のタイトル検索", "LzhTitles", page);
  auto* titles = new QGridLayout(lzhTitles_);
  lzhNoTitles_ = Radio("タイトルを検索しない (ファイル名のみ表示)", "LzhNoTitles", lzhTitles_);
  lzhSmallTitles_ = Radio("指定したサイズ以下のファイルのみタイトルを検索する", "LzhSmallTitles", lzhTitles_);
  lzhAllTitles_ = Radio("すべてのファイルのタイトルを検索する", "LzhAllTitles", lzhTitles_);
  lzhBytes_ = Spin("タイトルを検索するファイルサイズ (KB)", "LZHByte", kLzhByteMin, kLzhByteMax, 25, m.LZHByte, lzhTitles_);
  lzhBytes_->setSuffix(QStringLiteral(" KB"));
  Together({lzhNoTitles_, lzhSmallTitles_, lzhAllTitles_}, lzhTitles_);
  (m.LzhStyle == 1 ? lzhNoTitles_ : m.LzhStyle == 3 ? lzhAllTitles_ : lzhSmallTitles_)->setChecked(true);
  titles->addWidget(lzhNoTitles_, 0, 0, 1, 2);
  titles->addWidget(lzhSmallTitles_, 1, 0);
  titles->addWidget(lzhBytes_, 1, 1);
  titles->addWidget(lzhAllTitles_, 2, 0, 1, 2);
  layout->addWidget(lzhTitles_);

  melt_ = Group("圧縮ファイルの扱い", "LzhMelt", page);
  auto* melt = new QVBoxLayout(melt_);
  meltLyrics_ = Radio("WRDなどの歌詞ファイルがある場合のみ圧縮ファイルの内容を全て解凍する", "MeltLyrics", melt_);
  meltAll_ = Radio("常に圧縮ファイルの内容を全て解凍する", "MeltAll", melt_);
  meltMusic_ = Radio("常に音楽ファイルのみを解凍する (歌詞ファイルなどは無効となります)", "MeltMusic", melt_);
  meltListPlay_ = Check("ListPlay時には音楽ファイルのみを解凍する", "MeltListPlay", melt_);
  Together({meltLyrics_, meltAll_, meltMusic_}, melt_);
  const int meltStyle = m.LzhMeltStyle % 10;
  (meltStyle == 2 ? meltAll_ : meltStyle == 3 ? meltMusic_ : meltLyrics_)->setChecked(true);
  meltListPlay_->setChecked(m.LzhMeltStyle >= 10);
  for (QWidget* w : std::initializer_list<QWidget*>{meltLyrics_, meltAll_, meltMusic_, meltListPlay_}) melt->addWidget(w);
  layout->addWidget(melt_);

  auto* scan = Group("検索中の表示", "ScanShow", page);
  auto* scanLayout = new QVBoxLayout(scan);
  showWhileScanning_ = Check("検索が終わったファイルから順次表示していく (推奨)", "ShowWhileScanning", scan);
  showWhileScanning_->setChecked(m.ShowWhileScanning);
  scanSort_[0] = Radio("検索中はソートしない", "ScanSortNever", scan);
  scanSort_[1] = Radio("ソートしながら表示する", "ScanSortKeep", scan);
  scanSort_[2] = Radio("検索終了後にソートする", "ScanSortEnd", scan);
  Together({scanSort_[0], scanSort_[1], scanSort_[2]}, scan);
  scanSort_[static_cast<std::size_t>(std::clamp(m.ScanSortMode, 0, 2))]->setChecked(true);
  scanLayout->addWidget(showWhileScanning_);
  auto* sorts = new QHBoxLayout;
  sorts->addSpacing(20);
  for (QRadioButton* r : scanSort_) sorts->addWidget(r);
  sorts->addStretch();
  scanLayout->addLayout(sorts);
  layout->addWidget(scan);
  layout->addStretch();

  connect(lzh_, &QCheckBox::toggled, this, &TSet_MainForm::ApplyEnableRules);
  connect(lzhSmallTitles_, &QRadioButton::toggled, this, &TSet_MainForm::ApplyEnableRules);
  connect(showWhileScanning_, &QCheckBox::toggled, this, &TSet_MainForm::ApplyEnableRules);
  return page;
}

QWidget* TSet_MainForm::BuildInfoPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const TMainOption& m = initial_.main.Main;

  auto* title = Group("タイトルの取得方法", "TitleGetstyle", page);
  auto* titleLayout = new QVBoxLayout(title);
  titleFrom_[0] = Radio("音楽ファイルからのみ取得する", "TitleFromMusic", title);
  titleFrom_[1] = Radio("音楽ファイル → 付属テキストの順で取得する", "TitleFromMusicThenText", title);
  titleFrom_[2] = Radio("付属テキスト → 音楽ファイルの順で取得する", "TitleFromTextThenMusic", title);
  Together({titleFrom_[0], titleFrom_[1], titleFrom_[2]}, title);
  titleFrom_[static_cast<std::size_t>(std::clamp(m.TitleGetstyle, 1, 3) - 1)]->setChecked(true);
  for (QRadioButton* r : titleFrom_) titleLayout->addWidget(r);
  layout->addWidget(title);

  auto* others = Group("タイトル以外に取得する情報", "OthersGetstyle", page);
  auto* othersLayout = new QHBoxLayout(others);
  others_[0] = Check("アーティスト", "OthersArtist", others);
  others_[1] = Check("作詞者・作曲者", "OthersWriters", others);
  others_[2] = Check("データ作成者", "OthersMaker", others);
  for (std::size_t i = 0; i < others_.size(); ++i) {
    others_[i]->setChecked(m.OthersGetstyle & (1 << i));
    othersLayout->addWidget(others_[i]);
  }
  othersLayout->addStretch();
  layout->addWidget(others);

  auto* smf = new QHBoxLayout;
  smfBytes_ = Spin("SMFのタイトルを検索する範囲 (先頭からのバイト数)", "SMFByte", kSmfByteMin, kSmfByteMax, 10, m.SMFByte, page);
  smfBytes_->setSuffix(QStringLiteral(" Byte"));
  smf->addWidget(new QLabel(U("SMFのタイトルを検索する範囲 (先頭からのバイト数)"), page));
  smf->addWidget(smfBytes_);
  smf->addStretch();
  layout->addLayout(smf);

  auto* docs = Group("情報を検索する付属テキストの優先順位 (左ほど優先)", "InfoGetType", page);
  auto* docsLayout = new QHBoxLayout(docs);
  infoTypes_ = Edit("情報を検索する付属テキストの優先順位", "InfoGetTypeEdit", docs);
  infoTypes_->setText(QString::fromStdString(DisplayText(m.InfoGetType)));
  QPushButton* reset = Button("初期値", "情報を検索する付属テキスト 初期値", "InfoGetTypeDefault", docs);
  connect(reset, &QPushButton::clicked, this, [this] { infoTypes_->setText(U(kDefaultInfoTypes)); });
  docsLayout->addWidget(infoTypes_, 1);
  docsLayout->addWidget(reset);
  layout->addWidget(docs);
  layout->addStretch();
  return page;
}

QWidget* TSet_MainForm::BuildIndexPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const TMainOption& m = initial_.main.Main;

  useIndex_ = Check("Indexを使用する (圧縮ファイルを検索する方には特に推奨)", "UseIndex", page);
  useIndex_->setChecked(m.IndexMode != 0);
  skipPlainFolders_ = Check("圧縮されている音楽ファイルが存在しないフォルダのIndexは保存しない", "SkipPlainFolders", page);
  skipPlainFolders_->setChecked(m.IndexMode == 1);
  layout->addWidget(useIndex_);
  auto* skip = new QHBoxLayout;
  skip->addSpacing(20);
  skip->addWidget(skipPlainFolders_);
  layout->addLayout(skip);

  auto* drives = Group("ドライブ別の設定", "IndexDrives", page);
  auto* grid = new QGridLayout(drives);
  saveCdRom_ = Check("CD-ROMドライブのIndexを保存する", "SaveIndexCdRom", drives);
  saveRam_ = Check("RAMドライブのIndexを保存する", "SaveIndexRam", drives);
  noRemovable_ = Check("リムーバブルディスクドライブのIndexは保存しない", "NoRemovableIndex", drives);
  removablePerFolder_ = Check("リムーバブルディスクではフォルダごとにIndexを保存する", "RemovablePerFolder", drives);
  removableInRoot_ = Check("リムーバブルディスクではディスクのルートフォルダにIndexを保存する", "RemovableInRoot", drives);
  saveCdRom_->setChecked(m.SaveIndexCdRom);
  saveRam_->setChecked(m.SaveIndexRam);
  noRemovable_->setChecked(!m.SaveIndexRemovable);
  removablePerFolder_->setChecked(m.RemovableIndexPlace == 1);
  removableInRoot_->setChecked(m.RemovableIndexPlace == 2);
  grid->addWidget(saveCdRom_, 0, 0, 1, 2);
  grid->addWidget(saveRam_, 1, 0, 1, 2);
  grid->addWidget(noRemovable_, 2, 0, 1, 2);
  grid->addWidget(removablePerFolder_, 3, 1);
  grid->addWidget(removableInRoot_, 4, 1);
  grid->setColumnMinimumWidth(0, 20);
  layout->addWidget(drives);
  layout->addStretch();

  connect(useIndex_, &QCheckBox::toggled, this, &TSet_MainForm::ApplyEnableRules);
  connect(noRemovable_, &QCheckBox::toggled, this, &TSet_MainForm::ApplyEnableRules);
  // The two places exclude each other.
  connect(removablePerFolder_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) removableInRoot_->setChecked(false);
  });
  connect(removableInRoot_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) removablePerFolder_->setChecked(false);
  });
  return page;
}

}  // namespace kadrel
