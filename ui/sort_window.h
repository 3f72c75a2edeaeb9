#pragma once
// The sort window ("ソート"): a key list and a direction list over the sort state of the
// file list (or of a detail window's list). OK sets the state and sorts the list.

#include <functional>

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "base/message_box.h"
#include "catalog/sort_state.h"
#include "sorting/sort_controls.h"

namespace kadrel {

class SortWindow : public QDialog {
  Q_OBJECT

 public:
  // `sortList` sorts the target list under the state and redraws its sort mark; it
  // returns false when the list could not be sorted.
  SortWindow(TSortState& state, std::function<bool()> sortList, IMessageBox& messages, QWidget* parent = nullptr);

  QListWidget& KeyList() { return keys_; }
  QListWidget& DirectionList() { return directions_; }
  QPushButton& OkButton() { return ok_; }
  QPushButton& CancelButton() { return cancel_; }

  // Sets the state from the lists, sorts, reports a failure, and closes.
  void Confirm();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowModel();  // selections and focus as the model holds them

  TSortState& state_;
  std::function<bool()> sortList_;
  IMessageBox& messages_;
  sort_window::TSortWindowModel model_;
  QListWidget keys_;
  QListWidget directions_;
  QPushButton ok_;
  QPushButton cancel_;
  bool syncing_ = false;
};

}  // namespace kadrel
