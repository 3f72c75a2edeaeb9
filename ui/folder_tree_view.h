#pragma once
// The all-folders tree. While something is dragged over it, the folder under the
// cursor is highlighted (so the user sees where the pointer is), but nothing can be
// dropped here: the current folder changes only by the user's choice.

#include <QPersistentModelIndex>
#include <QTreeView>

namespace kadrel {

class FolderTreeView : public QTreeView {
  Q_OBJECT

 public:
  explicit FolderTreeView(QWidget* parent = nullptr);

  // The row highlighted by a drag in progress (invalid when none).
  QModelIndex DragHighlight() const { return dragHighlight_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  void SetDragHighlight(const QModelIndex& index);

  QPersistentModelIndex dragHighlight_;
};

}  // namespace kadrel
