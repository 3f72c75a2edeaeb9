#pragma once
// The play list's view: the file list's mouse handling (press, 9-pixel drag, pop-up,
// open) plus drops. Whether a drop is taken and what it does is the pane's decision.

#include <functional>

#include "ui/file_list_view.h"

class QMimeData;

namespace kadrel {

class PlayListView : public FileListView {
  Q_OBJECT

 public:
  explicit PlayListView(QWidget* parent = nullptr);

  std::function<bool(const QMimeData*)> canDrop;
  // `row` is the row under the cursor, or -1 for the end of the list.
  std::function<void(const QMimeData*, int row)> onDrop;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Highlight(int row);
  int hover_ = -1;
};

}  // namespace kadrel
