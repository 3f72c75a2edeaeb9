#include "ui/refresh_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QString Shown(const std::string& path) { return QString::fromStdString(ShortenPath(DisplayText(path), 37)); }

}  // namespace

RefreshWindow::RefreshWindow(TFolderIndex& index, std::atomic<bool>& indexBusy, PresenceCheck presence,
                             std::function<void(bool)> statusTimer, QWidget* parent)
    : QDialog(parent), index_(index), indexBusy_(indexBusy) {
  setObjectName(QStringLiteral("TIndexRefreshForm"));
  setWindowTitle(U("Indexのリフレッシュ"));
  setAccessibleName(windowTitle());
  setModal(true);

  RefreshView view;
  view.addRow = [this](const RefreshFinding& f) {
    auto* row = new QTreeWidgetItem(&results_);
    row->setText(0, QString::fromStdString(DisplayText(f.folder)));
    row->setText(1, QString::fromStdString(DisplayText(f.fileName)));
    row->setText(2, QString::fromStdString(DisplayText(f.arcFile)));
    row->setText(3, QString::fromStdString(f.error));
  };
  view.progress = [this](int position, int maximum) {
    progress_.setRange(0, maximum);
    progress_.setValue(position);
  };
  view.statusLine = [this](const std::string& text) { status_.setText(QString::fromStdString(text)); };
  view.folderShown = [this](const std::string& folder) { folder_.setText(Shown(folder)); };
  view.serviceEvents = [this] {
    QCoreApplication::processEvents();
    if (onStep) onStep();
  };
  view.statusTimer = std::move(statusTimer);
  refresher_ = std::make_unique<IndexRefresher>(index, std::move(presence), std::move(view));

  auto* levelBox = new QGroupBox(U("リフレッシュのレベル"));
  levelBox->setAccessibleName(levelBox->title());
  auto* levelLayout = new QVBoxLayout(levelBox);
  const char* captions[3] = {"Level 1  (Indexのフォーマットの不正のみをチェックする)",
                             "Level 2  (Level 1 の内容と、ファイルの存在のチェックをする)",
                             "Level 3  (Level 2 の内容と、ファイルのタイトルの再取得を行う)"};
  for (int i = 0; i < 3; ++i) {
    levels_[i] = new QRadioButton(U(captions[i]));
    levels_[i]->setAccessibleName(levels_[i]->text());
    levelLayout->addWidget(levels_[i]);
  }
  levels_[0]->setChecked(true);
  levels_[2]->setEnabled(false);  // not provided

  file_.setText(U("Index : ") + Shown(index.IndexPath()));
  file_.setAccessibleName(U("Indexファイル"));
  status_.setObjectName(QStringLiteral("IndexRefreshStatus"));
  status_.setAccessibleName(U("状態"));
  status_.setText(U(text::kReady));
  folder_.setObjectName(QStringLiteral("IndexRefreshFolder"));
  folder_.setAccessibleName(U("フォルダ"));
  folder_.setText(QStringLiteral(".."));
  progress_.setObjectName(QStringLiteral("IndexProgBar"));
  progress_.setAccessibleName(U("進行状況"));
  progress_.setRange(0, 100);
  progress_.setValue(0);

  results_.setObjectName(QStringLiteral("IndexRefreshList"));
  results_.setAccessibleName(U("リフレッシュの結果"));
  results_.setRootIsDecorated(false);
  results_.setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("FileName"), QStringLiteral("ArcFile"),
                            QStringLiteral("Error")});
  const int widths[4] = {190, 100, 100, 184};
  for (int i = 0; i < 4; ++i) results_.setColumnWidth(i, widths[i]);

  ok_.setText(QStringLiteral("OK"));
  stop_.setText(U("中断(&Q)"));
  close_.setText(U("閉じる(&C)"));
  for (QPushButton* b : {&ok_, &stop_, &close_}) b->setAccessibleName(b->text());
  stop_.setEnabled(false);
  connect(&ok_, &QPushButton::clicked, this, &RefreshWindow::Ok);
  connect(&stop_, &QPushButton::clicked, this, &RefreshWindow::Stop);
  connect(&close_, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {&ok_, &stop_, &close_}) buttons->addWidget(b);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(levelBox, 1);
  top->addLayout(buttons);
  // The list shows once the window grows for a refresh.
  results_.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(2);
  layout->setContentsMargins(6, 6, 6, 6);
  levelLayout->setSpacing(0);
  layout->addLayout(top);
  layout->addWidget(&file_);
  layout->addWidget(&status_);
  layout->addWidget(&folder_);
  layout->addWidget(&progress_);
  layout->addWidget(&results_, 1);
  resize(600, kInitialHeight);
}

void RefreshWindow::SetRunning(bool running) {
  ok_.setEnabled(!running);
  close_.setEnabled(!running);
  stop_.setEnabled(running);
}

void RefreshWindow::Ok() {
  if (Running()) return;
  const int level = levels_[1]->isChecked() ? 2 : 1;
  index_.Messages().Beep(BeepKind::Question);
  if (index_.Messages().Confirm(QStringLiteral("Indexをリフレッシュ Level %1 を開始します.\nよろしいですか？")
                                    .arg(level)
                                    .toStdString()) != MessageAnswer::Ok)
    return;
  indexBusy_ = true;
  SetRunning(true);
  if (height() == kInitialHeight) resize(width(), kResultHeight);
  results_.clear();
  lastResult_ = refresher_->RefreshIndex(level);
  indexBusy_ = false;
  SetRunning(false);
  if (lastResult_ == RefreshResult::SaveFailed) status_.setText(U("Indexの保存に失敗しました.."));
}

void RefreshWindow::Stop() {
  if (!Running()) return;
  refresher_->OnStop();
  stop_.setEnabled(false);
}

void RefreshWindow::closeEvent(QCloseEvent* event) {
  if (refresher_->OnCloseRequest())
    event->accept();
  else
    event->ignore();
}

void RefreshWindow::reject() {
  if (refresher_->OnCloseRequest()) QDialog::reject();
}

}  // namespace kadrel
