// Continuous play in the window: the control and mode rules, the status texts, the
// start dialog, and the window driving the engine over fake players.

// The engine's fakes first: they use "slots" as a name, which Qt's headers take.
#include "../listplay/listplay_fakes.h"
#include "../listplay/listplay_test_util.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "screenshots.h"
#include "test_objects.h"
#include "test_support.h"
#include "ui/listplay_start_dialog.h"

namespace kadrel::test {
namespace {

// The engine's parts for one run, over players and a preparation the test keeps.
class ForwardPlayers final : public IListPlayPlayers {
 public:
  explicit ForwardPlayers(IListPlayPlayers& inner) : inner_(inner) {}
  int ChooseSlot(const TPLMusicInfo& item, int lastSlot) override { return inner_.ChooseSlot(item, lastSlot); }
  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override {
    return inner_.Launch(launch, std::move(onEnded));
  }

 private:
  IListPlayPlayers& inner_;
};

class ForwardPreparation final : public IListPlayPreparation {
 public:
  explicit ForwardPreparation(IListPlayPreparation& inner) : inner_(inner) {}
  int Prepare(const TPLMusicInfo& item, int slot, ListPlayPrepared& out, const std::function<bool()>& stop) override {
    return inner_.Prepare(item, slot, out, stop);
  }
  ListPlayStaging Stage(const ListPlayPrepared& prepared) override { return inner_.Stage(prepared); }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }

 private:
  IListPlayPreparation& inner_;
};

struct FakeParts {
  FakePlayers players;
  FakePreparation preparation;
  int lastMeltStyle = -1;
  ListPlayController::PartsFactory Factory() {
    return [this](int meltStyle) {
      lastMeltStyle = meltStyle;
      ListPlayParts parts;
      parts.players = std::make_unique<ForwardPlayers>(players);
      parts.preparation = std::make_unique<ForwardPreparation>(preparation);
      parts.clock = std::make_unique<FastClock>();
      return parts;
    };
  }
};

void Fill(TPLInfo& list, int count) {
  list = MakeList(count);
  for (int i = 0; i < count; ++i) {
    TMusicFileInfo& music = list.Items[static_cast<size_t>(i)]->Music;
    music.FileName = std::string(1, static_cast<char>('A' + i));
    music.ItemKind = kLooseFile;
  }
}

bool Wait(const std::function<bool()>& done) { return WaitUntil(done, 10000); }

// Accepts the start dialog as soon as it is shown, after `choose` set its controls.
void AcceptStartDialog(std::function<void(ListPlayStartDialog&)> choose = {}) {
  QTimer::singleShot(0, [choose] {
    auto* dialog = qobject_cast<ListPlayStartDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (choose) choose(*dialog);
    dialog->OkButton().click();
  });
}

}  // namespace

class ListPlayWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void controlsFollowListPlayAndNormalPlay() {
    const NormalPlayFlags normal{true, false, true};
    PlayControls idle = ComputePlayControls({}, normal);
    QVERIFY(idle.startEnabled && !idle.listPlayRunning);
    QVERIFY(idle.replayEnabled && !idle.pauseEnabled && idle.playerExitEnabled);
    QVERIFY(!idle.nextEnabled && !idle.previousEnabled && !idle.endReservationEnabled);

    PlayControls running = ComputePlayControls({true, false, false, false}, {});
    QVERIFY(!running.startEnabled && running.listPlayRunning);
    QVERIFY(running.nextEnabled && running.previousEnabled && running.endReservationEnabled);
    QVERIFY(running.replayEnabled && running.pauseEnabled && running.playerExitEnabled && running.nextReady);

    // A reserved end disables only the reservation; a preparation makes the next item not ready.
    PlayControls reserved = ComputePlayControls({true, true, true, false}, {});
    QVERIFY(!reserved.endReservationEnabled && reserved.nextEnabled && !reserved.nextReady);
  }

  // The mode menu: the mode's arithmetic and what happens to the played marks.
  void modeMenuChangesModeAndMarks() {
    TPLInfo list = MakeList(4);
    // Item 1 plays, item 2 is next, items 0 and 3 were played before.
    const int orders[] = {-1, 0, 1, -2};
    for (int i = 0; i < 4; ++i) {
      auto& item = *list.Items[static_cast<size_t>(i)];
      item.Order = orders[i];
      item.Played = orders[i] == 1 ? kUnplayed : kPlayed;
      item.Mark = orders[i] == 0 ? 0 : orders[i] == 1 ? 1 : 2;
    }
    ModeChange c = ApplyModeItem(list, 12, ModeItem::Random, true, false, true);
    QCOMPARE(c.mode, 11);
    QVERIFY(!c.marksChanged);
    c = ApplyModeItem(list, 11, ModeItem::Random, false, false, true);
    QCOMPARE(c.mode, 10);
    QVERIFY(!c.marksChanged);  // still a mode that ends: the played items are remembered

    // The end option on: only the current item counts as played, the history is unmarked.
    c = ApplyModeItem(list, 0, ModeItem::EndWhenAllPlayed, true, false, true);
    QCOMPARE(c.mode, 10);
    QCOMPARE(list.Items[0]->Played, kUnplayed);
    QCOMPARE(list.Items[0]->Mark, kNoMark);
    QCOMPARE(list.Items[1]->Played, kPlayed);
    QCOMPARE(list.Items[1]->Mark, 0);
    QCOMPARE(list.Items[2]->Mark, 1);

    // Refused while the end is reserved; nothing changes.
    c = ApplyModeItem(list, 1, ModeItem::EndWhenAllPlayed, true, true, true);
    QVERIFY(c.refused);
    QCOMPARE(c.mode, 1);

    // Shuffle off below 10 forgets the history but leaves the current and next items.
    list.Items[0]->Played = kPlayed;
    list.Items[0]->Mark = 2;
    c = ApplyModeItem(list, 2, ModeItem::Shuffle, false, false, true);
    QCOMPARE(c.mode, 0);
    QCOMPARE(list.Items[0]->Played, kUnplayed);
    QCOMPARE(list.Items[0]->Mark, kNoMark);
    QCOMPARE(list.Items[1]->Played, kPlayed);
    QCOMPARE(list.Items[2]->Mark, 1);

    // Idle, only the mode changes.
    list.Items[0]->Mark = 2;
    c = ApplyModeItem(list, 10, ModeItem::EndWhenAllPlayed, false, false, false);
    QCOMPARE(c.mode, 0);
    QCOMPARE(list.Items[0]->Mark, 2);
    const ModeChecks checks = ChecksForMode(12);
    QVERIFY(!checks.random && checks.shuffle && checks.endWhenAllPlayed);
  }

  void statusAlternatesNowAndNext() {
    TPLInfo list = MakeList(3);
    NowNextNames names = NamesForStatus(list, {0, 2, -1}, false);
    QCOMPARE(names.current, std::string("SONG0.MID"));
    QCOMPARE(names.next, std::string("SONG2.MID"));
    QVERIFY(NamesForStatus(list, {0, 2, -1}, true).next.empty());  // the end is reserved
    QVERIFY(NamesForStatus(list, {5, 7, -1}, false).current.empty());  // positions past a shortened list

    StatusTickTexts t = ListPlayStatusTick("ready..", names);
    QCOMPARE(*t.panel1, std::string("Now : SONG0.MID"));
    QCOMPARE(*t.tip, std::string("Kadrel / Now : SONG0.MID"));
    t = ListPlayStatusTick(*t.panel1, names);
    QCOMPARE(*t.panel1, std::string("Next: SONG2.MID"));
    QCOMPARE(*t.tip, std::string("Kadrel / Now : SONG0.MID"));
    t = ListPlayStatusTick(*t.panel1, names);
    QCOMPARE(*t.panel1, std::string("Now : SONG0.MID"));
    // Without a next piece the panel stays on the current one; without a current piece
    // nothing is written.
    QCOMPARE(*ListPlayStatusTick("Now : SONG0.MID", {"SONG0.MID", ""}).panel1, std::string("Now : SONG0.MID"));
    QVERIFY(!ListPlayStatusTick("Now : X", {"", "SONG2.MID"}).panel1);
    QCOMPARE(*NormalPlayStatusTick("").panel1, std::string(" "));
    QCOMPARE(*NormalPlayStatusTick("A.MID").tip, std::string("Kadrel / Now : A.MID"));
  }

  void startDialogGivesTheChosenStart() {
    // A focused item is preselected; the lyrics option shows a value of 11 or more.
    ListPlayStartDialog withFocus({12, 3, 12});
    QVERIFY(withFocus.FromSelected().isChecked() && withFocus.FromSelected().isEnabled());
    QVERIFY(withFocus.ModeButton(2).isChecked() && withFocus.EndWhenAllPlayed().isChecked());
    QVERIFY(withFocus.LyricsOff().isChecked());
    StartDialogResult r = withFocus.Result();
    QCOMPARE(r.startIndex, 3);
    QCOMPARE(r.mode, 12);
    QCOMPARE(r.lzhMeltStyle, 12);
    withFocus.ModeButton(1).setChecked(true);
    withFocus.EndWhenAllPlayed().setChecked(false);
    withFocus.LyricsOff().setChecked(false);
    withFocus.FromTop().setChecked(true);
    r = withFocus.Result();
    QCOMPARE(r.startIndex, 0);
    QCOMPARE(r.mode, 1);
    QCOMPARE(r.lzhMeltStyle, 2);

    // Without a focused item the choice is disabled and the top is taken.
    ListPlayStartDialog noFocus({1, -1, 1});
    QVERIFY(!noFocus.FromSelected().isEnabled() && noFocus.FromTop().isChecked());
    noFocus.LyricsOff().setChecked(true);
    QCOMPARE(noFocus.Result().lzhMeltStyle, 11);
    QCOMPARE(noFocus.Result().mode, 1);
    QCOMPARE(noFocus.windowTitle(), QStringLiteral("ListPlayの初期設定"));
    for (QWidget* w : noFocus.findChildren<QWidget*>())
      if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w))
        QVERIFY2(!w->accessibleName().isEmpty() && !w->objectName().isEmpty(), w->metaObject()->className());
    SaveShot(withFocus, QStringLiteral("listplay-start-dialog"));
  }

  // The checks before a start, the direct start, and the pane's view of the state.
  void controllerChecksAndDirectStart() {
    TPLInfo list;
    RecordingMessageBox box;
    FakeParts fakes;
    fakes.players.behaviour = PlayerBehaviour::RunsUntilClosed;
    int changes = 0;
    std::string panel0;
    ListPlayController::Hooks hooks;
    hooks.slotRecognised = [](int slot) { return slot == 2; };
    hooks.statusPanel0 = [&](const std::string& text) { panel0 = text; };
    hooks.lzhMeltStyle = [] { return 11; };
    int dialogs = 0;
    ListPlayController* self = nullptr;
    hooks.startDialog = [&](const StartDialogSetup&, StartDialogResult&) {
      ++dialogs;
      self->StartWithDialog(-1);  // the start command again while the dialog is up
      return false;
    };
    ListPlayController lp(list, [&] { ++changes; }, box, nullptr, fakes.Factory(), hooks);
    self = &lp;
    lp.SetDirectStartDelay(20);

    lp.StartWithDialog(-1);
    QCOMPARE(box.texts.back(), std::string("プレイリストには何も登録されていません"));
    Fill(list, 3);
    list.Items[1]->Slot = 4;  // a slot whose player cannot take part
    lp.StartWithDialog(-1);
    QCOMPARE(box.texts.back(), std::string("Player No.4は、ListPlayに対応していません.\n使用するPlayerを変更してからListPlayを行ってください."));
    QCOMPARE(dialogs, 0);
    list.Items[1]->Slot = 2;
    lp.StartWithDialog(-1);
    QCOMPARE(dialogs, 1);  // one dialog; cancelled, nothing starts
    QVERIFY(!lp.Running() && !lp.StartPending());

    lp.PlayNow(2);  // idle: a direct start at the item, after a moment
    QCOMPARE(panel0, std::string("ListPlay開始待機中.."));
    QVERIFY(lp.StartPending() && !lp.Running());
    QVERIFY(Wait([&] { return fakes.players.LaunchCount() == 1; }));
    QVERIFY(Wait([&] { return lp.Positions().Current == 2; }));
    QCOMPARE(fakes.lastMeltStyle, 11);
    QVERIFY(changes > 0);
    ListPlayState state = lp.CurrentState();
    QVERIFY(state.Running && state.CurrentIndex == 2 && state.NextIndex == 0 && state.NextReserved);

    // The pane reserves the end: the next name disappears and the reservation is off.
    state.EndReserved = true;
    lp.ApplyEditRequests(state);
    QVERIFY(lp.EndReserved() && !lp.CurrentState().NextReserved);
    QVERIFY(lp.StatusNames().next.empty());
    QVERIFY(!ComputePlayControls(lp.Flags(), {}).endReservationEnabled);

    // Pause and resume reach the player; a new piece starts unpaused.
    lp.TogglePause();
    QVERIFY(lp.Flags().paused);
    QVERIFY(Wait([&] { return fakes.players.pauses.load() == 1; }));
    box.answer = MessageAnswer::Ok;  // cancel the reservation for the next piece
    lp.Next();
    QVERIFY(Wait([&] { return fakes.players.LaunchCount() == 2; }));
    QVERIFY(!lp.Flags().paused);
    QCOMPARE(fakes.players.maxAlive.load(), 1);

    ListPlayState end;
    end.EndRequested = true;
    lp.ApplyEditRequests(end);
    QVERIFY(Wait([&] { return !lp.Running(); }));
    QVERIFY(Wait([&] { return list.Items[2]->Mark == kNoMark && list.Items[0]->Order == kNoOrder; }));
    QCOMPARE(fakes.players.alive.load(), 0);
  }

  // Start, next and stop from the window's menus, the status panel and the marks.
  void windowDrivesListPlayFromItsMenus() {
    WindowFixture f;
    MainWindow& w = f.Open();
    FakeParts fakes;
    fakes.players.behaviour = PlayerBehaviour::RunsUntilClosed;
    w.ListPlay().SetPartsFactory(fakes.Factory());
    Fill(w.PlayListData(), 3);
    const char* titles[] = {"Morning Train", "Harbour Lights", "Snow Country"};
    for (int i = 0; i < 3; ++i) w.PlayListData().Items[static_cast<size_t>(i)]->Music.Title = titles[i];
    w.PlayListChanged();
    const MainActions& a = w.Actions();
    a.viewPlayList->trigger();  // the pane shows the marks
    QVERIFY(a.listPlayStart->isEnabled() && !a.controls[3]->isEnabled());

    AcceptStartDialog([](ListPlayStartDialog& d) { d.ModeButton(0).setChecked(true); });
    a.listPlayStart->trigger();
    QVERIFY(Wait([&] { return fakes.players.LaunchCount() == 1; }));
    QVERIFY(Wait([&] { return w.PlayListData().Items[0]->Mark == 0; }));
    QVERIFY(!a.listPlayStart->isEnabled() && a.listPlayButton->isChecked());
    QVERIFY(a.controls[3]->isEnabled() && a.nextButton->isEnabled() && a.endReserveButton->isEnabled());
    QCOMPARE(a.listPlayButton->toolTip(), QStringLiteral("ListPlay中です"));
    QCOMPARE(w.PlayListData().Items[1]->Mark, 1);

    w.StatusTick();
    QCOMPARE(w.Status().Panel(1), QStringLiteral("Now : A.MID"));
    w.StatusTick();
    QCOMPARE(w.Status().Panel(1), QStringLiteral("Next: B.MID"));
    SaveShot(w, QStringLiteral("listplay-main-window"));

    // The pause item's caption follows, also when the command comes from the keys.
    a.pause->trigger();
    QVERIFY(Wait([&] { return a.pause->text() == QStringLiteral("演奏再開(&P)"); }));
    a.pause->trigger();
    QVERIFY(Wait([&] { return a.pause->text() == QStringLiteral("一時停止(&P)"); }));

    a.controls[3]->trigger();  // next
    QVERIFY(Wait([&] { return fakes.players.LaunchCount() == 2; }));
    QVERIFY(Wait([&] { return w.ListPlay().Positions().Current == 1; }));
    QCOMPARE(fakes.players.maxAlive.load(), 1);

    // The mode menu: random on while running; the checks follow the mode.
    a.modeRandom->trigger();
    QVERIFY(Wait([&] { return w.ListPlay().Mode() == 1; }));
    QVERIFY(a.modeRandom->isChecked() && !a.modeShuffle->isChecked());

    a.controls[5]->trigger();  // "演奏の終了"
    QVERIFY(Wait([&] { return !w.ListPlay().Running() && a.listPlayStart->isEnabled(); }));
    QVERIFY(!a.controls[3]->isEnabled() && !a.listPlayButton->isChecked());
    QVERIFY(Wait([&] { return w.PlayListData().Items[1]->Mark == 99; }));
    QCOMPARE(fakes.players.alive.load(), 0);
    w.StatusTick();
    QCOMPARE(w.Status().Panel(1), QStringLiteral(" "));
    // The keyboard's refusals outside ListPlay.
    w.Executor().ExecuteUtf8(CommandList::FileList, "ListPlay : 次の曲へ");
    QCOMPARE(f.messages.texts.back(), std::string("ListPlayを現在行っていません."));
  }

  // The window closes at once while a piece plays and the next item is being prepared.
  void windowClosesWhileListPlayRuns() {
    WindowFixture f;
    MainWindow& w = f.Make();
    w.show();
    FakeParts fakes;
    fakes.players.behaviour = PlayerBehaviour::RunsUntilClosed;
    w.ListPlay().SetPartsFactory(fakes.Factory());
    Fill(w.PlayListData(), 2);
    QVERIFY(w.ListPlay().Start(0, 0));
    QVERIFY(Wait([&] { return fakes.players.LaunchCount() == 1; }));
    QElapsedTimer clock;
    clock.start();
    w.close();
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(!w.ListPlay().Running() && !w.ListPlay().Abandoned());
    QCOMPARE(fakes.players.alive.load(), 0);
  }
};

QObject* NewListPlayWindowTest() { return new ListPlayWindowTest; }

}  // namespace kadrel::test

#include "listplay_window_test.moc"
