#pragma once
// The bottom strip: the search and conversion progress bars above the status bar's
// three panels (state, detail, and a small right-aligned one).

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

namespace kadrel {

class StatusStrip : public QWidget {
  Q_OBJECT

 public:
  explicit StatusStrip(QWidget* parent = nullptr);

  void SetPanel(int panel, const QString& text);
  QString Panel(int panel) const;
  QProgressBar& SearchBar() { return search_; }
  QProgressBar& ConversionBar() { return conversion_; }

 private:
  QProgressBar search_;
  QProgressBar conversion_;
  QLabel panels_[3];
};

}  // namespace kadrel
