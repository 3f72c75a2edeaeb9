// "Ｐｌａｙｅｒの設定": six slots with their program, name and details.

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "ui/main_settings_dialog.h"
#include "ui/path_text.h"
#include "ui/main_settings_pages.h"
#include "ui/player_detail_dialog.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;
using namespace settings_page;


QWidget* TSet_MainForm::BuildPlayerPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* group = Group("Playerの登録", "PlayerSlots", page);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(U("使用"), group), 0, 0);
  grid->addWidget(new QLabel(U("名前"), group), 0, 1);
  grid->addWidget(new QLabel(U("実行ファイル"), group), 0, 2);
  for (int n = 1; n <= kPlayerSlots; ++n) {
    SlotRow& row = slots_[static_cast<std::size_t>(n - 1)];
    row.data = initial_.main.Players[static_cast<std::size_t>(n - 1)];
    const QString number = QString::number(n);
    row.use = new QCheckBox(number, group);
    row.use->setObjectName(QStringLiteral("PlayerUse%1").arg(n));
    row.use->setAccessibleName(QStringLiteral("Player%1").arg(n));
    row.name = new QLineEdit(QString::fromStdString(DisplayText(row.data.DisplayName)), group);
    row.name->setObjectName(QStringLiteral("PlayerName%1").arg(n));
    row.name->setAccessibleName(QStringLiteral("Player%1 ").arg(n) + U("名前"));
    row.path = new QLineEdit(PathText(row.data.ExePath), group);
    row.path->setObjectName(QStringLiteral("PlayerPath%1").arg(n));
    row.path->setAccessibleName(QStringLiteral("Player%1 ").arg(n) + U("実行ファイル"));
    row.browse = new QPushButton(U("参照"), group);
    row.browse->setObjectName(QStringLiteral("PlayerBrowse%1").arg(n));
    row.browse->setAccessibleName(QStringLiteral("Player%1 ").arg(n) + U("参照"));
    row.browse->setAutoDefault(false);
    row.detail = new QPushButton(U("詳細設定"), group);
    row.detail->setObjectName(QStringLiteral("PlayerDetail%1").arg(n));
    row.detail->setAccessibleName(QStringLiteral("Player%1 ").arg(n) + U("詳細設定"));
    row.detail->setAutoDefault(false);
    row.name->setMinimumWidth(110);
    row.path->setMinimumWidth(260);
    grid->addWidget(row.use, n, 0);
    grid->addWidget(row.name, n, 1);
    grid->addWidget(row.path, n, 2);
    grid->addWidget(row.browse, n, 3);
    grid->addWidget(row.detail, n, 4);
    ApplySlotRule(n, false);

    connect(row.path, &QLineEdit::textChanged, this, [this, n] { ApplySlotRule(n, true); });
    connect(row.browse, &QPushButton::clicked, this, [this, n] {
      SlotRow& r = slots_[static_cast<std::size_t>(n - 1)];
      const std::string path = PathBytes(r.path->text());
      const auto chosen = choosers_.file(QStringLiteral("Player%1").arg(n) + U(" の選択"), ProgramFilters(path),
                                         ChooserStartFolder(path, false, programFolder_), this);
      if (!chosen) return;
      r.path->setText(PathText(*chosen));
      r.name->setText(PathText(ProgramStem(*chosen)));
    });
    connect(row.detail, &QPushButton::clicked, this, [this, n] { OpenPlayerDetail(n); });
  }
  grid->setColumnStretch(2, 1);
  layout->addWidget(group);
  auto* note = new QLabel(U("ListPlay対応Playerと認識された場合は、左のチェックボックスの数字が青に変わります。"), page);
  note->setWordWrap(true);
  layout->addWidget(note);
  layout->addStretch();
  return page;
}

void TSet_MainForm::ApplySlotRule(int slot, bool fromPathEdit) {
  SlotRow& row = slots_[static_cast<std::size_t>(slot - 1)];
  const std::string path = PathBytes(row.path->text());
  // Only a program that is there can be switched on.
  const bool exists = !path.empty() && FileExists(path);
  row.use->setEnabled(exists);
  row.detail->setEnabled(exists);
  row.use->setChecked(exists && (fromPathEdit || row.data.InUse));
  // The players ListPlay can drive show their number in blue, underlined.
  const bool recognised = IsRecognisedPlayer(path);
  QFont font = row.use->font();
  font.setUnderline(recognised);
  row.use->setFont(font);
  QPalette p = row.use->palette();
  const QColor text = recognised ? QColor(Qt::blue) : palette().color(QPalette::WindowText);
  p.setColor(QPalette::Active, QPalette::WindowText, text);
  p.setColor(QPalette::Inactive, QPalette::WindowText, text);
  p.setColor(QPalette::Active, QPalette::ButtonText, text);
  p.setColor(QPalette::Inactive, QPalette::ButtonText, text);
  row.use->setPalette(p);
}

void TSet_MainForm::OpenPlayerDetail(int slot) {
  if (slot < 1 || slot > kPlayerSlots) return;
  SlotRow& row = slots_[static_cast<std::size_t>(slot - 1)];
  const std::string path = PathBytes(row.path->text());
  const bool knife = libraries_.conversions().smfKnife;
  TSet_PDetailForm detail(slot, row.data, detailInfo_, path, PreferCp932(row.name->text().toStdString()),
                          libraries_.rcpcv, knife, this);
  if (detailOpened) detailOpened(detail);
  else detail.exec();
  if (detail.result() != QDialog::Accepted) return;
  row.data = detail.Slot();
  detailInfo_ = detail.DetailInfo();
}

}  // namespace kadrel
