// "外部プログラム": how documents are opened, and which extensions are documents.

#include <QButtonGroup>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "ui/main_settings_dialog.h"
#include "ui/path_text.h"
#include "ui/main_settings_pages.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;
using namespace settings_page;

namespace {
constexpr const char* kDefaultTextTypes = "DOC,TXT,HED,WRD,UP,ﾎｿｸ";
}  // namespace

QWidget* TSet_MainForm::BuildProgramPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const TMainOption& m = initial_.main.Main;

  auto* open = Group("テキストファイルの開き方", "TextOpenType", page);
  auto* grid = new QGridLayout(open);
  openByAssociation_ = Radio("Windowsの関連付けで開く", "TextOpenAssociation", open);
  openWithViewer_ = Radio("指定したビュアーで開く", "TextOpenViewer", open);
  auto* choice = new QButtonGroup(open);
  choice->addButton(openByAssociation_);
  choice->addButton(openWithViewer_);
  (m.TextOpenType == 1 ? openWithViewer_ : openByAssociation_)->setChecked(true);
  viewer_ = Edit("テキストビュアー", "TextViewer", open);
  viewer_->setText(PathText(m.TextViewer));
  viewerBrowse_ = Button("参照", "テキストビュアー 参照", "TextViewerBrowse", open);
  grid->addWidget(openByAssociation_, 0, 0, 1, 3);
  grid->addWidget(openWithViewer_, 1, 0);
  grid->addWidget(viewer_, 1, 1);
  grid->addWidget(viewerBrowse_, 1, 2);
  grid->setColumnStretch(1, 1);
  layout->addWidget(open);

  auto* types = Group("テキストファイルとして扱う拡張子", "TextViewType", page);
  auto* typesLayout = new QHBoxLayout(types);
  textTypes_ = Edit("テキストファイルとして扱う拡張子", "TextViewTypeEdit", types);
  textTypes_->setText(QString::fromStdString(DisplayText(m.TextViewType)));
  QPushButton* reset = Button("初期値", "テキストファイルとして扱う拡張子 初期値", "TextViewTypeDefault", types);
  typesLayout->addWidget(textTypes_, 1);
  typesLayout->addWidget(reset);
  layout->addWidget(types);
  layout->addStretch();

  connect(openWithViewer_, &QRadioButton::toggled, this, &TSet_MainForm::ApplyEnableRules);
  connect(reset, &QPushButton::clicked, this, [this] { textTypes_->setText(U(kDefaultTextTypes)); });
  connect(viewerBrowse_, &QPushButton::clicked, this, [this] {
    const std::string path = PathBytes(viewer_->text());
    if (auto chosen = choosers_.file(U("テキストビュアーの指定"), ProgramFilters(path),
                                     ChooserStartFolder(path, false, programFolder_), this))
      viewer_->setText(PathText(*chosen));
  });
  return page;
}

}  // namespace kadrel
