#pragma once
// The play-list pane: the caption strip with its thirteen buttons, the [タイトル] and
// [基準フォルダ] buttons with their labels, and the list view. The pane owns the play
// list; every editing operation runs the list's own functions with their guards and
// questions, and hands the ListPlay requests they raise to the window.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QWidget>

#include "base/message_box.h"
#include "catalog/options.h"
#include "catalog/pl_music_info.h"
#include "commands/command_target.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_io.h"
#include "ui/play_list_controls.h"
#include "ui/play_list_menus.h"

class QLabel;
class QMimeData;
class QPushButton;
class QToolButton;

namespace kadrel {

class PlayListModel;
class PlayListView;

class PlayListPane : public QWidget {
  Q_OBJECT

 public:
  explicit PlayListPane(IMessageBox& messages, QWidget* parent = nullptr);
  ~PlayListPane() override;

  TPLInfo& List() { return list_; }
  const TPLInfo& List() const { return list_; }
  // Re-reads the rows, the header labels and the enabled controls, after someone else
  // (the ListPlay engine) changed the list.
  void Refresh();
  PlayListSelection Selection() const;
  void SetSelection(const PlayListSelection& selection);

  // The ListPlay buttons follow these flags.
  void ApplyPlayControls(const PlayControls& controls);
  const PlayListPaneControls& Controls() const { return controls_; }
  void SetPlayActionHandler(std::function<void(PlayAction)> handler) { playAction_ = std::move(handler); }
  void SetListPlayStateProvider(std::function<ListPlayState()> provider) { stateOf_ = std::move(provider); }
  void SetListPlayRequestHandler(std::function<void(const ListPlayState&)> handler) { requests_ = std::move(handler); }
  // Which slot may play a file in ListPlay (0 = none); without one every file is refused.
  void SetSlotFinder(SlotFinder finder) { slotFor_ = std::move(finder); }
  // Names of the slots in use (UTF-8, empty = unused), for the entry pop-up.
  void SetPlayerNames(const std::array<std::string, 6>& names) { playerNames_ = names; }
  // Status-bar texts of loading and saving.
  void SetStatusSink(StatusSink sink) { status_ = std::move(sink); }

  // Columns: ids in display order and the width of each id (0 = the default).
  void SetColumns(const std::vector<int>& ids, const std::array<int, 13>& widthsById);
  std::vector<std::pair<int32_t, int32_t>> ColumnWidths() const;
  void SetListOptions(const TListViewOption& options);

  // Where the pane sits: true above the file list. Shows the matching move button.
  void SetAbove(bool above);
  bool Above() const { return above_; }

  PlayListView& View() { return *view_; }
  PlayListModel& Model() { return *model_; }

  // The editing operations, as the buttons, menus, commands and drops run them.
  int Add(const std::vector<PlayListSource>& sources, int position);
  void MoveUp();
  void MoveDown();
  void MoveTo(int target);
  void DeleteSelection();
  void Clear();
  void SetSlot(int slotCommand);
  void SetPlayed(bool played);
  void EditTitle();
  void EditBaseFolder();
  // Loading a file: appended, or replacing the list (which is left alone when the file
  // cannot be read). Shows the pane on success.
  LoadResult Load(const std::string& path, bool replacing);
  SaveResult Save(const std::string& path, bool confirmOverwrite);

  // Drops: true when `mime` is a drag of this process that the list takes.
  bool CanDrop(const QMimeData* mime) const;
  bool Drop(const QMimeData* mime, int row);

  // The entry pop-up, as its contents stand now, and running one of its items.
  std::vector<PlayListMenuItem> EntryMenu() const;
  void RunMenuCommand(PlayListMenuCommand command, int argument);
  void ShowEntryPopup(QPoint globalPos);

  // Asked for the base folder and the title; tests answer without a dialog.
  std::function<std::optional<std::string>(const std::string& start)> chooseFolder;
  std::function<std::optional<std::string>(const std::string& current)> askTitle;
  // True once the program is closing (ends the wait of clearing during ListPlay).
  std::function<bool()> closing;

 Q_SIGNALS:
  void showRequested();
  void hideRequested();
  void placementToggled();
  void loadDialogRequested();
  void saveDialogRequested();
  // The list's contents or its file changed.
  void listChanged();

 private:
  void BuildLayout();
  QToolButton* AddButton(const char* name, const char* caption);
  ListPlayState State() const;
  // Hands the raised requests to the window; true when there were any.
  void Forward(const ListPlayState& state);
  void AfterEdit();
  void StartDrag();
  bool WaitForListPlayEnd();

  IMessageBox& messages_;
  TPLInfo list_;
  PlayListModel* model_ = nullptr;
  PlayListView* view_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* baseLabel_ = nullptr;
  QPushButton* titleButton_ = nullptr;
  QPushButton* baseButton_ = nullptr;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
  QToolButton* delete_ = nullptr;
  QToolButton* start_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* back_ = nullptr;
  QToolButton* replay_ = nullptr;
  QToolButton* stop_ = nullptr;
  QToolButton* load_ = nullptr;
  QToolButton* save_ = nullptr;
  QToolButton* placeUp_ = nullptr;
  QToolButton* placeDown_ = nullptr;
  QToolButton* close_ = nullptr;
  bool above_ = false;
  PlayControls play_;
  PlayListPaneControls controls_;
  std::function<void(PlayAction)> playAction_;
  std::function<ListPlayState()> stateOf_;
  std::function<void(const ListPlayState&)> requests_;
  SlotFinder slotFor_;
  std::array<std::string, 6> playerNames_;
  StatusSink status_;
};

}  // namespace kadrel
