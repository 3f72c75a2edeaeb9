// The view-settings dialog: column-list moves, stored colours, enable rules, the page
// exchange, damaged values, saving (also when the store cannot be written) and the
// file list following at once.

#include <algorithm>
#include <random>

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include "screenshots.h"
#include "settings/default_tree.h"
#include "test_support.h"
#include "ui/column_list_moves.h"
#include "ui/column_list_widget.h"
#include "ui/stored_colours.h"
#include "ui/view_fonts.h"
#include "ui/view_settings_dialog.h"

namespace kadrel::test {
namespace {

template <class T>
T* ByName(QWidget& parent, const char* name, int nth = 0) {
  int seen = 0;
  for (T* widget : parent.findChildren<T*>())
    if (widget->accessibleName() == U8(name) && seen++ == nth) return widget;
  return nullptr;
}

ColumnNames Names(std::initializer_list<const char*> names) { return ColumnNames(names.begin(), names.end()); }

ViewSettings DefaultView() {
  ViewSettings v;
  v.FileListItems = {1, 2, 5, 8, 3};
  v.PlayListItems = {1, 2, 3, 9, 4};
  for (std::size_t g = 0; g < v.Fonts.size(); ++g) {
    v.Fonts[g].Points = kFontGroups[g].points;
    v.Fonts[g].Color = kColorWindowText;
    v.Fonts[g].BackColor = kColorWindow;
  }
  for (BarColors& bar : v.ProgressBars) bar = {kColorHighlight, kColorButtonFace};
  return v;
}

}  // namespace

class ViewSettingsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void dropsFromTheOtherListStandAboveTheRowReversedOrAppendInOrder() {
    ColumnNames hidden = Names({"タイトル", "アーティスト", "作曲者"});
    ColumnNames visible = Names({"ファイルタイプ", "歌詞ファイル情報"});
    DropFromOtherList(hidden, {0, 2}, visible, 0);
    QCOMPARE(visible, Names({"作曲者", "タイトル", "ファイルタイプ", "歌詞ファイル情報"}));
    QCOMPARE(hidden, Names({"アーティスト"}));

    hidden = Names({"タイトル", "アーティスト", "作曲者"});
    visible = Names({"ファイルタイプ"});
    DropFromOtherList(hidden, {2, 0, 0, 9}, visible, -1);  // out-of-range and repeated rows ignored
    QCOMPARE(visible, Names({"ファイルタイプ", "タイトル", "作曲者"}));
  }

  void theAddButtonAppendsFromTheLastSelected() {
    ColumnNames hidden = Names({"タイトル", "アーティスト", "作曲者"});
    ColumnNames visible = Names({"ファイルタイプ"});
    MoveSelectedToEnd(hidden, {0, 2}, visible);
    QCOMPARE(visible, Names({"ファイルタイプ", "作曲者", "タイトル"}));
    QCOMPARE(hidden, Names({"アーティスト"}));
  }

  void reorderingKeepsEverySelectedEntryExactlyOnce() {
    ColumnNames list = Names({"A", "B", "C", "D", "E"});
    ReorderWithinList(list, {1, 4}, 2);  // B from above goes below C, E from below goes above it
    QCOMPARE(list, Names({"A", "E", "C", "B", "D"}));
    list = Names({"A", "B", "C", "D", "E"});
    ReorderWithinList(list, {0, 2}, 4);  // the last row: to the end, in order
    QCOMPARE(list, Names({"B", "D", "E", "A", "C"}));

    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
      const int size = 1 + static_cast<int>(random() % 9);
      ColumnNames original;
      for (int i = 0; i < size; ++i) original.push_back(std::string(1, static_cast<char>('a' + i)));
      std::vector<int> selected;
      for (int i = 0; i < size; ++i)
        if (random() % 2) selected.push_back(i);
      const int row = static_cast<int>(random() % static_cast<unsigned>(size + 2)) - 1;
      ColumnNames moved = original;
      ReorderWithinList(moved, selected, row);
      ColumnNames sorted = moved;
      std::sort(sorted.begin(), sorted.end());
      QCOMPARE(sorted, original);
      // The entries not selected keep their order.
      ColumnNames rest, restAfter;
      for (int i = 0; i < size; ++i)
        if (std::find(selected.begin(), selected.end(), i) == selected.end()) rest.push_back(original[i]);
      for (const std::string& e : moved)
        if (std::find(rest.begin(), rest.end(), e) != rest.end()) restAfter.push_back(e);
      QCOMPARE(restAfter, rest);
    }
  }

  void dragsStayWithinTheirPair() {
    RecordingMessageBox box;
    TSet_ViewForm dialog(DefaultView(), {}, box);
    auto* fileVisible = ByName<ColumnListWidget>(dialog, "表示する項目", 0);
    auto* fileHidden = ByName<ColumnListWidget>(dialog, "表示しない項目", 0);
    auto* playVisible = ByName<ColumnListWidget>(dialog, "表示する項目", 1);
    QVERIFY(fileVisible && fileHidden && playVisible);
    QVERIFY(fileVisible->Accepts(fileVisible) && fileVisible->Accepts(fileHidden) && fileHidden->Accepts(fileVisible));
    QVERIFY(!fileHidden->Accepts(fileHidden));
    // The play list's "ファイル名" cannot be dragged into the file list's hidden list.
    QCOMPARE(playVisible->item(0)->text(), U8("ファイル名"));
    playVisible->item(0)->setSelected(true);
    QVERIFY(!fileHidden->Accepts(playVisible) && !fileVisible->Accepts(playVisible));
    const int hiddenCount = fileHidden->count();
    fileHidden->DropFrom(playVisible, 0);
    QCOMPARE(fileHidden->count(), hiddenCount);
    QCOMPARE(playVisible->item(0)->text(), U8("ファイル名"));

    // "タイトル" is shown by default; hide it, then drop it back with "作曲者" on row 0.
    fileVisible->findItems(U8("タイトル"), Qt::MatchExactly)[0]->setSelected(true);
    fileHidden->DropFrom(fileVisible, -1);
    for (const char* name : {"タイトル", "作曲者"}) fileHidden->findItems(U8(name), Qt::MatchExactly)[0]->setSelected(true);
    const QString formerFirst = fileVisible->item(0)->text();
    fileVisible->DropFrom(fileHidden, 0);  // the hidden list holds "作曲者" before "タイトル" now
    QCOMPARE(fileVisible->item(0)->text(), U8("タイトル"));
    QCOMPARE(fileVisible->item(1)->text(), U8("作曲者"));
    QCOMPARE(fileVisible->item(2)->text(), formerFirst);
  }

  void storedColoursConvertBothWaysAndFollowTheTheme() {
    QPalette dark;
    dark.setColor(QPalette::Active, QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Active, QPalette::Base, QColor(0x20, 0x20, 0x24));
    dark.setColor(QPalette::Active, QPalette::Highlight, QColor(0x30, 0x60, 0xc0));
    QCOMPARE(ColourFromStored(0x00563412, dark), QColor(0x12, 0x34, 0x56));
    QCOMPARE(StoredFromColour(QColor(0x12, 0x34, 0x56), 0, dark), 0x00563412);
    QCOMPARE(ColourFromStored(kColorWindowText, dark), QColor(0xee, 0xee, 0xee));
    QCOMPARE(ColourFromStored(kColorWindow, dark), QColor(0x20, 0x20, 0x24));
    QCOMPARE(ColourFromStored(kColorHighlight, dark), QColor(0x30, 0x60, 0xc0));
    // Choosing the colour the default shows keeps the code; another colour is stored as RGB.
    QCOMPARE(StoredFromColour(QColor(0xee, 0xee, 0xee), kColorWindowText, dark), kColorWindowText);
    QCOMPARE(StoredFromColour(QColor(0xee, 0xee, 0xef), kColorWindowText, dark), 0x00efeeee);
    for (int32_t value : {0, 0x00ffffff, 0x000000ff, 0x00ff0000, 0x00123456})
      QCOMPARE(StoredFromColour(ColourFromStored(value, dark), value, dark), value);
  }

  void enableRulesAndMarksSavedAsShown() {
    RecordingMessageBox box;
    ViewSettings v = DefaultView();
    v.Window.TrayIcon = true;
    v.Window.TrayAlways = true;
    v.Window.TrayHideTaskbar = true;
    TSet_ViewForm dialog(v, {}, box);
    auto* tray = ByName<QCheckBox>(dialog, "タスクトレイにアイコンを入れる");
    auto* onlyMinimised = ByName<QCheckBox>(dialog, "最小化時のみタスクトレイに入れる");
    auto* hideTaskbar = ByName<QCheckBox>(dialog, "最小化時にタスクバーにアプリケーションを表示しない");
    QVERIFY(tray && onlyMinimised && hideTaskbar);
    QVERIFY(onlyMinimised->isEnabled());
    tray->setChecked(false);
    QVERIFY(!onlyMinimised->isEnabled() && !hideTaskbar->isEnabled());
    QVERIFY(onlyMinimised->isChecked() && hideTaskbar->isChecked());
    const ViewSettings saved = dialog.Values();
    QVERIFY(!saved.Window.TrayIcon && saved.Window.TrayAlways && saved.Window.TrayHideTaskbar);

    auto* hover = ByName<QCheckBox>(dialog, "マウスカーソル上のファイルを一定時間後、自動的に選択する");
    QVERIFY(!hover->isEnabled());  // double-click opening is the default
    ByName<QRadioButton>(dialog, "シングルクリックでファイルを開く")->setChecked(true);
    QVERIFY(hover->isEnabled());
    auto* focused = ByName<QCheckBox>(dialog, "複数選択時もフォーカスのあるアイテムを反転する");
    QVERIFY(!focused->isEnabled());
    ByName<QRadioButton>(dialog, "アイテムを選択後にフォーカスを移動しても選択項目を保持する")->setChecked(true);
    QVERIFY(focused->isEnabled());

    auto* restoreBar = ByName<QCheckBox>(dialog, "ステータスバー");
    ByName<QCheckBox>(dialog, "ステータスバー は起動時必ず表示")->setChecked(true);
    QVERIFY(!restoreBar->isEnabled());
    QCOMPARE(dialog.Values().ForceWinState, 2);
  }

  void thePageSetsExchangeAndTheBarsMoveOnTheColourTab() {
    RecordingMessageBox box;
    TSet_ViewForm dialog(DefaultView(), {}, box);
    dialog.show();
    QCOMPARE(dialog.FrontPageSet(), 0);
    QCOMPARE(dialog.windowTitle(), U8("表示設定 [ListViewの設定]"));
    SaveShot(dialog, QStringLiteral("view-settings-columns"));
    auto* back = ByName<QTabBar>(dialog, "その他の設定");
    QVERIFY(back);
    back->setCurrentIndex(2);
    QCOMPARE(dialog.FrontPageSet(), 1);
    QCOMPARE(dialog.windowTitle(), U8("表示設定 [その他の設定]"));
    QVERIFY(dialog.BarTimerRunning());
    auto* sample = ByName<QProgressBar>(dialog, "検索状況");
    const int before = sample->value();
    QVERIFY(WaitUntil([&] { return sample->value() != before; }, 2000));
    SaveShot(dialog, QStringLiteral("view-settings-fonts"));
    dialog.ShowTab(1, 0);
    QVERIFY(!dialog.BarTimerRunning());
    SaveShot(dialog, QStringLiteral("view-settings-player"));
    dialog.ShowTab(1, 1);
    SaveShot(dialog, QStringLiteral("view-settings-window"));
    dialog.ShowTab(0, 1);
    QCOMPARE(dialog.FrontPageSet(), 0);
    QVERIFY(!dialog.BarTimerRunning());
    SaveShot(dialog, QStringLiteral("view-settings-names"));
  }

  void damagedStoredValuesAreBroughtIntoRange() {
    RecordingMessageBox box;
    ViewSettings v = DefaultView();
    v.Window.PWCheckTime = 99999;
    v.Fonts[1].Points = 0;    // "FL"
    v.Fonts[2].Points = -12;  // "PL"
    TSet_ViewForm high(v, {}, box);
    QCOMPARE(high.Values().Window.PWCheckTime, 15000);
    QCOMPARE(high.Values().Fonts[1].Points, 11);
    QCOMPARE(high.Values().Fonts[2].Points, 10);
    v.Window.PWCheckTime = 7;
    TSet_ViewForm low(v, {}, box);
    auto* spin = ByName<QSpinBox>(low, "PlayerのWindowを監視する時間");
    QCOMPARE(spin->value(), 400);
    QCOMPARE(spin->singleStep(), 200);
    QCOMPARE(spin->maximum(), 15000);
  }

  void choosersAnswerAndCancelChangesNothing() {
    RecordingMessageBox box;
    std::optional<QColor> answer;
    ViewChoosers choosers;
    choosers.font = [](const QFont&, QWidget*) { return std::optional<QFont>(); };
    choosers.colour = [&answer](const QColor&, QWidget*) { return answer; };
    const ViewSettings v = DefaultView();
    TSet_ViewForm dialog(v, {}, box, choosers);
    QPushButton* colour = ByName<QPushButton>(dialog, "ファイルリスト Color");
    QPushButton* font = ByName<QPushButton>(dialog, "ファイルリスト Font");
    QVERIFY(colour && font);
    colour->click();
    font->click();
    QCOMPARE(dialog.Values().Fonts[1].Color, kColorWindowText);
    QCOMPARE(dialog.Values().Fonts[1].Face, v.Fonts[1].Face);
    answer = QColor(0x10, 0x20, 0x30);
    colour->click();
    QCOMPARE(dialog.Values().Fonts[1].Color, 0x00302010);
    ByName<QPushButton>(dialog, "ファイルリスト Default")->click();
    QCOMPARE(dialog.Values().Fonts[1].Color, kColorWindowText);
    QCOMPARE(dialog.Values().Fonts[1].Points, 11);
  }

  void aFailedSaveIsReportedAndTheDialogStaysOpen() {
    RecordingMessageBox box;
    int saves = 0;
    TSet_ViewForm dialog(DefaultView(), [&saves](const ViewSettings&) { return ++saves > 1; }, box);
    dialog.show();
    dialog.accept();
    QCOMPARE(saves, 1);
    QCOMPARE(box.texts.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(box.texts[0]).contains(U8("保存に失敗")));
    QVERIFY(dialog.isVisible());
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void okWritesTheStoreAndTheFileListFollowsAtOnce() {
    WindowFixture f;
    MainWindow& w = f.OpenOnStore();
    const std::vector<int> before = w.FileList().Columns();
    QVERIFY(std::find(before.begin(), before.end(), 8) != before.end());
    QHeaderView* header = w.FileListWidget().header();
    const int typeAt = f.Section(2);
    header->resizeSection(typeAt, 77);
    f.messages.texts.clear();  // the first start's questions

    w.Actions().viewSettings->trigger();
    auto* dialog = w.findChild<TSet_ViewForm*>();
    QVERIFY(dialog);
    QListWidget* visible = ByName<QListWidget>(*dialog, "表示する項目");
    QList<QListWidgetItem*> title = visible->findItems(U8("タイトル"), Qt::MatchExactly);
    QCOMPARE(title.size(), 1);
    title[0]->setSelected(true);
    ByName<QPushButton>(*dialog, "削除 >>")->click();
    ByName<QRadioButton>(*dialog, "シングルクリックでファイルを開く")->setChecked(true);
    dialog->accept();

    // The list options apply at once: a single click on a jump row opens it.
    QSignalSpy jumps(&w.Folders(), &FolderPane::jumpRequested);
    QTreeWidget& jump = w.Folders().JumpList();
    Q_EMIT jump.itemClicked(jump.topLevelItem(3), 0);
    QCOMPARE(jumps.size(), 1);
    QCOMPARE(jumps[0][0].toInt(), 3);

    const std::vector<int> after = w.FileList().Columns();
    QVERIFY(std::find(after.begin(), after.end(), 8) == after.end());
    QCOMPARE(after.size(), before.size() - 1);
    QCOMPARE(header->sectionSize(f.Section(2)), 77);  // the other widths stay
    const ViewSettings stored = LoadViewSettings(f.session->Reg());
    QVERIFY(std::find(stored.FileListItems.begin(), stored.FileListItems.end(), 8) == stored.FileListItems.end());
    QCOMPARE(stored.FileListWidths[1], 77);
    QVERIFY(f.messages.texts.empty());
  }

  void aStoreThatCannotBeWrittenKeepsTheDialogOpen() {
    WindowFixture f;
    MainWindow& w = f.OpenOnStore(true);
    const std::vector<int> before = w.FileList().Columns();
    w.Actions().viewSettings->trigger();
    auto* dialog = w.findChild<TSet_ViewForm*>();
    QVERIFY(dialog);
    f.messages.texts.clear();
    ByName<QListWidget>(*dialog, "表示する項目")->item(0)->setSelected(true);
    ByName<QPushButton>(*dialog, "削除 >>")->click();
    dialog->accept();
    QCOMPARE(f.messages.texts.size(), std::size_t{1});
    QVERIFY(dialog->isVisible());
    QCOMPARE(w.FileList().Columns(), before);  // nothing applied that was not saved
    dialog->reject();
  }
};

QObject* NewViewSettingsTest() { return new ViewSettingsTest; }

}  // namespace kadrel::test

#include "view_settings_test.moc"
