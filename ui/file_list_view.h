#pragma once
// The file list's view: report rows with the designed mouse handling. A press on a
// row is remembered; moving 9 pixels or more from it asks for a drag; a release
// with the right button asks for the row's pop-up; a left release opens the row when
// single-click opening is on, a double-click when it is off. Keys go through the
// key dispatch of the main window.

#include <optional>

#include <QPoint>
#include <QTreeView>

namespace kadrel {

// True when `now` lies 9 or more pixels from `pressed` in either direction.
bool BeyondDragThreshold(QPoint pressed, QPoint now);

class FileListView : public QTreeView {
  Q_OBJECT

 public:
  explicit FileListView(QWidget* parent = nullptr);

  void SetSingleClickOpen(bool on) { singleClickOpen_ = on; }
  // First fully visible row and the number of rows one page shows.
  void VisibleRange(int& top, int& rowsPerPage) const;

 Q_SIGNALS:
  void openRequested(int row);
  void popupRequested(int row, QPoint globalPos);
  void dragRequested(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  struct Press {
    QPoint pos;
    Qt::MouseButton button;
    int row;
  };
  std::optional<Press> press_;
  bool singleClickOpen_ = false;
};

}  // namespace kadrel
