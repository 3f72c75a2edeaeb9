#pragma once
// The index refresh window: the level buttons, OK / stop / close, the current index
// file, a status line, the folder under examination, a progress bar and the list of
// findings. The refresh itself is IndexRefresher's.

#include <atomic>
#include <functional>
#include <memory>

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "index/index_refresh.h"

namespace kadrel {

class RefreshWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kInitialHeight = 225;
  static constexpr int kResultHeight = 400;

  // `statusTimer` switches the main window's status timer (may be empty).
  RefreshWindow(TFolderIndex& index, std::atomic<bool>& indexBusy, PresenceCheck presence,
                std::function<void(bool)> statusTimer, QWidget* parent = nullptr);

  void Ok();
  void Stop();
  bool Running() const { return refresher_->Running(); }
  // The last refresh's result (nothing before the first, or when it was cancelled).
  std::optional<RefreshResult> LastResult() const { return lastResult_; }

  QRadioButton& LevelButton(int level) { return *levels_[level - 1]; }
  QTreeWidget& Results() { return results_; }
  QPushButton& OkButton() { return ok_; }
  QPushButton& StopButton() { return stop_; }
  QPushButton& CloseButton() { return close_; }
  QLabel& StatusLine() { return status_; }
  QLabel& FolderLine() { return folder_; }
  QProgressBar& Progress() { return progress_; }

  // Lets a test act between the refresh's steps (the window's events run there too).
  std::function<void()> onStep;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void SetRunning(bool running);

  TFolderIndex& index_;
  std::atomic<bool>& indexBusy_;
  std::unique_ptr<IndexRefresher> refresher_;
  std::optional<RefreshResult> lastResult_;
  QRadioButton* levels_[3] = {};
  QLabel file_, status_, folder_;
  QProgressBar progress_;
  QTreeWidget results_;
  QPushButton ok_, stop_, close_;
};

}  // namespace kadrel
