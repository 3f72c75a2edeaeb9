#pragma once
// Key dispatch for the lists: an event filter that maps each key press to a row of the
// key table and runs that row's command through the executor. Alt and Meta pass on to
// the menus; keys that select no row pass on to the list.

#include <functional>
#include <map>

#include <QObject>

#include "commands/command_executor.h"
#include "commands/key_table.h"

class QAbstractItemView;
class QKeyEvent;

namespace kadrel {

// The row a key press selects, 0 for none:
//  - Enter, Backspace, Escape, Insert, Delete, Home, Space, F1 … F12 and the letters
//    by their Qt key;
//  - digits of the numeric pad by the keypad modifier, digits of the main block by
//    their scan code, so that Shift+digit still selects the digit on any layout;
//  - rows 56 … 67 by the character typed (the yen sign counts as the backslash).
int KeyRowOf(const QKeyEvent& event);

// X keycodes (evdev + 8) of the main block's digits 1 … 9, 0.
inline constexpr quint32 kScanCodeDigit1 = 10;
inline constexpr quint32 kScanCodeDigit0 = 19;

class KeyDispatcher : public QObject {
  Q_OBJECT

 public:
  KeyDispatcher(const KeyTable& table, CommandExecutor& executor, QObject* parent = nullptr);

  void Watch(QAbstractItemView& view, CommandList list);
  // "operation" bit 4: Page Up/Down and Up/Down move the focus without touching the
  // selection.
  void SetKeepSelection(bool on) { keepSelection_ = on; }
  // Puts the focus on the file list (after a jump-list key).
  std::function<void()> focusFileList;
  // Called before a key's command runs, with the list the key was pressed in (a
  // detail window's list tells the window which of them the command is for).
  std::function<void(QAbstractItemView&, CommandList)> beforeCommand;
  // Where a selected command goes: the executor (tests record it instead).
  std::function<void(CommandList, std::string_view name, std::string_view extra)> execute;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Dispatch(QAbstractItemView& view, CommandList list, QKeyEvent& key);
  bool MoveFocusOnly(QAbstractItemView& view, QKeyEvent& key);
  void OpenJumpRow(int row);

  const KeyTable& table_;
  std::map<QObject*, CommandList> lists_;
  bool keepSelection_ = false;
};

}  // namespace kadrel
