#pragma once
// One list of a column pair of the view-settings dialog, with the drag and drop rules:
// a visible list takes drops from itself and from its hidden partner, a hidden list
// only from its visible partner; lists of the other pair are refused.

#include <QListWidget>

#include "ui/column_list_moves.h"

namespace kadrel {

class ColumnListWidget : public QListWidget {
  Q_OBJECT

 public:
  ColumnListWidget(bool visibleList, QWidget* parent = nullptr);
  void SetPartner(ColumnListWidget* partner) { partner_ = partner; }

  ColumnNames Entries() const;
  void SetEntries(const ColumnNames& names);
  std::vector<int> SelectedRows() const;

  bool Accepts(const QObject* source) const;
  // Moves the source's selected entries here; `row` -1 is below every row.
  void DropFrom(ColumnListWidget* source, int row);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool visibleList_;
  ColumnListWidget* partner_ = nullptr;
};

}  // namespace kadrel
