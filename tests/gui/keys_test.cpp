// Keys in the window: which key-table cell a key press selects in each list, on US and
// Japanese layouts; Alt for the menus; the customisation window's editing, OK and the
// question on closing.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "base/encoding.h"
#include "commands/command_names.h"
#include "commands/key_file.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/key_cust_window.h"
#include "ui/key_dispatch.h"

namespace kadrel::test {
namespace {

// Every settable cell holds its own name ("r46c3"), so the name that reaches the
// executor tells the cell.
KeyTable MarkedTable() {
  KeyTable t;
  for (int r = 1; r < kKeyRows; ++r)
    for (int c = 1; c < kKeyColumns; ++c) t.SetCell(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
  return t;
}

struct Press {
  const char* what;
  int key;
  Qt::KeyboardModifiers modifiers;
  quint32 scanCode;  // X keycode
  const char* text;
  const char* expected;  // "" = passed on to the list
};

// X keycodes: digits 1 … 0 are 10 … 19 on both layouts; 20 is "-" (US) / "-" (JP, "=" with
// Shift); 21 "=" (US) / "^" (JP); 34 "[" (US) / "@" (JP); 48 "'" (US) / ":" (JP); 132 the
// JP yen key; 51 the US backslash.
const Press kPresses[] = {
    {"Enter", Qt::Key_Return, Qt::NoModifier, 36, "\r", "r1c1 return"},
    {"Ctrl+Shift+Enter", Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, 36, "\r", "r1c4 return"},
    {"F5", Qt::Key_F5, Qt::NoModifier, 71, "", "r12c1"},
    {"Ctrl+K", Qt::Key_K, Qt::ControlModifier, 45, "\x0b", "r30c2"},
    {"Shift+B", Qt::Key_B, Qt::ShiftModifier, 56, "B", "r21c3"},
    {"US 1", Qt::Key_1, Qt::NoModifier, 10, "1", "r46c1"},
    {"US Shift+1", Qt::Key_Exclam, Qt::ShiftModifier, 10, "!", "r46c3"},
    {"US Shift+2 (@)", Qt::Key_At, Qt::ShiftModifier, 11, "@", "r47c3"},
    {"US Shift+8 (*)", Qt::Key_Asterisk, Qt::ShiftModifier, 17, "*", "r53c3"},
    {"JP Shift+2 (\")", Qt::Key_QuoteDbl, Qt::ShiftModifier, 11, "\"", "r47c3"},
    {"JP Ctrl+Shift+7", Qt::Key_Apostrophe, Qt::ControlModifier | Qt::ShiftModifier, 16, "'", "r52c4"},
    {"JP Shift+0", Qt::Key_0, Qt::ShiftModifier, 19, "", "r55c3"},
    {"keypad 5", Qt::Key_5, Qt::KeypadModifier, 84, "5", "r50c1"},
    {"Ctrl+keypad 0", Qt::Key_0, Qt::KeypadModifier | Qt::ControlModifier, 90, "0", "r55c2"},
    {"Ctrl+,", Qt::Key_Comma, Qt::ControlModifier, 59, "", "r56c1"},
    {"keypad *", Qt::Key_Asterisk, Qt::KeypadModifier, 63, "*", "r61c1"},
    {"JP Shift+- (=)", Qt::Key_Equal, Qt::ShiftModifier, 20, "=", "r62c1"},
    {"US Shift+= (+)", Qt::Key_Plus, Qt::ShiftModifier, 21, "+", "r60c1"},
    {"JP ^", Qt::Key_AsciiCircum, Qt::NoModifier, 21, "^", "r64c1"},
    {"JP @", Qt::Key_At, Qt::NoModifier, 34, "@", "r65c1"},
    {"JP :", Qt::Key_Colon, Qt::NoModifier, 48, ":", "r66c1"},
    {"JP yen", Qt::Key_yen, Qt::NoModifier, 132, "\xc2\xa5", "r63c1"},
    {"US backslash", Qt::Key_Backslash, Qt::NoModifier, 51, "\\", "r63c1"},
    {"Alt+F", Qt::Key_F, Qt::AltModifier, 41, "f", ""},
    {"Meta+A", Qt::Key_A, Qt::MetaModifier, 38, "a", ""},
    {"Down", Qt::Key_Down, Qt::NoModifier, 116, "", ""},
    {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 117, "", ""},
};

bool Send(QWidget& target, const Press& p) {
  QKeyEvent event(QEvent::KeyPress, p.key, p.modifiers, p.scanCode, 0, 0, QString::fromUtf8(p.text));
  QApplication::sendEvent(&target, &event);
  return event.isAccepted();
}

class KeysTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void keysSelectOneCellInEachList() {
    WindowFixture f;
    MainWindow& w = f.Make();
    w.Keys() = MarkedTable();
    std::vector<std::string> seen;
    w.Dispatcher().execute = [&seen](CommandList list, std::string_view name, std::string_view extra) {
      seen.push_back(std::to_string(int(list)) + " " + std::string(name) + (extra.empty() ? "" : " ") + std::string(extra));
    };
    const std::pair<QWidget*, CommandList> lists[] = {{&w.FileListWidget(), CommandList::FileList},
                                                      {&w.PlayListView(), CommandList::PlayList}};
    for (const auto& [view, list] : lists) {
      for (const Press& p : kPresses) {
        seen.clear();
        Send(*view, p);
        const std::vector<std::string> expected =
            *p.expected ? std::vector<std::string>{std::to_string(int(list)) + " " + p.expected} : std::vector<std::string>{};
        QVERIFY2(seen == expected, p.what);
      }
    }
  }

  void jumpListLettersAndEnterOpenJumpFoldersFromTheFileList() {
    WindowFixture f;
    MainWindow& w = f.Open();
    std::vector<std::string> seen;
    w.Dispatcher().execute = [&seen](CommandList list, std::string_view name, std::string_view) {
      seen.push_back(std::to_string(int(list)) + " " + DisplayText(name));
    };
    QTreeWidget& jump = w.Folders().JumpList();
    w.Folders().ShowView(FolderPane::View::JumpList);
    Send(jump, {"C", Qt::Key_C, Qt::NoModifier, 54, "c", ""});
    QCOMPARE(jump.currentIndex().row(), 2);
    jump.setCurrentIndex(jump.model()->index(4, 0));
    Send(jump, {"Enter", Qt::Key_Return, Qt::NoModifier, 36, "\r", ""});
    const std::string file = std::to_string(int(CommandList::FileList));
    QCOMPARE(seen, (std::vector<std::string>{file + " ジャンプフォルダ[C]を開く", file + " ジャンプフォルダ[E]を開く"}));

    // The folder tree keeps its own keys.
    seen.clear();
    for (const Press& p : kPresses) Send(w.Folders().Tree(), p);
    QVERIFY(seen.empty());
  }

  void keepingTheSelectionMovesOnlyTheFocus() {
    WindowFixture f;
    MainWindow& w = f.Open();
    FileListView& list = w.FileListWidget();
    list.setCurrentIndex(w.FileList().index(0, 0));
    w.Dispatcher().SetKeepSelection(true);
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.currentIndex().row(), 2);
    QCOMPARE(list.selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list.selectionModel()->selectedRows().front().row(), 0);
    QTest::keyClick(&list, Qt::Key_PageDown);
    QVERIFY(list.currentIndex().row() > 2);
    QCOMPARE(list.selectionModel()->selectedRows().front().row(), 0);
  }

  void altLetterOpensTheMenu() {
    WindowFixture f;
    MainWindow& w = f.Open();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.FileListWidget().setFocus();
    QTest::keyClick(&w.FileListWidget(), Qt::Key_F, Qt::AltModifier);
    QVERIFY(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 3000));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    menu->close();
  }

  void defaultKeysRunTheirCommands() {
    WindowFixture f;
    MainWindow& w = f.Open();
    // Ctrl+K opens the key customisation window; F6 plays with slot 6, which has no player;
    // Shift+L starts ListPlay, which finds the play list empty.
    QTest::keyClick(&w.FileListWidget(), Qt::Key_K, Qt::ControlModifier);
    QVERIFY(w.KeyWindow() && w.KeyWindow()->isVisible());
    w.KeyWindow()->hide();
    f.messages.texts.clear();
    w.FileListWidget().setCurrentIndex(w.FileList().index(f.RowOf("SONG1"), 0));
    QTest::keyClick(&w.FileListWidget(), Qt::Key_F6);
    QTest::keyClick(&w.FileListWidget(), Qt::Key_L, Qt::ShiftModifier);
    QCOMPARE(f.messages.texts,
             (std::vector<std::string>{"Player No.6 に登録されている実行ファイルが\n存在しません. 直ちに設定を変更して下さい.",
                                       "プレイリストには何も登録されていません"}));
    // Shift+P shows the play-list pane, as its menu item does.
    QTest::keyClick(&w.FileListWidget(), Qt::Key_P, Qt::ShiftModifier);
    QVERIFY(w.Actions().viewPlayList->isChecked());
  }

  void dropsBindMoveAndUnbind() {
    KeyTable table;
    RecordingMessageBox box;
    KeyCustWindow window(table, {}, Bytes(QDir::tempPath()), box);
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    KeyGrid& grid = window.Grid();
    FunctionList& functions = window.Functions();
    const int rowA = kFirstLetterRow;

    // As a drag delivers it: enter, move, drop.
    auto dropAt = [](QAbstractItemView& view, QPoint at, const QMimeData* mime) {
      const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
      QDragEnterEvent enter(at, actions, mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(view.viewport(), &enter);
      QDragMoveEvent move(at, actions, mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(view.viewport(), &move);
      QDropEvent drop(at, actions, mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(view.viewport(), &drop);
      return drop.isAccepted();
    };
    auto cellCentre = [&grid](int row, int column) { return grid.visualRect(grid.model()->index(row - 1, column)).center(); };

    QListWidgetItem* sort = functions.findItems(QString::fromUtf8("ソートをする"), Qt::MatchExactly).value(0);
    QVERIFY(sort);
    std::unique_ptr<QMimeData> command(functions.mimeData({sort}));
    grid.scrollToItem(grid.item(rowA - 1, 2));
    QCOMPARE(KeyGrid::TableCell(grid.indexAt(cellCentre(rowA, 2))), std::make_pair(rowA, 2));
    QVERIFY(dropAt(grid, cellCentre(rowA, 2), command.get()));
    QCOMPARE(table.Cell(rowA, 2), CommandBytes("ソートをする"));
    QCOMPARE(grid.item(rowA - 1, 2)->text(), QString::fromUtf8("ソートをする"));
    QVERIFY(!dropAt(grid, cellCentre(rowA, 0), command.get()));  // the key column takes nothing

    // A cell onto another moves the binding; onto the function list it unbinds.
    std::unique_ptr<QMimeData> cell(grid.mimeData({grid.item(rowA - 1, 2)}));
    QVERIFY(dropAt(grid, cellCentre(rowA, 3), cell.get()));
    QCOMPARE(table.Cell(rowA, 2), std::string());
    QCOMPARE(table.Cell(rowA, 3), CommandBytes("ソートをする"));
    QVERIFY(!grid.mimeData({grid.item(kFirstCharacterRow - 1, 2)}));  // a marker cell cannot be dragged
    cell.reset(grid.mimeData({grid.item(rowA - 1, 3)}));
    QVERIFY(dropAt(functions, functions.visualItemRect(functions.item(0)).center(), cell.get()));
    QCOMPARE(table.Cell(rowA, 3), std::string());

    // Double-click, Enter in the function list and the pop-up item bind the selection.
    functions.setCurrentItem(sort);
    grid.setCurrentCell(rowA - 1, 4);
    QTest::keyClick(&functions, Qt::Key_Return);
    QCOMPARE(table.Cell(rowA, 4), CommandBytes("ソートをする"));
    window.UnbindSelected();
    QCOMPARE(table.Cell(rowA, 4), std::string());

    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractItemView*>(widget);
      const bool qtOwn = widget->inherits("QHeaderView") || widget->objectName().startsWith(QStringLiteral("qt_"));
      if (control && !qtOwn && widget->accessibleName().isEmpty())
        unnamed << QString::fromLatin1(widget->metaObject()->className());
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    window.hide();
  }

  void bindingsSurviveARestartAndClosingAsks() {
    QTemporaryDir config;
    const std::string folder = Bytes(config.path());
    KeyWindowSettings stored;
    stored.keyFile = folder + "Default.Key";
    {
      KeyTable table;
      RecordingMessageBox box;
      KeyCustWindow window(table, stored, folder, box);
      window.onClosed = [&stored](const KeyWindowSettings& s) { stored = s; };
      window.LoadAtStart(box);
      QCOMPARE(box.texts, std::vector<std::string>{std::string(keytext::kWroteDefault)});
      QCOMPARE(window.FileLabel().text(), QString::fromUtf8("定義ファイル : Default.Key"));
      window.Open();
      window.Bind(kFirstLetterRow + ('X' - 'A'), 1, CommandBytes("ヘルプの起動"));

      box.answer = MessageAnswer::Cancel;  // closing by the title bar asks first
      QVERIFY(!window.close());
      QVERIFY(window.isVisible());
      window.OkButton().click();
      QVERIFY(!window.isVisible());
      QCOMPARE(stored.keyFile, folder + "Default.Key");
    }
    KeyTable table;
    RecordingMessageBox box;
    KeyCustWindow window(table, stored, folder, box);
    window.LoadAtStart(box);
    QVERIFY(box.texts.empty());
    QCOMPARE(table.Cell(kFirstLetterRow + ('X' - 'A'), 1), CommandBytes("ヘルプの起動"));

    // Cancel throws edits away.
    window.Open();
    window.Bind(kFirstLetterRow + ('Y' - 'A'), 1, CommandBytes("ヘルプの起動"));
    window.CancelButton().click();
    QCOMPARE(table.Cell(kFirstLetterRow + ('Y' - 'A'), 1), std::string());
  }

  void aFailedSaveKeepsTheWindowOpen() {
    QTemporaryDir config;
    const std::string folder = Bytes(config.path());
    KeyTable table;
    RecordingMessageBox box;
    KeyWindowSettings stored;
    stored.keyFile = folder + "Default.Key";
    KeyCustWindow window(table, stored, folder, box);
    window.LoadAtStart(box);
    window.Open();
    // The file's folder goes away while the window is open.
    QVERIFY(QFile::remove(config.path() + QStringLiteral("/Default.Key")));
    QVERIFY(QDir(config.path()).removeRecursively());
    box.texts.clear();
    window.OkButton().click();
    QVERIFY(window.isVisible());
    QCOMPARE(box.texts.size(), size_t(1));
    QVERIFY(box.texts[0].starts_with("キー定義ファイルを書き込めませんでした."));
    window.hide();
  }
};

}  // namespace

QObject* NewKeysTest() { return new KeysTest; }

}  // namespace kadrel::test

#include "keys_test.moc"
