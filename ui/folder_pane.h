#pragma once
// The left pane: a caption strip with the switch and hide buttons over either the
// all-folders tree (folders only, from the file system) or the jump-folder list
// (26 rows, A to Z).

#include <array>
#include <string>

#include <QFileSystemModel>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QWidget>

#include "ui/folder_tree_icons.h"
#include "ui/folder_tree_view.h"

namespace kadrel {

class FolderPane : public QWidget {
  Q_OBJECT

 public:
  enum class View { Tree, JumpList };

  explicit FolderPane(QWidget* parent = nullptr);

  void ShowView(View view);
  View CurrentView() const { return view_; }

  // The tree's selected folder ("" when none) and selection by path; selecting does
  // not report a change when `quiet`.
  QString SelectedFolder() const;
  bool SelectFolder(const QString& folder, bool quiet);
  FolderTreeView& Tree() { return tree_; }

  // Jump folders A..Z, as stored (bytes); empty = unset.
  void SetJumpFolders(const std::array<std::string, 26>& folders);
  QTreeWidget& JumpList() { return jumpList_; }
  // A jump row opens with a single left press instead of a double-click.
  void SetSingleClickOpen(bool on) { singleClickOpen_ = on; }

 Q_SIGNALS:
  void folderSelected(const QString& folder);
  void jumpRequested(int letterIndex);
  void hideRequested();
  void viewChanged(View view);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateJumpTexts();

  View view_ = View::Tree;
  QLabel caption_;
  QToolButton switch_;
  QToolButton hide_;
  QStackedWidget stack_;
  FolderTreeIcons icons_;  // outlives the model that uses it
  QFileSystemModel model_;
  FolderTreeView tree_;
  QTreeWidget jumpList_;
  std::array<std::string, 26> jumpFolders_;
  bool quiet_ = false;
  bool singleClickOpen_ = false;
};

}  // namespace kadrel
