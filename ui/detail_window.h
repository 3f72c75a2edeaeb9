#pragma once
// The detail window: the files that belong together with one file of the file list
// (its documents beside it, or every member of its archive), in a list with the file
// list's columns. Several can be open at once; each keeps its own folder and entries.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QLabel>
#include <QMainWindow>
#include <QMenu>

#include "base/message_box.h"
#include "catalog/options.h"
#include "catalog/sort_state.h"
#include "rename/rename_engine.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

namespace kadrel {

class DetailWindow;

// What the main window lends a detail window.
struct DetailContext {
  IMessageBox* messages = nullptr;
  std::vector<int> columns;            // file-list column ids in display order
  std::vector<int> widths;             // their widths
  TListViewOption view;
  std::string infoGetTypes;            // "InfoGetType"
  TSortState* sort = nullptr;           // shared with the file list
  bool sortOption = false;
  std::vector<QIcon> icons;            // the file list's pictures
  QFont font;                          // "DW"
  QRect placement;                     // empty: sized by the window system
  // A rename done here: the main window's list (when it shows `folder`) and the
  // folder's index follow.
  std::function<void(const RenameOutcome&, const std::string& folder)> applyRename;
  std::function<void(const QRect&)> savePlacement;
  // The names of the player slots in use ("" for a slot not in use).
  std::array<std::string, 6> playerNames;
  // Runs a named command (UTF-8) of the command table on this window's list; empty:
  // the play and open items stay disabled.
  std::function<void(DetailWindow&, std::string_view command)> execute;
  // Adds entries of `folder` to the play list; empty: the pop-up item stays disabled
  // and the rows cannot be dragged to the play list.
  std::function<void(const std::string& folder, const std::vector<TMusicFileInfo>&)> addToPlayList;
  // The help items, as in the main window.
  std::function<void()> openHelp;
};

class DetailWindow : public QMainWindow {
  Q_OBJECT

 public:
  DetailWindow(const TMusicFileInfo& item, std::string folder, DetailContext context, QWidget* parent = nullptr);

  // Lists the entries (done once, when the window is first shown).
  void Fill();
  void RenameFocused();
  void SetStatus(const QString& panel0, const QString& panel1);
  // The pop-up's items follow the focused and selected entries.
  void UpdatePopupState();
  // The focused entry, when there is one.
  const TMusicFileInfo* FocusedEntry() const;
  std::vector<TMusicFileInfo> SelectedEntries() const;

  const std::string& Folder() const { return folder_; }
  FileListModel& Entries() { return model_; }
  FileListView& List() { return list_; }
  QMenu& Popup() { return popup_; }
  QLabel& StatusPanel(int panel) { return panel == 0 ? panel0_ : panel1_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void SortByColumn(int position);
  QIcon IconFor(const TMusicFileInfo& entry) const;
  void Execute(std::string_view command);
  void StartDrag();

  TMusicFileInfo item_;
  std::string folder_;
  DetailContext context_;
  bool filled_ = false;
  FileListModel model_;
  FileListView list_;
  QMenu popup_;
  QLabel panel0_, panel1_;
  QList<QAction*> playItems_;
  QAction* openBest_ = nullptr;
  QAction* openAssociated_ = nullptr;
  QAction* openText_ = nullptr;
  QAction* popupBest_ = nullptr;
  QAction* rename_ = nullptr;
};

}  // namespace kadrel
