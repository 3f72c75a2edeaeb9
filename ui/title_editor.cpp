#include "ui/title_editor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QString Shown(const std::string& bytes) { return QString::fromStdString(DisplayText(bytes)); }

}  // namespace

TitleEditor::TitleEditor(std::vector<TMusicFileInfo>& list, TFolderIndex& index, std::atomic<bool>& indexBusy,
                         const std::string& folder, const TitleGridSettings& grid, const QFont& font, QWidget* parent)
    : QDialog(parent), list_(list), index_(index), indexBusy_(indexBusy), original_(BuildTitleGrid(list)) {
  setObjectName(QStringLiteral("TIndexTitleEditForm"));
  setWindowTitle(U("Index情報の編集") + U("  [ ") + Shown(ShortenPath(folder, 40)) + U(" ]"));
  setAccessibleName(U("Index情報の編集"));
  setModal(true);

  grid_.setObjectName(QStringLiteral("TitleEditGrid"));
  grid_.setAccessibleName(U("Index情報"));
  grid_.setFont(font);
  grid_.setColumnCount(kTitleColumnCount);
  QStringList header;
  for (const char* caption : TitleGridHeader()) header << QString::fromLatin1(caption);
  grid_.setHorizontalHeaderLabels(header);
  grid_.setRowCount(static_cast<int>(original_.size()));
  for (int r = 0; r < grid_.rowCount(); ++r) {
    for (int c = 0; c < kTitleColumnCount; ++c) {
      auto* item = new QTableWidgetItem(Shown(original_[static_cast<size_t>(r)][static_cast<size_t>(c)]));
      // The file name is the row's key: it can be neither selected nor edited.
      if (c == kTitleFileName) item->setFlags(Qt::ItemIsEnabled);
      grid_.setItem(r, c, item);
    }
  }
  for (int c = 0; c < kTitleColumnCount; ++c) grid_.setColumnWidth(c, grid.columns[static_cast<size_t>(c)]);

  save_.setText(U("Index更新(&O)"));
  cancel_.setText(U("ｷｬﾝｾﾙ(&C)"));
  for (QPushButton* b : {&save_, &cancel_}) b->setAccessibleName(b->text());
  connect(&save_, &QPushButton::clicked, this, &TitleEditor::Save);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(&save_);
  buttons->addWidget(&cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(&grid_, 1);
  layout->addLayout(buttons);
  resize(grid.width, grid.height);
}

TitleGridSettings TitleEditor::GridSettings() const {
  TitleGridSettings g;
  g.width = width();
  g.height = height();
  for (int c = 0; c < kTitleColumnCount; ++c) g.columns[static_cast<size_t>(c)] = grid_.columnWidth(c);
  return g;
}

void TitleEditor::Save() {
  // A cell still being edited (the save reached by its key) is taken too.
  grid_.setCurrentIndex(QModelIndex());
  std::vector<TitleRow> rows = original_;
  for (int r = 0; r < grid_.rowCount(); ++r) {
    TitleRow& row = rows[static_cast<size_t>(r)];
    for (int c = kTitleArtist; c < kTitleColumnCount; ++c) {
      const std::string text = grid_.item(r, c)->text().toStdString();
      std::string& cell = row[static_cast<size_t>(c)];
      // A cell left as shown keeps its bytes: the display may not turn back into them.
      if (text == DisplayText(cell)) continue;
      cell = PreferCp932(text);
      if (cell.size() > kMaxCellBytes) {
        grid_.setCurrentCell(r, c);
        index_.Messages().Warn(
            QStringLiteral("%1 の %2 が長すぎます (%3バイトまで).\nIndex情報の編集を続けてください.")
                .arg(grid_.item(r, kTitleFileName)->text(), QString::fromLatin1(TitleGridHeader()[static_cast<size_t>(c)]))
                .arg(kMaxCellBytes)
                .toStdString());
        return;
      }
    }
  }
  result_ = SaveTitleEdits(rows, list_, index_, indexBusy_);
  accept();
}

}  // namespace kadrel
