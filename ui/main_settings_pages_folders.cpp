// "各種フォルダ設定" and "ジャンプフォルダ".

#include <QButtonGroup>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/main_settings_dialog.h"
#include "ui/path_text.h"
#include "ui/main_settings_pages.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;
using namespace settings_page;


QGroupBox* TSet_MainForm::FolderGroup(FolderRow& row, const char* title, const char* object, const char* standard,
                                      const char* chooserTitle, bool standardChosen, const std::string& path) {
  auto* group = Group(title, object, this);
  auto* grid = new QGridLayout(group);
  const std::string name(object);
  row.standard = Radio(standard, (name + "_Standard").c_str(), group);
  row.chosen = Radio("指定するフォルダ", (name + "_Chosen").c_str(), group);
  row.chosen->setAccessibleName(U(title) + QLatin1Char(' ') + U("指定するフォルダ"));
  row.path = Edit(title, (name + "_Path").c_str(), group);
  row.path->setText(PathText(path));
  row.browse = Button("参照", title, (name + "_Browse").c_str(), group);
  row.browse->setAccessibleName(U(title) + QLatin1Char(' ') + U("参照"));
  auto* choice = new QButtonGroup(group);
  choice->addButton(row.standard);
  choice->addButton(row.chosen);
  (standardChosen ? row.standard : row.chosen)->setChecked(true);
  grid->addWidget(row.standard, 0, 0, 1, 3);
  grid->addWidget(row.chosen, 1, 0);
  grid->addWidget(row.path, 1, 1);
  grid->addWidget(row.browse, 1, 2);
  grid->setColumnStretch(1, 1);
  connect(row.chosen, &QRadioButton::toggled, this, &TSet_MainForm::ApplyEnableRules);
  FolderRow* r = &row;
  const QString dialogTitle = U(chooserTitle);
  connect(row.browse, &QPushButton::clicked, this, [this, r, dialogTitle] {
    const std::string current = PathBytes(r->path->text());
    if (auto chosen = choosers_.folder(dialogTitle, ChooserStartFolder(current, true, {}), this))
      r->path->setText(PathText(*chosen));
  });
  return group;
}

QWidget* TSet_MainForm::BuildFolderPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  const FolderChoices& f = initial_.folders;
  layout->addWidget(FolderGroup(start_, "起動時のフォルダ", "StartFolder", "前回終了時のフォルダ",
                                "起動時のフォルダを選択してください.", f.Info & 4, f.Start));
  layout->addWidget(FolderGroup(temp_, "テンポラリフォルダ", "TempFolder", "標準のフォルダを使用する",
                                "テンポラリフォルダを選択してください.", f.Info & 1, f.Tmp));
  layout->addWidget(FolderGroup(index_, "インデックスフォルダ", "IndexFolder", "標準のフォルダを使用する",
                                "インデックスフォルダを選択してください.", f.Info & 2, f.Index));
  auto* note = new QLabel(
      U("テンポラリフォルダとインデックスフォルダの変更は、次回の起動時から有効になります.\n"
        "指定したフォルダの中には、テンポラリフォルダとして \"Kadrel_tmp\" が作られます."),
      page);
  note->setObjectName(QStringLiteral("FolderNote"));
  note->setWordWrap(true);
  layout->addWidget(note);
  layout->addStretch();
  return page;
}

QWidget* TSet_MainForm::BuildJumpPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  jump_ = new QTableWidget(kJumpFolders, 2, page);
  jump_->setObjectName(QStringLiteral("JF_Grid"));
  jump_->setAccessibleName(U("ジャンプフォルダ"));
  jump_->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Folder")});
  jump_->verticalHeader()->hide();
  jump_->horizontalHeader()->setStretchLastSection(true);
  jump_->setColumnWidth(0, 40);
  jump_->setSelectionMode(QAbstractItemView::SingleSelection);
  jump_->setSelectionBehavior(QAbstractItemView::SelectRows);
  // Typing a letter moves to its row, so a cell is edited only by double-click or F2.
  jump_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  for (int row = 0; row < kJumpFolders; ++row) {
    auto* key = new QTableWidgetItem(QString(QLatin1Char(char('A' + row))));
    key->setFlags(key->flags() & ~Qt::ItemIsEditable);
    jump_->setItem(row, 0, key);
    jump_->setItem(row, 1, new QTableWidgetItem(PathText(initial_.main.JumpFolders[static_cast<std::size_t>(row)])));
    jump_->setRowHeight(row, jump_->fontMetrics().height() + 4);
  }
  jump_->setCurrentCell(0, 1);
  jump_->installEventFilter(this);
  layout->addWidget(jump_, 1);
  auto* note = new QLabel(U("Enter : フォルダの選択    Delete : 消去    A～Z : その行へ移動"), page);
  layout->addWidget(note);
  return page;
}

void TSet_MainForm::ChooseJumpFolder(int row) {
  if (row < 0 || row >= kJumpFolders) return;
  QTableWidgetItem* item = jump_->item(row, 1);
  const auto chosen = choosers_.folder(U("ジャンプフォルダを選択してください."),
                                       ChooserStartFolder(PathBytes(item->text()), true, {}), this);
  if (!chosen || *chosen == ".") return;
  item->setText(PathText(*chosen));
}

}  // namespace kadrel
