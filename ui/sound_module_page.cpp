#include "ui/sound_module_page.h"
#include "ui/path_text.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "settings/sound_module_names.h"
#include "ui/main_settings_pages.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;

namespace {

constexpr int kPriorityStep = 5;
constexpr int kNewModulePriority = 50;

QString Shown(const std::string& bytes) { return QString::fromStdString(DisplayText(bytes)); }
std::string Stored(const QString& text) { return PreferCp932(text.toStdString()); }

}  // namespace

SoundModulePage::SoundModulePage(const TSmfkInfo& info, bool libraryAvailable, IMessageBox& messages,
                                 const MainChoosers& choosers, std::string programFolder, QWidget* parent)
    : QWidget(parent), info_(info), messages_(messages), choosers_(choosers), programFolder_(std::move(programFolder)) {
  using namespace settings_page;
  auto* layout = new QVBoxLayout(this);

  auto* usage = Group("SMFナイフの使用方法", "SMFK_Usage", this);
  auto* usageGrid = new QGridLayout(usage);
  useLibrary_ = Radio("SMFナイフのDLL版を使用する", "SMFK_UseDll", usage);
  useProgram_ = Radio("SMFナイフのEXE版を使用する", "SMFK_UseExe", usage);
  useNone_ = Radio("SMFナイフを使用しない", "SMFK_UseNone", usage);
  programPath_ = Edit("SMFナイフの実行ファイル", "SMFK_ExePath", usage);
  programBrowse_ = Button("参照", "SMFナイフの実行ファイル 参照", "SMFK_ExeBrowse", usage);
  auto* usageButtons = new QButtonGroup(this);
  for (QRadioButton* r : {useLibrary_, useProgram_, useNone_}) usageButtons->addButton(r);
  usageGrid->addWidget(useLibrary_, 0, 0, 1, 3);
  usageGrid->addWidget(useProgram_, 1, 0);
  usageGrid->addWidget(programPath_, 1, 1);
  usageGrid->addWidget(programBrowse_, 1, 2);
  usageGrid->addWidget(useNone_, 2, 0, 1, 3);
  layout->addWidget(usage);

  modulesGroup_ = Group("SMFナイフの音源別設定", "SMFK_Modules", this);
  auto* grid = new QGridLayout(modulesGroup_);
  cfgDir_ = Edit("CFGの場所", "SMFK_CfgDir", modulesGroup_);
  QPushButton* cfgDirBrowse = Button("参照", "CFGの場所 参照", "SMFK_CfgDirBrowse", modulesGroup_);
  grid->addWidget(new QLabel(U("CFGの場所"), modulesGroup_), 0, 0);
  grid->addWidget(cfgDir_, 0, 1, 1, 3);
  grid->addWidget(cfgDirBrowse, 0, 4);

  auto* targets = new QHBoxLayout;
  targets->addWidget(new QLabel(U("判別に使う情報 :"), modulesGroup_));
  byFileName_ = Check("ファイル名", "SMFK_FindFileName", modulesGroup_);
  byDocument_ = Check("付属テキスト", "SMFK_FindText", modulesGroup_);
  byTitle_ = Check("タイトル", "SMFK_FindTitle", modulesGroup_);
  for (QCheckBox* box : {byFileName_, byDocument_, byTitle_}) targets->addWidget(box);
  targets->addStretch();
  grid->addLayout(targets, 1, 0, 1, 5);

  name_ = Edit("音源名", "SMFK_Name", modulesGroup_);
  add_ = Button("音源追加", "音源追加", "SMFK_Add", modulesGroup_);
  delete_ = Button("音源削除", "音源削除", "SMFK_Delete", modulesGroup_);
  rename_ = Button("名前変更", "名前変更", "SMFK_Rename", modulesGroup_);
  grid->addWidget(new QLabel(U("音源名"), modulesGroup_), 2, 0);
  grid->addWidget(name_, 2, 1);
  grid->addWidget(add_, 2, 2);
  grid->addWidget(delete_, 2, 3);
  grid->addWidget(rename_, 2, 4);

  tabs_ = new QTabBar(modulesGroup_);
  tabs_->setObjectName(QStringLiteral("SMFK_Tabs"));
  tabs_->setAccessibleName(U("音源"));
  tabs_->setExpanding(false);
  tabs_->setUsesScrollButtons(true);
  grid->addWidget(tabs_, 3, 0, 1, 5);

  auto* fields = new QWidget(modulesGroup_);
  auto* fieldGrid = new QGridLayout(fields);
  cfg_ = Edit("CFGファイル", "SMFK_Cfg", fields);
  QPushButton* cfgBrowse = Button("参照", "CFGファイル 参照", "SMFK_CfgBrowse", fields);
  findStr_ = Edit("判別文字列A", "SMFK_FindStr", fields);
  findStr2_ = Edit("判別文字列B", "SMFK_FindStr2", fields);
  priority_ = new QSpinBox(fields);
  priority_->setObjectName(QStringLiteral("SMFK_Priority"));
  priority_->setAccessibleName(U("判別優先度"));
  priority_->setRange(kModulePriorityMin, kModulePriorityMax);
  priority_->setSingleStep(kPriorityStep);
  fieldGrid->addWidget(new QLabel(U("CFGファイル"), fields), 0, 0);
  fieldGrid->addWidget(cfg_, 0, 1);
  fieldGrid->addWidget(cfgBrowse, 0, 2);
  fieldGrid->addWidget(new QLabel(U("判別文字列A"), fields), 1, 0);
  fieldGrid->addWidget(findStr_, 1, 1, 1, 2);
  fieldGrid->addWidget(new QLabel(U("判別文字列B"), fields), 2, 0);
  fieldGrid->addWidget(findStr2_, 2, 1, 1, 2);
  fieldGrid->addWidget(new QLabel(U("判別優先度"), fields), 3, 0);
  fieldGrid->addWidget(priority_, 3, 1, Qt::AlignLeft);
  fields->setAutoFillBackground(true);
  grid->addWidget(fields, 4, 0, 1, 5);
  layout->addWidget(modulesGroup_);
  layout->addStretch();

  // Filling.
  useLibrary_->setEnabled(libraryAvailable);
  if (info_.Use == 1 && !libraryAvailable) info_.Use = 0;
  (info_.Use == 1 ? useLibrary_ : info_.Use == 2 ? useProgram_ : useNone_)->setChecked(true);
  programPath_->setText(PathText(info_.ExePath));
  cfgDir_->setText(PathText(info_.CfgDir));
  byTitle_->setChecked(info_.FindStyle & 1);
  byDocument_->setChecked(info_.FindStyle & 2);
  byFileName_->setChecked(info_.FindStyle & 8);
  for (std::size_t i = 0; i < info_.Items.size(); ++i) {
    TSmfkItem& item = info_.Items[i];
    item.Priority = ClampModulePriority(item.Priority);  // a damaged stored value
    names_.push_back(Shown(item.Name));
    tabs_->addTab(QString());
    SetTabCaption(static_cast<int>(i), names_.back());
  }
  ApplyUsage();

  connect(useLibrary_, &QRadioButton::toggled, this, &SoundModulePage::ApplyUsage);
  connect(useProgram_, &QRadioButton::toggled, this, &SoundModulePage::ApplyUsage);
  connect(useNone_, &QRadioButton::toggled, this, &SoundModulePage::ApplyUsage);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (switching_) return;
    WriteBack(shown_);
    ShowModule(index);
  });
  connect(add_, &QPushButton::clicked, this, &SoundModulePage::AddModule);
  connect(delete_, &QPushButton::clicked, this, &SoundModulePage::DeleteModule);
  connect(rename_, &QPushButton::clicked, this, &SoundModulePage::RenameModule);
  name_->installEventFilter(this);

  connect(programBrowse_, &QPushButton::clicked, this, [this] {
    const std::string path = PathBytes(programPath_->text());
    if (auto chosen = choosers_.file(U("SMFナイフの実行ファイル"), ProgramFilters(path),
                                     ChooserStartFolder(path, false, programFolder_), this))
      programPath_->setText(PathText(*chosen));
  });
  connect(cfgDirBrowse, &QPushButton::clicked, this, [this] {
    if (auto chosen = choosers_.folder(U("SMFナイフのCFGファイルのフォルダを選択してください."),
                                       ChooserStartFolder(PathBytes(cfgDir_->text()), true, programFolder_), this))
      cfgDir_->setText(PathText(*chosen));
  });
  connect(cfgBrowse, &QPushButton::clicked, this, [this] {
    const QStringList filters{U("CFGファイル(*.cfg *.CFG)"), U("すべてのファイル(*)")};
    if (auto chosen = choosers_.file(U("SMFナイフのCFGファイルの選択"), filters,
                                     ChooserStartFolder(PathBytes(cfgDir_->text()), true, programFolder_), this))
      cfg_->setText(PathText(*chosen));
  });

  if (!info_.Items.empty()) ShowModule(0);
}

void SoundModulePage::SetTabCaption(int index, const QString& name) {
  names_[static_cast<std::size_t>(index)] = name;
  QString shown = name;
  tabs_->setTabText(index, shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
}

void SoundModulePage::ShowModule(int index) {
  shown_ = index;
  const bool any = index >= 0 && index < static_cast<int>(info_.Items.size());
  const bool first = index == 0;
  if (any) {
    const TSmfkItem& item = info_.Items[static_cast<std::size_t>(index)];
    name_->setText(names_[static_cast<std::size_t>(index)]);
    cfg_->setText(PathText(item.Cfg));
    findStr_->setText(Shown(item.FindStr));
    findStr2_->setText(Shown(item.FindStr2));
    priority_->setValue(item.Priority);
  }
  // "Default" is chosen when no other module fits: only its configuration file is edited.
  for (QWidget* w : std::initializer_list<QWidget*>{name_, delete_, rename_, priority_, findStr_, findStr2_}) {
    w->setEnabled(any && !first);
    QPalette p = w->palette();
    p.setColor(QPalette::Base, palette().color(first ? QPalette::Button : QPalette::Base));
    w->setPalette(p);
  }
  cfg_->setEnabled(any);
}

void SoundModulePage::WriteBack(int index) {
  if (index < 0 || index >= static_cast<int>(info_.Items.size())) return;
  TSmfkItem& item = info_.Items[static_cast<std::size_t>(index)];
  item.Name = Stored(names_[static_cast<std::size_t>(index)]);
  item.Priority = priority_->value();
  item.FindStr2 = Stored(findStr2_->text());
  item.FindStr = Stored(findStr_->text());
  item.Cfg = PathBytes(cfg_->text());
}

void SoundModulePage::AddModule() {
  WriteBack(shown_);
  TSmfkItem item;
  item.Name = Stored(U("新規ｱｲﾃﾑ") + QString::number(tabs_->count()));
  item.Priority = kNewModulePriority;
  info_.Items.push_back(item);
  names_.push_back(Shown(item.Name));
  switching_ = true;
  const int index = tabs_->addTab(QString());
  SetTabCaption(index, names_.back());
  tabs_->setCurrentIndex(index);
  switching_ = false;
  ShowModule(index);
}

void SoundModulePage::DeleteModule() {
  const int index = tabs_->currentIndex();
  if (index <= 0) return;  // "Default" stays
  const std::string name = names_[static_cast<std::size_t>(index)].toStdString();
  if (messages_.Confirm("[" + name + "] を削除します.\nよろしいですか？", MessageButtons::YesNo) == MessageAnswer::No)
    return;
  switching_ = true;
  info_.Items.erase(info_.Items.begin() + index);
  names_.erase(names_.begin() + index);
  tabs_->removeTab(index);
  tabs_->setCurrentIndex(index - 1);
  switching_ = false;
  ShowModule(index - 1);
}

void SoundModulePage::RenameModule() {
  if (shown_ <= 0) return;  // "Default" keeps its name
  const QString text = name_->text();
  const std::string wanted = Stored(text);
  for (const QString& caption : names_)
    if (SameModuleKey(wanted, Stored(caption))) {
      messages_.Error(text.toStdString() + " が既に存在します.\n名前の変更に失敗しました.");
      return;
    }
  SetTabCaption(shown_, text);
}

TSmfkInfo SoundModulePage::Values() {
  WriteBack(shown_);
  TSmfkInfo v = info_;
  v.Use = useLibrary_->isChecked() ? 1 : useProgram_->isChecked() ? 2 : 0;
  v.ExePath = PathBytes(programPath_->text());
  v.CfgDir = PathBytes(cfgDir_->text());
  v.FindStyle = (info_.FindStyle & ~11) | (byTitle_->isChecked() ? 1 : 0) | (byDocument_->isChecked() ? 2 : 0) |
                (byFileName_->isChecked() ? 8 : 0);
  return v;
}

void SoundModulePage::ApplyUsage() {
  programPath_->setEnabled(useProgram_->isChecked());
  programBrowse_->setEnabled(useProgram_->isChecked());
  modulesGroup_->setVisible(!useNone_->isChecked());
}

bool SoundModulePage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == name_) {
    // Enter in the name box renames; elsewhere it is the dialog's OK.
    if (event->type() == QEvent::FocusIn) rename_->setDefault(true);
    if (event->type() == QEvent::FocusOut) {
      rename_->setDefault(false);
      if (ok_) ok_->setDefault(true);
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (rename_->isEnabled()) rename_->click();
        return true;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kadrel
