#include "ui/play_list_dialogs.h"
#include "ui/path_text.h"

#include <sys/stat.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/path_helpers.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;


bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString Label(const std::string& path) { return QString::fromStdString(ShortPathLabel(PathText(path).toStdString())); }

QString FileName(const std::string& path) { return PathText(path.substr(FolderOfPath(path).size())); }

const char* kFilter = "Kadrel PlayList形式(*.MPL *.mpl);;すべてのファイル(*)";

template <typename T>
T* Named(T* widget, const char* name, const char* accessible) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setAccessibleName(U(accessible));
  return widget;
}

// The "ファイルを指定" choice with its path field and browse button, as both dialogs have it.
struct NamedFileRow {
  QRadioButton* choice;
  QLineEdit* path;
  QPushButton* browse;
};
NamedFileRow AddNamedFileRow(QWidget* group, QVBoxLayout* column, const char* pathAccessible) {
  NamedFileRow row;
  row.choice = Named(new QRadioButton(U("ファイルを指定"), group), "NamedFile", "ファイルを指定");
  column->addWidget(row.choice);
  auto* line = new QHBoxLayout;
  row.path = Named(new QLineEdit(group), "NamedPath", pathAccessible);
  row.browse = Named(new QPushButton(U("参照..."), group), "Browse", "参照");
  line->addWidget(row.path, 1);
  line->addWidget(row.browse);
  column->addLayout(line);
  return row;
}

}  // namespace

// ---- loading -----------------------------------------------------------------------

PlayListLoadDialog::PlayListLoadDialog(const std::string& focusedPlayListFile, bool listEmpty, QWidget* parent)
    : QDialog(parent), focused_(focusedPlayListFile), listEmpty_(listEmpty), plan_(PlanLoadDialog(focusedPlayListFile)) {
  setWindowTitle(U("PlayListの読み込み"));
  setObjectName(QStringLiteral("PlayListLoadDialog"));
  auto* column = new QVBoxLayout(this);

  auto* file = new QGroupBox(U("ファイル"), this);
  auto* fileColumn = new QVBoxLayout(file);
  QString focusedCaption = U("ファイルリストで選択しているファイル");
  if (plan_.focusedChoice) focusedCaption += QStringLiteral(" / ") + FileName(focused_);
  focusedChoice_ = Named(new QRadioButton(focusedCaption, file), "FocusedFile", "ファイルリストで選択しているファイル");
  focusedChoice_->setEnabled(plan_.focusedChoice);
  fileColumn->addWidget(focusedChoice_);
  const NamedFileRow namedRow = AddNamedFileRow(file, fileColumn, "読み込むファイル");
  namedChoice_ = namedRow.choice;
  named_ = namedRow.path;
  QPushButton* browse = namedRow.browse;
  column->addWidget(file);

  auto* method = new QGroupBox(U("読み込み方法"), this);
  auto* methodColumn = new QVBoxLayout(method);
  replace_ = Named(new QRadioButton(U("プレイリストに追加 / 空にした後に読み込む"), method), "Replace", "空にした後に読み込む");
  append_ = Named(new QRadioButton(U("プレイリストに追加 / 既存のアイテムの最後尾に追加"), method), "Append", "最後尾に追加");
  detail_ = Named(new QRadioButton(U("関連ファイル詳細情報で開く"), method), "Detail", "関連ファイル詳細情報で開く");
  for (QRadioButton* b : {replace_, append_, detail_}) methodColumn->addWidget(b);
  append_->setChecked(true);
  column->addWidget(method);

  saveFirst_ = Named(new QCheckBox(U("現在のプレイリストの内容を保存の後に読み込む"), this), "SaveFirst",
                     "現在のプレイリストの内容を保存の後に読み込む");
  column->addWidget(saveFirst_);

  auto* buttons = new QDialogButtonBox(this);
  load_ = Named(buttons->addButton(U("読み込み"), QDialogButtonBox::AcceptRole), "Load", "読み込み");
  Named(buttons->addButton(QDialogButtonBox::Cancel), "Cancel", "キャンセル");
  column->addWidget(buttons);

  (plan_.focusedChoice ? focusedChoice_ : namedChoice_)->setChecked(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] { Choose(); });
  for (QRadioButton* b : {focusedChoice_, namedChoice_, replace_, append_, detail_})
    connect(b, &QRadioButton::toggled, this, &PlayListLoadDialog::UpdateControls);
  connect(named_, &QLineEdit::textChanged, this, [this] {
    if (!named_->text().isEmpty()) namedChoice_->setChecked(true);
    UpdateControls();
  });
  UpdateControls();
}

bool PlayListLoadDialog::Choose() {
  const QString path = QFileDialog::getOpenFileName(this, windowTitle(), named_->text(), U(kFilter));
  if (path.isEmpty()) return false;
  SetNamedPath(PathBytes(path));
  return true;
}

bool PlayListLoadDialog::Run() {
  if (plan_.chooserAtOnce && !Choose()) return false;
  return exec() == QDialog::Accepted;
}

bool PlayListLoadDialog::UseFocused() const { return focusedChoice_->isChecked() && plan_.focusedChoice; }
std::string PlayListLoadDialog::Path() const { return UseFocused() ? focused_ : PathBytes(named_->text()); }

PlayListLoadMethod PlayListLoadDialog::Method() const {
  if (replace_->isChecked()) return PlayListLoadMethod::Replace;
  if (detail_->isChecked()) return PlayListLoadMethod::Detail;
  return PlayListLoadMethod::Append;
}

bool PlayListLoadDialog::SaveFirst() const { return saveFirst_->isEnabled() && saveFirst_->isChecked(); }
void PlayListLoadDialog::SetNamedPath(const std::string& path) { named_->setText(PathText(path)); }
void PlayListLoadDialog::SetSaveFirst(bool on) { saveFirst_->setChecked(on); }

void PlayListLoadDialog::SetMethod(PlayListLoadMethod method) {
  (method == PlayListLoadMethod::Replace ? replace_ : method == PlayListLoadMethod::Detail ? detail_ : append_)
      ->setChecked(true);
}

bool PlayListLoadDialog::LoadEnabled() const { return load_->isEnabled(); }

void PlayListLoadDialog::UpdateControls() {
  // The detail window shows the focused item only.
  detail_->setEnabled(UseFocused());
  if (!detail_->isEnabled() && detail_->isChecked()) append_->setChecked(true);
  saveFirst_->setEnabled(SaveFirstEnabled(listEmpty_, Method()));
  load_->setEnabled(LoadAllowed(UseFocused(), PathBytes(named_->text()), Method(), IsFile));
}

// ---- saving ------------------------------------------------------------------------

PlayListSaveDialog::PlayListSaveDialog(const std::string& lastLoaded, const std::string& focusedPlayListFile,
                                       bool firstStepOfLoading, QWidget* parent)
    : QDialog(parent),
      lastLoaded_(lastLoaded),
      focused_(focusedPlayListFile),
      plan_(PlanSaveDialog(lastLoaded, focusedPlayListFile, firstStepOfLoading)) {
  setWindowTitle(U("PlayListの保存"));
  setObjectName(QStringLiteral("PlayListSaveDialog"));
  auto* column = new QVBoxLayout(this);
  auto* target = new QGroupBox(U("保存先"), this);
  auto* targetColumn = new QVBoxLayout(target);

  lastChoice_ = Named(new QRadioButton(U("前回読み込んだプレイリストファイル"), target), "LastLoaded",
                      "前回読み込んだプレイリストファイル");
  lastChoice_->setEnabled(plan_.lastLoaded);
  targetColumn->addWidget(lastChoice_);
  auto* lastLabel = Named(new QLabel(plan_.lastLoaded ? Label(lastLoaded_) : Label({}), target), "LastLoadedPath",
                          "前回読み込んだファイル");
  lastLabel->setIndent(20);
  targetColumn->addWidget(lastLabel);

  focusedChoice_ = Named(new QRadioButton(U("ファイルリストで選択しているファイル"), target), "FocusedFile",
                         "ファイルリストで選択しているファイル");
  focusedChoice_->setEnabled(plan_.focused);
  targetColumn->addWidget(focusedChoice_);
  auto* focusedLabel = Named(new QLabel(plan_.focused ? Label(focused_) : Label({}), target), "FocusedPath",
                             "ファイルリストで選択しているファイルのパス");
  focusedLabel->setIndent(20);
  targetColumn->addWidget(focusedLabel);

  const NamedFileRow namedRow = AddNamedFileRow(target, targetColumn, "保存するファイル");
  namedChoice_ = namedRow.choice;
  named_ = namedRow.path;
  QPushButton* browse = namedRow.browse;
  column->addWidget(target);

  auto* buttons = new QDialogButtonBox(this);
  save_ = Named(buttons->addButton(U("保存"), QDialogButtonBox::AcceptRole), "Save", "保存");
  Named(buttons->addButton(QDialogButtonBox::Cancel), "Cancel", "キャンセル");
  column->addWidget(buttons);

  SetTarget(plan_.preselected);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] { Choose(); });
  for (QRadioButton* b : {lastChoice_, focusedChoice_, namedChoice_})
    connect(b, &QRadioButton::toggled, this, &PlayListSaveDialog::UpdateControls);
  connect(named_, &QLineEdit::textChanged, this, [this] {
    if (!named_->text().isEmpty()) namedChoice_->setChecked(true);
    UpdateControls();
  });
  UpdateControls();
}

bool PlayListSaveDialog::Choose() {
  QFileDialog chooser(this, windowTitle(), named_->text(), U(kFilter));
  chooser.setAcceptMode(QFileDialog::AcceptSave);
  chooser.setDefaultSuffix(QStringLiteral("MPL"));
  // The overwrite question is the program's own, asked when the file is written.
  chooser.setOption(QFileDialog::DontConfirmOverwrite);
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return false;
  SetNamedPath(PathBytes(chooser.selectedFiles().front()));
  return true;
}

bool PlayListSaveDialog::Run() {
  if (plan_.chooserAtOnce && !Choose()) return false;
  return exec() == QDialog::Accepted;
}

SaveTarget PlayListSaveDialog::Target() const {
  if (lastChoice_->isChecked() && plan_.lastLoaded) return SaveTarget::LastLoaded;
  if (focusedChoice_->isChecked() && plan_.focused) return SaveTarget::Focused;
  return SaveTarget::Named;
}

std::string PlayListSaveDialog::Path() const {
  switch (Target()) {
    case SaveTarget::LastLoaded: return lastLoaded_;
    case SaveTarget::Focused: return focused_;
    default: return PathBytes(named_->text());
  }
}

void PlayListSaveDialog::SetTarget(SaveTarget target) {
  (target == SaveTarget::LastLoaded ? lastChoice_ : target == SaveTarget::Focused ? focusedChoice_ : namedChoice_)
      ->setChecked(true);
}

void PlayListSaveDialog::SetNamedPath(const std::string& path) { named_->setText(PathText(path)); }
bool PlayListSaveDialog::SaveEnabled() const { return save_->isEnabled(); }

void PlayListSaveDialog::UpdateControls() {
  save_->setEnabled(SaveAllowed(Target(), PathBytes(named_->text()), IsFolder));
}

}  // namespace kadrel
