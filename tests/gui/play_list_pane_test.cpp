// The play-list pane: which controls are enabled, what the pop-ups hold, the editing
// commands with their questions, drops from inside and outside the program, the load
// and save dialogs, and play lists named on the command line.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QDialog>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "../playlist/playlist_test_util.h"
#include "commands/command_names.h"
#include "playlist/playlist_texts.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/play_list_controls.h"
#include "ui/play_list_dialogs.h"
#include "ui/play_list_drag.h"
#include "ui/play_list_menus.h"
#include "ui/play_list_model.h"
#include "ui/play_list_pane.h"
#include "ui/play_list_view.h"

namespace kadrel::test {
namespace {

std::vector<PlayListSource> Sources(const std::string& folder, std::initializer_list<const char*> stems) {
  std::vector<PlayListSource> out;
  for (const char* stem : stems) out.push_back({folder, MusicRecord(stem)});
  return out;
}

const PlayListMenuItem* Find(const std::vector<PlayListMenuItem>& menu, PlayListMenuCommand command) {
  for (const auto& item : menu)
    if (item.command == command) return &item;
  return nullptr;
}

// A pane whose files every slot plays, filled with a, b, c from one folder.
struct Filled {
  RecordingMessageBox box;
  PlayListPane pane{box};
  ListPlayState state;
  std::vector<ListPlayState> requests;
  Filled() {
    pane.SetSlotFinder([](const std::string&) { return 1; });
    pane.SetListPlayStateProvider([this] { return state; });
    pane.SetListPlayRequestHandler([this](const ListPlayState& s) { requests.push_back(s); });
    pane.Add(Sources("/music/", {"a", "b", "c"}), -1);
  }
  void Select(std::vector<int> rows) { pane.SetSelection({rows, rows.empty() ? -1 : rows.front()}); }
  // ListPlay plays `current`, with `next` reserved.
  void Playing(int current, int next) {
    state.Running = true;
    state.CurrentIndex = current;
    state.NextIndex = next;
    state.NextReserved = next >= 0;
    pane.List().Items[static_cast<size_t>(current)]->Order = 0;
    if (next >= 0) pane.List().Items[static_cast<size_t>(next)]->Order = 1;
  }
};

class PlayListPaneTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void enabledControlsFollowTheListAndListPlay() {
    const PlayListPaneControls empty = PlayListControlsFor(0, {});
    QVERIFY(!empty.up && !empty.down && !empty.remove && !empty.save && !empty.title && !empty.baseFolder);
    QVERIFY(empty.load && empty.close && empty.place);
    QVERIFY(!empty.start);

    PlayControls idle;
    idle.nextEnabled = idle.previousEnabled = idle.replayEnabled = true;  // stale flags of an ended run
    const PlayListPaneControls filled = PlayListControlsFor(2, idle);
    QVERIFY(filled.up && filled.down && filled.remove && filled.save && filled.title && filled.baseFolder);
    QVERIFY(filled.start);
    QVERIFY(!filled.next && !filled.back && !filled.replay && !filled.stop);

    PlayControls running;
    running.listPlayRunning = true;
    running.nextEnabled = true;
    const PlayListPaneControls during = PlayListControlsFor(2, running);
    QVERIFY(!during.start && during.stop && during.next);
    QVERIFY(!during.back && !during.replay);

    // The pane's buttons show the set, and follow the list without being told.
    Filled f;
    QToolButton* del = f.pane.findChild<QToolButton*>(QStringLiteral("s_del"));
    QVERIFY(del && del->isEnabled());
    f.box.answer = MessageAnswer::Ok;
    f.pane.Clear();
    QVERIFY(!del->isEnabled());
    QVERIFY(f.pane.findChild<QToolButton*>(QStringLiteral("s_load"))->isEnabled());
    // Thirteen buttons, each named for screen readers; one of the two move buttons shows.
    const auto buttons = f.pane.findChildren<QToolButton*>();
    QCOMPARE(buttons.size(), 13);
    for (QToolButton* b : buttons) QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->objectName()));
    QVERIFY(!f.pane.findChild<QToolButton*>(QStringLiteral("s_pageUp"))->isHidden());
    QVERIFY(f.pane.findChild<QToolButton*>(QStringLiteral("s_pageDown"))->isHidden());
    f.pane.SetAbove(true);
    QVERIFY(f.pane.findChild<QToolButton*>(QStringLiteral("s_pageUp"))->isHidden());
    QVERIFY(!f.pane.findChild<QToolButton*>(QStringLiteral("s_pageDown"))->isHidden());
  }

  void entryPopUpBySelectionWithEscapedNames() {
    using C = PlayListMenuCommand;
    PlayListEntryMenuInput in;
    in.entries = 3;
    in.playerNames = {"Timidity & Co", "", "", "", "", "Fluid"};
    auto menu = PlayListEntryMenu(in);  // nothing selected
    QVERIFY(!Find(menu, C::PlayNow)->enabled);
    QVERIFY(!Find(menu, C::Delete)->enabled && !Find(menu, C::MoveUp)->enabled);
    QVERIFY(Find(menu, C::EditTitle)->enabled);

    in.selected = 1;
    in.focused = true;
    menu = PlayListEntryMenu(in);
    QVERIFY(Find(menu, C::PlayNow)->enabled);
    QVERIFY(!Find(menu, C::MakeNext)->enabled);  // ListPlay does not run
    in.play.listPlayRunning = true;
    QVERIFY(Find(PlayListEntryMenu(in), C::MakeNext)->enabled);

    in.selected = 2;
    menu = PlayListEntryMenu(in);
    QVERIFY(!Find(menu, C::PlayNow)->enabled && !Find(menu, C::MakeNext)->enabled);
    QVERIFY(Find(menu, C::Delete)->enabled && Find(menu, C::SetPlayed)->enabled);

    const auto player = std::find_if(menu.begin(), menu.end(), [](const auto& i) { return !i.items.empty(); });
    QVERIFY(player != menu.end());
    QCOMPARE(player->items.size(), size_t(7));
    QCOMPARE(player->items[1].caption, std::string("(&1) : Timidity && Co"));
    QVERIFY(player->items[1].visible && !player->items[2].visible && player->items[6].visible);
    QCOMPARE(player->items[6].argument, 6);

    QCOMPARE(EscapeMenuText("&&a&"), std::string("&&&&a&&"));
    const auto file = PlayListFileMenu(0);
    QCOMPARE(file[0].caption, std::string("PlayListを読み込む(&L)"));
    QVERIFY(!Find(file, C::SaveToFile)->enabled);  // nothing to save
    QVERIFY(Find(PlayListFileMenu(1), C::SaveToFile)->enabled);
  }

  void deleteAsksWhenItTouchesListPlay() {
    {  // the playing item alone: OK ends ListPlay, Cancel keeps everything
      Filled f;
      f.Playing(0, -1);
      f.Select({0});
      f.box.answer = MessageAnswer::Cancel;
      f.pane.DeleteSelection();
      QCOMPARE(f.pane.List().Items.size(), size_t(3));
      QCOMPARE(f.box.texts.back(), std::string(playlist_text::kDeletePlaying));
      QVERIFY(f.requests.empty());
      f.box.answer = MessageAnswer::Ok;
      f.pane.DeleteSelection();
      QCOMPARE(Names(f.pane.List()), (std::vector<std::string>{"b", "c"}));
      QCOMPARE(f.requests.size(), size_t(1));
      QVERIFY(f.requests[0].EndRequested);
    }
    {  // the playing item with another reserved next: Yes goes on with the next piece
      Filled f;
      f.Playing(0, 2);
      f.Select({0});
      f.box.answer = MessageAnswer::Yes;
      f.pane.DeleteSelection();
      QCOMPARE(f.box.texts.back(), std::string(playlist_text::kDeletePlayingGoNext));
      QCOMPARE(f.requests.size(), size_t(1));
      QVERIFY(f.requests[0].NextRequested && !f.requests[0].EndRequested);
    }
    {  // the reserved next: OK reserves the end
      Filled f;
      f.Playing(0, 1);
      f.Select({1});
      f.box.answer = MessageAnswer::Ok;
      f.pane.DeleteSelection();
      QCOMPARE(f.box.texts.back(), std::string(playlist_text::kDeleteNext));
      QVERIFY(!f.requests.empty() && f.requests[0].EndReserved);
    }
    {  // while the next item is prepared nothing is deleted
      Filled f;
      f.Playing(0, 1);
      f.state.PreparingNext = true;
      f.Select({2});
      f.pane.DeleteSelection();
      QCOMPARE(f.pane.List().Items.size(), size_t(3));
      QCOMPARE(f.box.texts.back(), std::string(playlist_text::kPreparingNext));
    }
  }

  void clearAsksAndResetsTheHeader() {
    Filled f;
    f.pane.List().Title = "Mix";
    f.pane.Refresh();
    QLabel* title = f.pane.findChild<QLabel*>(QStringLiteral("PlayListTitle"));
    QLabel* base = f.pane.findChild<QLabel*>(QStringLiteral("PlayListBaseFolder"));
    QCOMPARE(title->text(), QStringLiteral("Mix"));
    QCOMPARE(base->text(), QStringLiteral("/music/"));
    f.box.answer = MessageAnswer::Cancel;
    f.pane.Clear();
    QCOMPARE(f.pane.List().Items.size(), size_t(3));
    QCOMPARE(f.box.texts.back(), std::string(playlist_text::kClearAsk));
    f.box.answer = MessageAnswer::Ok;
    f.pane.Clear();
    QVERIFY(f.pane.List().Items.empty());
    QCOMPARE(f.pane.Model().rowCount(), 0);
    QCOMPARE(title->text(), QString::fromUtf8(playlist_text::kTitleUnset.data()));
    QCOMPARE(base->text(), QString::fromUtf8(playlist_text::kBaseFolderUnset.data()));

    // During ListPlay the end is asked for, and the list is emptied once it has ended.
    Filled g;
    g.Playing(1, -1);
    g.box.answer = MessageAnswer::Ok;
    g.pane.SetListPlayRequestHandler([&g](const ListPlayState& s) {
      if (s.EndRequested) QTimer::singleShot(30, [&g] { g.state.Running = false; });
    });
    g.pane.Clear();
    QCOMPARE(g.box.texts.back(), std::string(playlist_text::kClearDuringListPlay));
    QVERIFY(g.pane.List().Items.empty());
  }

  void dropsFromInsideOnly() {
    Filled f;
    f.box.answer = MessageAnswer::Ignore;
    // File-list rows dropped on row 1 land there (a group lands reversed, as adding does).
    QMimeData rows;
    InternalDrag::Instance().Begin(rows, DragSource::FileList, Sources("/music/more/", {"x", "y"}), {});
    QVERIFY(f.pane.CanDrop(&rows));
    QVERIFY(f.pane.Drop(&rows, 1));
    QCOMPARE(Names(f.pane.List()), (std::vector<std::string>{"a", "y", "x", "b", "c"}));
    QCOMPARE(f.pane.Model().rowCount(), 5);
    // Dropped below the last row: appended.
    QMimeData more;
    const quint64 token = InternalDrag::Instance().Begin(more, DragSource::FileList, Sources("/music/", {"z"}), {});
    QVERIFY(f.pane.Drop(&more, -1));
    QCOMPARE(Names(f.pane.List()).back(), std::string("z"));
    // An old drag's data is refused once a newer one began or it ended.
    QVERIFY(!f.pane.CanDrop(&rows));
    InternalDrag::Instance().End(token);
    QVERIFY(!f.pane.Drop(&more, 0));

    // Play-list rows dropped on another row move there.
    QMimeData own;
    InternalDrag::Instance().Begin(own, DragSource::PlayList, {}, {0, 1});
    QVERIFY(f.pane.Drop(&own, 4));
    QCOMPARE(Names(f.pane.List()), (std::vector<std::string>{"x", "b", "a", "y", "c", "z"}));
    QCOMPARE(f.pane.Selection().Selected, (std::vector<int>{2, 3}));

    // A file list from another program, or our type with a forged token or process.
    QMimeData uris;
    uris.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/a.mid"))});
    QVERIFY(!f.pane.CanDrop(&uris) && !f.pane.Drop(&uris, 0));
    QMimeData forged;
    InternalDrag::Instance().Begin(forged, DragSource::FileList, Sources("/music/", {"q"}), {});
    auto payload = DecodeDragPayload(forged.data(QString::fromLatin1(kRowsMimeType)));
    QVERIFY(payload.has_value());
    QVERIFY(f.pane.CanDrop(&forged));
    DragPayload wrongToken = *payload;
    ++wrongToken.token;
    forged.setData(QString::fromLatin1(kRowsMimeType), EncodeDragPayload(wrongToken));
    QVERIFY(!f.pane.CanDrop(&forged));
    DragPayload otherProcess = *payload;
    ++otherProcess.processId;
    forged.setData(QString::fromLatin1(kRowsMimeType), EncodeDragPayload(otherProcess));
    QVERIFY(!f.pane.Drop(&forged, 0));
    forged.setData(QString::fromLatin1(kRowsMimeType), QByteArray("garbage"));
    QVERIFY(!f.pane.CanDrop(&forged));
    QCOMPARE(f.pane.List().Items.size(), size_t(6));
  }

  void addingAsksWhenNoPlayerTakesTheFile() {
    RecordingMessageBox box;
    PlayListPane pane(box);
    QSignalSpy shown(&pane, &PlayListPane::showRequested);
    pane.SetSlotFinder([](const std::string&) { return 0; });
    box.answer = MessageAnswer::Abort;  // skip this one
    QCOMPARE(pane.Add(Sources("/m/", {"a"}), -1), 0);
    QCOMPARE(shown.count(), 0);
    QVERIFY(QString::fromStdString(box.texts.back()).startsWith(QStringLiteral("a.MID")));
    box.answer = MessageAnswer::Ignore;  // add it all the same
    QCOMPARE(pane.Add(Sources("/m/", {"a", "b"}), -1), 2);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(pane.Selection().Focused, 0);
  }

  void saveThenLoadThroughTheDialogs() {
    QTemporaryDir dir;
    const std::string folder = Bytes(dir.path());
    Filled f;
    f.pane.List().Title = "Evening";

    PlayListSaveDialog save("", "", false);
    QVERIFY(!save.SaveEnabled());  // no file named yet
    save.SetNamedPath(folder + "missing/list.MPL");
    QVERIFY(!save.SaveEnabled());  // its folder does not exist
    save.SetNamedPath(folder + "list.MPL");
    QVERIFY(save.SaveEnabled());
    QCOMPARE(save.Target(), SaveTarget::Named);
    QCOMPARE(f.pane.Save(save.Path(), SaveAsksBeforeOverwrite(save.Target())), SaveResult::Saved);
    QCOMPARE(f.pane.List().FileName, folder + "list.MPL");
    // Named again: the overwrite question, and No keeps the file.
    f.box.answer = MessageAnswer::No;
    QCOMPARE(f.pane.Save(save.Path(), true), SaveResult::Declined);

    // The list's own file is preselected next time and written without a question.
    PlayListSaveDialog again(f.pane.List().FileName, "", false);
    QCOMPARE(again.Target(), SaveTarget::LastLoaded);
    QVERIFY(again.SaveEnabled());
    QVERIFY(!SaveAsksBeforeOverwrite(again.Target()));

    RecordingMessageBox box;
    PlayListPane other(box);
    PlayListLoadDialog load("", true);
    QVERIFY(!load.LoadEnabled());
    load.SetNamedPath(folder + "list.MPL");
    QVERIFY(load.LoadEnabled());
    QVERIFY(!load.SaveFirst());  // nothing to save in an empty list
    load.SetMethod(PlayListLoadMethod::Replace);
    QSignalSpy shown(&other, &PlayListPane::showRequested);
    QCOMPARE(other.Load(load.Path(), load.Method() == PlayListLoadMethod::Replace), LoadResult::Loaded);
    QCOMPARE(Names(other.List()), (std::vector<std::string>{"a", "b", "c"}));
    QCOMPARE(other.List().Title, std::string("Evening"));
    QCOMPARE(other.List().BaseFolder, std::string("/music/"));
    QCOMPARE(shown.count(), 1);

    // Replacing with a file that is no play list leaves the list as it was.
    QFile bad(dir.filePath(QStringLiteral("bad.MPL")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a play list");
    bad.close();
    QCOMPARE(other.Load(folder + "bad.MPL", true), LoadResult::NotPlayList);
    QCOMPARE(other.List().Items.size(), size_t(3));
    // Appending doubles it.
    QCOMPARE(other.Load(folder + "list.MPL", false), LoadResult::Loaded);
    QCOMPARE(other.List().Items.size(), size_t(6));
    // Refused during ListPlay.
    other.SetListPlayStateProvider([] { return ListPlayState{true}; });
    QCOMPARE(other.Load(folder + "list.MPL", true), LoadResult::Refused);
    QCOMPARE(box.texts.back(), std::string(playlist_text::kListPlayRunning));
  }

  void dialogPlansAndLabels() {
    const SaveDialogPlan both = PlanSaveDialog("/a/last.MPL", "/a/focused.MPL", false);
    QVERIFY(both.lastLoaded && both.focused && !both.chooserAtOnce);
    QCOMPARE(both.preselected, SaveTarget::LastLoaded);
    const SaveDialogPlan loading = PlanSaveDialog("", "/a/focused.MPL", true);
    QVERIFY(!loading.focused && loading.chooserAtOnce);  // the file about to be loaded is no target
    QCOMPARE(PlanSaveDialog("", "/a/f.MPL", false).preselected, SaveTarget::Focused);
    QVERIFY(PlanLoadDialog("").chooserAtOnce);
    QVERIFY(!SaveFirstEnabled(false, PlayListLoadMethod::Detail));
    QVERIFY(SaveFirstEnabled(false, PlayListLoadMethod::Append));

    QCOMPARE(ShortPathLabel(""), std::string("[該当するファイルがありません]"));
    const std::string longPath = "/" + std::string(30, 'x') + "/" + std::string(10, 'y') + "/曲リスト一覧表です.MPL";
    const std::string label = ShortPathLabel(longPath);
    QCOMPARE(QString::fromStdString(label).size(), 50);
    QVERIFY(label.rfind("...", 0) == 0);
    QVERIFY(QString::fromStdString(label).endsWith(QStringLiteral("曲リスト一覧表です.MPL")));
    QCOMPARE(ShortPathLabel("/short.MPL"), std::string("/short.MPL"));
  }

  void fileListSelectionReachesThePlayList() {
    WindowFixture f;
    MainWindow& w = f.Open();
    PlayListPane& pane = w.PlayListPaneWidget();
    f.messages.answer = MessageAnswer::Ignore;  // no player of the test settings takes the files
    FileListView& view = w.FileListWidget();
    for (const char* name : {"Extra", "SONG1", "DAWN"}) {
      const int row = f.RowOf(name);
      QVERIFY2(row >= 0, name);
      view.selectionModel()->select(w.FileList().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QVERIFY(!w.Actions().clearPlayList->isEnabled());
    w.Actions().addToPlayList->trigger();
    QCOMPARE(pane.List().Items.size(), size_t(2));  // the folder is passed over
    QVERIFY(pane.isVisible() && w.Actions().viewPlayList->isChecked());
    QVERIFY(w.Actions().clearPlayList->isEnabled() && w.Actions().savePlayList->isEnabled());
    QCOMPARE(pane.List().Items[0]->Folder, w.CurrentFolder());

    // The delete command of the play list, then clearing from the Tools menu.
    pane.SetSelection({{0}, 0});
    w.Executor().Execute(CommandList::PlayList, CommandBytes("PlayListからｱｲﾃﾑを削除"), "");
    QCOMPARE(pane.List().Items.size(), size_t(1));
    f.messages.answer = MessageAnswer::Ok;
    w.Actions().clearPlayList->trigger();
    QVERIFY(pane.List().Items.empty());
    QVERIFY(!w.Actions().clearPlayList->isEnabled());

    // Hiding from the pane's own button keeps the menu's check mark in step.
    pane.findChild<QToolButton*>(QStringLiteral("s_close"))->click();
    QVERIFY(!pane.isVisible() && !w.Actions().viewPlayList->isChecked());
  }

  void fileListDragOffersRowsAndFilesWithMembersUnpackedOnRequest() {
    WindowFixture f;
    MainWindow& w = f.Open();
    FileListView& view = w.FileListWidget();
    // A loose file and two members, one of them named like a loose file.
    for (auto [name, archive] : {std::pair{"SONG1", ""}, {"NAGAI", "OKIBA.LZH"}, {"SONG2", "OLDSONG.LZH"}}) {
      const int row = f.RowOf(name, archive);
      QVERIFY2(row >= 0, name);
      view.selectionModel()->select(w.FileList().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    quint64 token = 0;
    std::unique_ptr<QMimeData> mime(w.MakeFileListDragData(token));
    QVERIFY(mime);
    QVERIFY(w.PlayListPaneWidget().CanDrop(mime.get()));
    QVERIFY(mime->hasUrls());
    const QList<QUrl> urls = mime->urls();  // the members are unpacked now
    QCOMPARE(urls.size(), 3);
    QCOMPARE(QFileInfo(urls[0].toLocalFile()).fileName(), QStringLiteral("SONG1.MID"));
    QCOMPARE(QFileInfo(urls[2].toLocalFile()).fileName(), QStringLiteral("SONG2.MID"));
    const QString ole = QString::fromStdString(w.Settings().scan.main.TempFolder) + QStringLiteral("OLE/");
    for (const QUrl& url : urls.mid(1)) {
      QVERIFY2(QFileInfo(url.toLocalFile()).isFile(), qPrintable(url.toLocalFile()));
      QVERIFY(url.toLocalFile().startsWith(ole));
    }
    QVERIFY(urls[1].toLocalFile().section(QLatin1Char('/'), 0, -2) != urls[2].toLocalFile().section(QLatin1Char('/'), 0, -2));
    InternalDrag::Instance().End(token);
    QVERIFY(!w.PlayListPaneWidget().CanDrop(mime.get()));
    w.close();  // the close removes the unpacked members
    QVERIFY(!QFileInfo::exists(urls[1].toLocalFile()));
  }

  void playListOnTheCommandLineLoadsAndSignals() {
    WindowFixture f;
    MainWindow& w = f.Open();
    // A list file next to the samples.
    const std::string path = Bytes(f.folder) + "evening.MPL";
    {
      RecordingMessageBox box;
      PlayListPane maker(box);
      maker.SetSlotFinder([](const std::string&) { return 1; });
      maker.Add(Sources(Bytes(f.folder), {"one", "two"}), -1);
      QCOMPARE(maker.Save(path, false), SaveResult::Saved);
    }
    QSignalSpy opened(&w, &MainWindow::playListOpenedFromCommandLine);
    QVERIFY(!w.PlayListPaneWidget().isVisible());
    // The list offers ListPlay with its start dialog, which the test declines.
    bool startOffered = false;
    WhenModal([&](QWidget& dialog) {
      startOffered = true;
      static_cast<QDialog&>(dialog).reject();
    });
    // Options and files of other kinds are passed over.
    w.HandleArguments({QStringLiteral("-x"), QDir(f.folder).filePath(QStringLiteral("nothing.MPL")), QString::fromStdString(path)});
    QCOMPARE(opened.count(), 1);
    QVERIFY(WaitUntil([&] { return startOffered; }));
    QVERIFY(!w.ListPlay().Running());
    QVERIFY(w.PlayListPaneWidget().isVisible());
    QVERIFY(w.Actions().viewPlayList->isChecked());
    QCOMPARE(Names(w.PlayListPaneWidget().List()), (std::vector<std::string>{"one", "two"}));
    QVERIFY(w.Actions().clearPlayList->isEnabled());
    // A folder handed over loads nothing.
    w.HandleArguments({f.folder});
    QCOMPARE(opened.count(), 1);
  }
};

}  // namespace

QObject* NewPlayListPaneTest() { return new PlayListPaneTest; }

}  // namespace kadrel::test

#include "play_list_pane_test.moc"
