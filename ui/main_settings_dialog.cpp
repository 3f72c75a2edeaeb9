#include "ui/main_settings_dialog.h"

#include <algorithm>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QDialogButtonBox>
#include <QFile>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "settings/sound_module_names.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;

namespace {

constexpr const char* kCaption = "基本設定";
constexpr const char* kSaveFailed =
    "設定の保存に失敗しました.\n設定ファイルに書き込めないため、変更は保存されていません.";
constexpr const char* kNextStart = "テンポラリフォルダとインデックスフォルダの変更は、次回の起動時から有効になります.";

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "[" : ", [") + DisplayText(n) + "]";
  return out;
}

}  // namespace

TSet_MainForm::TSet_MainForm(MainSettingsValues initial, SupportLibraries libraries,
                             std::function<bool(const MainSettingsValues&)> save, IMessageBox& messages,
                             MainChoosers choosers, std::string programFolder, QWidget* parent)
    : QDialog(parent),
      initial_(std::move(initial)),
      libraries_(std::move(libraries)),
      save_(std::move(save)),
      messages_(messages),
      choosers_(std::move(choosers)),
      programFolder_(std::move(programFolder)) {
  if (programFolder_.empty())
    programFolder_ = WithTrailingSlash(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
  setObjectName(QStringLiteral("TSet_MainForm"));
  setWindowTitle(U(kCaption));
  setAccessibleName(U(kCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("MainSettingsPages"));
  pages_->setAccessibleName(U(kCaption));
  pages_->setUsesScrollButtons(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setAccessibleName(QStringLiteral("OK"));
  ok_->setObjectName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &TSet_MainForm::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  detailInfo_ = initial_.main.PlayerDetailInfo;
  pages_->addTab(BuildPlayerPage(), U("Ｐｌａｙｅｒの設定"));
  pages_->addTab(BuildFolderPage(), U("各種フォルダ設定"));
  pages_->addTab(BuildJumpPage(), U("ジャンプフォルダ"));
  pages_->addTab(BuildFileTypePage(), U("検索するファイルタイプ"));
  pages_->addTab(BuildFileSearchPage(), U("ファイル検索設定"));
  pages_->addTab(BuildInfoPage(), U("情報検索設定"));
  pages_->addTab(BuildIndexPage(), U("Index設定"));
  modules_ = new SoundModulePage(initial_.main.Smfk, libraries_.smfk, messages_, choosers_, programFolder_, this);
  modules_->setObjectName(QStringLiteral("SMFK_Page"));
  modules_->SetOkButton(ok_);
  pages_->addTab(modules_, U("SMFナイフの設定"));
  pages_->addTab(BuildProgramPage(), U("外部プログラム"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addWidget(buttons);
  ok_->setDefault(true);
  ApplyEnableRules();
  // Wide enough for every page's tab to show, where the screen allows.
  int width = std::max(sizeHint().width(), pages_->tabBar()->sizeHint().width() + 2 * layout->contentsMargins().left() + 8);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    width = std::min(width, screen->availableGeometry().width() - 40);
  resize(width, sizeHint().height());
}

void TSet_MainForm::accept() {
  MainSettingsValues values = Values();
  // Every module is one key named after it: a module the store could not hold would
  // be lost without a word, so the user is told which and the dialog stays open.
  const std::string problems = ModuleProblems(values.main.Smfk);
  if (!problems.empty()) {
    messages_.Warn(problems);
    ShowPage(SmfKnife);
    return;
  }
  if (save_ && !save_(values)) {
    messages_.Warn(kSaveFailed);
    return;
  }
  const FolderChoices& was = initial_.folders;
  const FolderChoices& now = values.folders;
  if ((was.Info & 3) != (now.Info & 3) || (!(now.Info & 1) && was.Tmp != now.Tmp) ||
      (!(now.Info & 2) && was.Index != now.Index))
    messages_.Inform(kNextStart);
  QDialog::accept();
}

std::string TSet_MainForm::ModuleProblems(const TSmfkInfo& smfk) const {
  const SoundModuleNameCheck check = CheckSoundModuleNames(smfk.Items);
  if (check.ok()) return {};
  std::string text = "次の音源は保存できません. 音源名を変更してください.";
  if (check.emptyNames > 0) text += "\n名前の無い音源 : " + std::to_string(check.emptyNames) + " 個";
  if (!check.unusable.empty()) text += "\n\"\\\" を含む、または長すぎる音源名 : " + Joined(check.unusable);
  for (const auto& group : check.sameKey) text += "\n大文字・小文字の違いしか無い音源名 : " + Joined(group);
  return text;
}

MainSettingsValues TSet_MainForm::Values() {
  MainSettingsValues v = initial_;
  MainSettings& s = v.main;
  TMainOption& m = s.Main;
  auto bytes = [](const QLineEdit* edit) { return QFile::encodeName(edit->text()).toStdString(); };

  for (std::size_t n = 0; n < slots_.size(); ++n) {
    TPlayer_data& slot = s.Players[n];
    slot = slots_[n].data;
    slot.ExePath = bytes(slots_[n].path);
    slot.DisplayName = PreferCp932(slots_[n].name->text().toStdString());
    slot.InUse = slots_[n].use->isChecked() && !slot.ExePath.empty();
    slot.Recognised = IsRecognisedPlayer(slot.ExePath);
  }
  s.PlayerDetailInfo = detailInfo_;

  FolderChoices& f = v.folders;
  f.Info = (f.Info & ~7) | (temp_.standard->isChecked() ? 1 : 0) | (index_.standard->isChecked() ? 2 : 0) |
           (start_.standard->isChecked() ? 4 : 0);
  f.Start = bytes(start_.path);
  f.Tmp = bytes(temp_.path);
  f.Index = bytes(index_.path);

  for (int row = 0; row < kJumpFolders; ++row) {
    const QTableWidgetItem* item = jump_->item(row, 1);
    s.JumpFolders[static_cast<std::size_t>(row)] =
        TrimBlanks(item ? QFile::encodeName(item->text()).toStdString() : std::string());
  }

  uint32_t mask = 0;
  for (int i = 0; i < kFormatCount; ++i)
    if (types_[static_cast<std::size_t>(i)]->isChecked()) mask |= 1u << i;
  m.Formats = FormatFilter(mask);
  m.MgsMusicInVisible = mgsHidden_->isChecked();

  m.LzhStyle = !lzh_->isChecked() ? 0 : lzhNoTitles_->isChecked() ? 1 : lzhAllTitles_->isChecked() ? 3 : 2;
  m.LZHByte = lzhBytes_->value();
  m.LzhMeltStyle = (meltAll_->isChecked() ? 2 : meltMusic_->isChecked() ? 3 : 1) + (meltListPlay_->isChecked() ? 10 : 0);
  m.ShowWhileScanning = showWhileScanning_->isChecked();
  for (int i = 0; i < 3; ++i)
    if (scanSort_[static_cast<std::size_t>(i)]->isChecked()) m.ScanSortMode = i;

  for (int i = 0; i < 3; ++i)
    if (titleFrom_[static_cast<std::size_t>(i)]->isChecked()) m.TitleGetstyle = i + 1;
  m.OthersGetstyle = (m.OthersGetstyle & ~7) | (others_[0]->isChecked() ? 1 : 0) | (others_[1]->isChecked() ? 2 : 0) |
                     (others_[2]->isChecked() ? 4 : 0);
  m.SMFByte = smfBytes_->value();
  m.InfoGetType = PreferCp932(infoTypes_->text().toStdString());

  m.IndexMode = !useIndex_->isChecked() ? 0 : skipPlainFolders_->isChecked() ? 1 : 2;
  m.SaveIndexCdRom = saveCdRom_->isChecked();
  m.SaveIndexRam = saveRam_->isChecked();
  m.SaveIndexRemovable = !noRemovable_->isChecked();
  m.RemovableIndexPlace = removablePerFolder_->isChecked() ? 1 : removableInRoot_->isChecked() ? 2 : 0;

  m.TextOpenType = openWithViewer_->isChecked() ? 1 : 0;
  m.TextViewer = bytes(viewer_);
  m.TextViewType = PreferCp932(textTypes_->text().toStdString());

  s.Smfk = modules_->Values();
  return v;
}

void TSet_MainForm::ApplyEnableRules() {
  for (FolderRow* row : {&start_, &temp_, &index_}) {
    row->path->setEnabled(row->chosen->isChecked());
    row->browse->setEnabled(row->chosen->isChecked());
  }
  mgsHidden_->setEnabled(types_[kRowMGS]->isChecked());

  const bool lzh = lzh_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{lzhNoTitles_, lzhSmallTitles_, lzhAllTitles_, lzhBytes_})
    w->setEnabled(lzh);
  lzhBytes_->setEnabled(lzh && lzhSmallTitles_->isChecked());
  if (!libraries_.lzh) {
    lzh_->setChecked(false);
    lzh_->setEnabled(false);
    lzhTitles_->hide();
    melt_->hide();
  } else {
    melt_->setVisible(lzh);
  }
  for (QRadioButton* r : scanSort_) r->setEnabled(showWhileScanning_->isChecked());

  skipPlainFolders_->setEnabled(useIndex_->isChecked());
  if (noRemovable_->isChecked()) {
    removablePerFolder_->setChecked(false);
    removableInRoot_->setChecked(false);
  }
  removablePerFolder_->setEnabled(!noRemovable_->isChecked());
  removableInRoot_->setEnabled(!noRemovable_->isChecked());

  viewer_->setEnabled(openWithViewer_->isChecked());
  viewerBrowse_->setEnabled(openWithViewer_->isChecked());
}

bool TSet_MainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == jump_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      ChooseJumpFolder(jump_->currentRow());
      return true;
    }
    if (key->key() == Qt::Key_Delete) {
      if (QTableWidgetItem* item = jump_->item(jump_->currentRow(), 1)) item->setText(QString());
      return true;
    }
    if (key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z && !(key->modifiers() & ~Qt::ShiftModifier)) {
      jump_->setCurrentCell(key->key() - Qt::Key_A, 1);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kadrel
