#include "ui/key_dispatch.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QKeyEvent>

namespace kadrel {
namespace {

int NamedKeyRow(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kReturnRow;
    case Qt::Key_Backspace: return 2;
    case Qt::Key_Escape: return 3;
    case Qt::Key_Insert: return 4;
    case Qt::Key_Delete: return 5;
    case Qt::Key_Home: return 6;
    case Qt::Key_Space: return 7;
    default: break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return kFirstFunctionKeyRow + (key - Qt::Key_F1);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return kFirstLetterRow + (key - Qt::Key_A);
  return 0;
}

int DigitRow(int digit) { return digit == 0 ? kZeroRow : kFirstDigitRow + digit - 1; }

// The character a key types, from its text or, when a modifier swallowed the text, from
// the key itself.
QChar TypedCharacter(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.size() == 1 && text[0].isPrint()) return text[0];
  const int key = event.key();
  if (key == Qt::Key_yen) return QChar(0x00A5);
  if (key >= 0x20 && key < 0x7F) return QChar(key);
  return {};
}

int CharacterRow(QChar c) {
  if (c == QChar(0x00A5)) c = QLatin1Char('\\');
  if (c.unicode() >= 0x80) return 0;
  const size_t at = kTypedCharacters.find(static_cast<char>(c.unicode()));
  return at == std::string_view::npos ? 0 : kFirstCharacterRow + static_cast<int>(at);
}

}  // namespace

int KeyRowOf(const QKeyEvent& event) {
  if (const int row = NamedKeyRow(event.key())) return row;
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return DigitRow(key - Qt::Key_0);
  } else {
    const quint32 scan = event.nativeScanCode();
    if (scan >= kScanCodeDigit1 && scan <= kScanCodeDigit0) return DigitRow(scan == kScanCodeDigit0 ? 0 : int(scan - 9));
    // Without a scan code (a synthetic event) the key itself names the digit.
    if (scan == 0 && key >= Qt::Key_0 && key <= Qt::Key_9) return DigitRow(key - Qt::Key_0);
  }
  return CharacterRow(TypedCharacter(event));
}

KeyDispatcher::KeyDispatcher(const KeyTable& table, CommandExecutor& executor, QObject* parent)
    : QObject(parent), table_(table) {
  execute = [&executor](CommandList list, std::string_view name, std::string_view extra) {
    executor.Execute(list, name, extra);
  };
}

void KeyDispatcher::Watch(QAbstractItemView& view, CommandList list) {
  lists_[&view] = list;
  view.installEventFilter(this);
}

bool KeyDispatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto it = lists_.find(watched);
  if (it == lists_.end()) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return false;
  return Dispatch(*static_cast<QAbstractItemView*>(watched), it->second, *key);
}

bool KeyDispatcher::Dispatch(QAbstractItemView& view, CommandList list, QKeyEvent& key) {
  if (MoveFocusOnly(view, key)) return true;
  const int row = KeyRowOf(key);
  if (row == 0) return false;
  const HeldModifiers held{(key.modifiers() & Qt::ControlModifier) != 0, (key.modifiers() & Qt::ShiftModifier) != 0};
  if (beforeCommand) beforeCommand(view, list);

  if (list == CommandList::JumpList) {
    if (row == kReturnRow) {
      if (view.currentIndex().isValid()) OpenJumpRow(view.currentIndex().row());
      return true;
    }
    if (row >= kFirstLetterRow && row < kFirstLetterRow + 26) {
      const int letter = row - kFirstLetterRow;
      if (QAbstractItemModel* model = view.model(); model && letter < model->rowCount()) {
        const QModelIndex index = model->index(letter, 0);
        view.setCurrentIndex(index);
      }
      OpenJumpRow(letter);
      return true;
    }
  }
  if (row >= kFirstCharacterRow) {
    execute(list, table_.Cell(row, 1), {});
    return true;
  }
  execute(list, table_.KeyRowCommand(row, held), row == kReturnRow ? "return" : "");
  return true;
}

void KeyDispatcher::OpenJumpRow(int row) {
  execute(CommandList::FileList, CommandBytes(JumpCommandName(row)), {});
  if (focusFileList) focusFileList();
}

bool KeyDispatcher::MoveFocusOnly(QAbstractItemView& view, QKeyEvent& key) {
  if (!keepSelection_) return false;
  const int k = key.key();
  const bool paging = k == Qt::Key_PageUp || k == Qt::Key_PageDown;
  const bool stepping = (k == Qt::Key_Up || k == Qt::Key_Down) && !(key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
  if (!paging && !stepping) return false;
  QAbstractItemModel* model = view.model();
  if (!model || model->rowCount() == 0) return true;
  const int rows = model->rowCount();
  const QModelIndex current = view.currentIndex();
  int row = current.isValid() ? current.row() : 0;
  int page = 1;
  if (paging) {
    const int height = view.sizeHintForRow(0);
    page = std::max(1, height > 0 ? view.viewport()->height() / height - 1 : 10);
  }
  row += (k == Qt::Key_PageUp || k == Qt::Key_Up) ? -page : page;
  row = std::clamp(row, 0, rows - 1);
  const QModelIndex target = model->index(row, current.isValid() ? current.column() : 0);
  view.selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
  view.scrollTo(target);
  return true;
}

}  // namespace kadrel
