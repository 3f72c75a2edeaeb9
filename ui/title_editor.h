#pragma once
// The title editor: one grid row per file or member of the file list with its six
// information texts; "Index更新(&O)" copies the edited cells into the list and the
// folder's index block.

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include <QDialog>
#include <QFont>
#include <QPushButton>
#include <QTableWidget>

#include "index/title_edit.h"
#include "settings/window_places.h"

namespace kadrel {

static_assert(std::tuple_size_v<decltype(TitleGridSettings::columns)> == kTitleColumnCount);

class TitleEditor : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxCellBytes = 255;  // what an index record holds of a text

  TitleEditor(std::vector<TMusicFileInfo>& list, TFolderIndex& index, std::atomic<bool>& indexBusy,
              const std::string& folder, const TitleGridSettings& grid, const QFont& font, QWidget* parent = nullptr);

  // The save button's work; the editor closes unless a cell is too long.
  void Save();
  std::optional<TitleSaveResult> Result() const { return result_; }
  // The size and widths as they are now (stored when the editor closes).
  TitleGridSettings GridSettings() const;

  QTableWidget& Grid() { return grid_; }
  QPushButton& SaveButton() { return save_; }
  QPushButton& CancelButton() { return cancel_; }

 private:
  std::vector<TMusicFileInfo>& list_;
  TFolderIndex& index_;
  std::atomic<bool>& indexBusy_;
  std::vector<TitleRow> original_;  // the stored bytes, for cells left alone
  std::optional<TitleSaveResult> result_;
  QTableWidget grid_;
  QPushButton save_, cancel_;
};

}  // namespace kadrel
