// Editing the play list: adding, moving, deleting with ListPlay running, marks and base.

#include <gtest/gtest.h>

#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "playlist/playlist_edit.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_folders.h"
#include "playlist/playlist_io.h"
#include "playlist/playlist_texts.h"
#include "playlist_test_util.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::AddItem;
using test::MusicRecord;
using test::Names;
using test::RecordingMessageBox;
using Strings = std::vector<std::string>;

TEST(PlayListFolders, CommonFolder) {
  struct Case {
    const char* a;
    const char* b;
    const char* common;
  } cases[] = {
      {"/m/a/", "/m/a/", "/m/a/"},   {"/m/a", "/m/a/b/", "/m/a/"}, {"/m/ab/", "/m/ac/", "/m/"},
      {"/m/a/", "/n/a/", "/"},       {"/m/", "", ""},              {"C:/x/", "/x/", ""},
      {"/m/\x95\x5C/", "/m/\x95\x5D/", "/m/"},
  };
  for (const Case& c : cases) EXPECT_EQ(CommonFolder(c.a, c.b), c.common) << c.a << " " << c.b;
  EXPECT_EQ(SlashesFromBackslashes("C:\\a\\\x95\x5C\\b"), "C:/a/\x95\x5C/b");
  EXPECT_EQ(SlashesFromBackslashes("\xE3\x81\x82\\x"), "\xE3\x81\x82/x");  // UTF-8 is not Shift-JIS
}

PlayListSource Source(const std::string& folder, TMusicFileInfo music) { return {folder, std::move(music)}; }

const SlotFinder kAnySlot = [](const std::string&) { return 1; };

TEST(PlayListAdd, SkipsNonMusicAndExpandsPlayListsInPlace) {
  test::TempDir dir;
  TPLInfo inner;
  AddItem(inner, dir.path() + "in/", MusicRecord("X"));
  AddItem(inner, dir.path() + "in/", MusicRecord("Y"));
  inner.Items[0]->Slot = 4;  // not kept when expanded
  dir.Write("LIST.MPL", *EncodePlayList(inner));

  TMusicFileInfo parent = MusicRecord(".."), folder = MusicRecord("SUB"), text = MusicRecord("README");
  parent.ItemKind = kParentEntry, folder.ItemKind = kFolderEntry, text.FileType = -1;
  auto here = [&](TMusicFileInfo m) { return Source(dir.path(), std::move(m)); };

  TPLInfo list;
  PlayListSelection selection;
  RecordingMessageBox box;
  const AddResult result = AddToPlayList(
      list, selection,
      {here(parent), here(MusicRecord("A")), here(folder), here(MusicRecord("LIST", kRowMPL)), here(text),
       here(MusicRecord("B"))},
      -1, {}, kAnySlot, box);
  EXPECT_EQ(result.Added, 4);
  EXPECT_EQ(Names(list), (Strings{"A", "X", "Y", "B"}));
  for (const auto& item : list.Items) EXPECT_EQ(item->Slot, kAutomaticSlot);
  EXPECT_EQ(list.BaseFolder, dir.path());
  EXPECT_EQ(selection.Selected, (std::vector<int>{0}));
  EXPECT_EQ(selection.Focused, 0);
  EXPECT_TRUE(box.shown.empty());

  // During ListPlay a play-list file among the entries refuses the whole adding.
  ListPlayState running;
  running.Running = true;
  EXPECT_EQ(AddToPlayList(list, selection, {here(MusicRecord("LIST", kRowMPL))}, -1, running, kAnySlot, box).Result,
            EditResult::Refused);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, playlist_text::kListPlayRunning);
  EXPECT_EQ(list.Items.size(), 4u);
}

TEST(PlayListAdd, GroupAtAnIndexLandsReversedAndSelectionFollows) {
  TPLInfo list;
  AddItem(list, "/m/a/", MusicRecord("P"));
  AddItem(list, "/m/a/", MusicRecord("Q"));
  list.BaseFolder = "/m/a/";
  PlayListSelection selection{{1}, 1};
  RecordingMessageBox box;
  AddToPlayList(list, selection, {Source("/m/b/", MusicRecord("A")), Source("/m/b/", MusicRecord("B"))}, 1, {},
                kAnySlot, box);
  EXPECT_EQ(Names(list), (Strings{"P", "B", "A", "Q"}));
  EXPECT_EQ(selection.Selected, (std::vector<int>{3}));  // still on Q
  EXPECT_EQ(list.BaseFolder, "/m/");
}

TEST(PlayListAdd, NoPlayerForTheFormatAsksWhatToDo) {
  const SlotFinder onlyMidi = [](const std::string& path) { return path.ends_with(".MID") ? 2 : 0; };
  struct Case {
    MessageAnswer answer;
    Strings names;
    EditResult result;
  } cases[] = {
      {MessageAnswer::Ignore, {"A", "M", "B"}, EditResult::Done},
      {MessageAnswer::Abort, {"A", "B"}, EditResult::Done},
      {MessageAnswer::Cancel, {"A"}, EditResult::Cancelled},
  };
  for (const Case& c : cases) {
    TPLInfo list;
    PlayListSelection selection;
    RecordingMessageBox box({c.answer});
    const AddResult result = AddToPlayList(
        list, selection,
        {Source("/m/", MusicRecord("A")), Source("/m/", MusicRecord("M", kRowMOD)), Source("/m/", MusicRecord("B"))},
        -1, {}, onlyMidi, box);
    EXPECT_EQ(Names(list), c.names);
    EXPECT_EQ(result.Result, c.result);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].buttons, MessageButtons::CancelAbortIgnore);
    EXPECT_EQ(box.shown[0].text, "M.MOD" + std::string(playlist_text::kNoPlayerSuffix));
    for (const auto& item : list.Items) EXPECT_EQ(item->Slot, kAutomaticSlot);
  }
}

TPLInfo Letters(const std::string& letters, const std::vector<int32_t>& orders = {}) {
  TPLInfo list;
  for (size_t i = 0; i < letters.size(); ++i) {
    AddItem(list, "/m/" + std::string(1, letters[i]) + "/", MusicRecord(std::string(1, letters[i])),
            i < orders.size() ? orders[i] : kNoOrder);
  }
  list.BaseFolder = "/m/";
  return list;
}

std::string Joined(const TPLInfo& list) {
  std::string s;
  for (const auto& name : Names(list)) s += name;
  return s;
}

struct MoveCase {
  const char* name;
  std::vector<int> selected;
  int how;  // -1 up, +1 down, else the target + 100
  const char* after;
  std::vector<int> selectedAfter;
};

class PlayListMove : public ::testing::TestWithParam<MoveCase> {};

TEST_P(PlayListMove, KeepsOrderAndSelectsTheMovedItems) {
  const MoveCase& c = GetParam();
  TPLInfo list = Letters("ABCDE");
  PlayListSelection selection{c.selected, c.selected.front()};
  ListPlayState state;
  RecordingMessageBox box;
  if (c.how == -1) MoveSelectedUp(list, selection, state, box);
  else if (c.how == 1) MoveSelectedDown(list, selection, state, box);
  else MoveSelected(list, selection, c.how - 100, state, box);
  EXPECT_EQ(Joined(list), c.after);
  EXPECT_EQ(selection.Selected, c.selectedAfter);
  EXPECT_EQ(selection.Focused, c.selectedAfter.front());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayListMove,
    ::testing::Values(MoveCase{"UpOne", {2}, -1, "ACBDE", {1}}, MoveCase{"FirstUpWrapsToEnd", {0, 1}, -1, "CDEAB", {3, 4}},
                      MoveCase{"DownOne", {1, 3}, 1, "ACEBD", {3, 4}},
                      MoveCase{"LastDownWrapsToTop", {4}, 1, "EABCD", {0}},
                      MoveCase{"BeforeLastToEnd", {3}, 1, "ABCED", {4}},
                      MoveCase{"ToTarget", {0, 4}, 102, "BAECD", {1, 2}},
                      MoveCase{"ToCount", {1}, 105, "ACDEB", {4}},
                      MoveCase{"OntoSelected", {1, 2}, 102, "ABCDE", {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// Deleting while ListPlay plays: the four questions and what they ask of the engine.
struct DeleteCase {
  const char* name;
  std::vector<int32_t> orders;  // per item of "ABCDE"
  bool nextReserved;
  std::vector<int> selected;
  MessageAnswer answer;
  std::string_view question;  // empty: none asked
  const char* after;
  bool end, reserveEnd, next;
  std::vector<int32_t> ordersAfter;
};

class PlayListDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(PlayListDelete, AsksAndRaisesTheRequest) {
  const DeleteCase& c = GetParam();
  TPLInfo list = Letters("ABCDE", c.orders);
  PlayListSelection selection{c.selected, c.selected.front()};
  ListPlayState state;
  state.Running = true;
  state.NextReserved = c.nextReserved;
  RecordingMessageBox box({c.answer});
  DeleteSelected(list, selection, state, box);

  if (c.question.empty()) {
    EXPECT_TRUE(box.shown.empty());
  } else {
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, c.question);
    EXPECT_EQ(box.shown[0].kind, MessageKind::Confirmation);
  }
  EXPECT_EQ(Joined(list), c.after);
  EXPECT_EQ(state.EndRequested, c.end);
  EXPECT_EQ(state.EndReserved, c.reserveEnd);
  EXPECT_EQ(state.NextRequested, c.next);
  std::vector<int32_t> orders;
  for (const auto& item : list.Items) orders.push_back(item->Order);
  EXPECT_EQ(orders, c.ordersAfter);
}

constexpr int32_t N = kNoOrder;
INSTANTIATE_TEST_SUITE_P(
    Cases, PlayListDelete,
    ::testing::Values(
        DeleteCase{"PlayingWithNextAnsweredYesPlaysNext", {-1, 0, 1, N, N}, true, {1}, MessageAnswer::Yes,
                   playlist_text::kDeletePlayingGoNext, "ACDE", false, false, true, {0, 1, N, N}},
        DeleteCase{"PlayingWithNextAnsweredNoEnds", {-1, 0, 1, N, N}, true, {1}, MessageAnswer::No,
                   playlist_text::kDeletePlayingGoNext, "ACDE", true, false, false, {0, 1, N, N}},
        DeleteCase{"PlayingWithNextCancelled", {-1, 0, 1, N, N}, true, {1}, MessageAnswer::Cancel,
                   playlist_text::kDeletePlayingGoNext, "ABCDE", false, false, false, {-1, 0, 1, N, N}},
        DeleteCase{"PlayingOnly", {N, 0, N, N, N}, false, {1, 3}, MessageAnswer::Ok, playlist_text::kDeletePlaying,
                   "ACE", true, false, false, {N, N, N}},
        DeleteCase{"NextOnlyReservesEndAndNamesANewNext", {-2, -1, 0, 1, N}, true, {3}, MessageAnswer::Ok,
                   playlist_text::kDeleteNext, "ABCE", false, true, false, {-2, -1, 0, 1}},
        DeleteCase{"NextOnlyWrapsToTheFirst", {N, N, N, 0, 1}, true, {4}, MessageAnswer::Ok,
                   playlist_text::kDeleteNext, "ABCD", false, true, false, {1, N, N, 0}},
        DeleteCase{"PlayingAndNext", {N, 0, 1, N, N}, true, {1, 2}, MessageAnswer::Ok,
                   playlist_text::kDeletePlayingAndNext, "ADE", true, false, false, {N, N, N}},
        DeleteCase{"HistoryClosesTheGap", {-3, -2, -1, 0, N}, false, {1}, MessageAnswer::Ok, std::string_view(),
                   "ACDE", false, false, false, {-2, -1, 0, N}},
        DeleteCase{"NotReservedNextAsksNothing", {N, N, 1, N, N}, false, {2}, MessageAnswer::Ok, std::string_view(),
                   "ABDE", false, false, false, {N, N, N, N}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayListGuards, PreparingTheNextItemRefusesChanges) {
  TPLInfo list = Letters("ABC");
  PlayListSelection selection{{1}, 1};
  ListPlayState state;
  state.Running = state.PreparingNext = true;
  RecordingMessageBox box;
  EXPECT_EQ(MoveSelectedUp(list, selection, state, box), EditResult::Refused);
  EXPECT_EQ(DeleteSelected(list, selection, state, box), EditResult::Refused);
  EXPECT_EQ(Joined(list), "ABC");
  EXPECT_EQ(box.shown.at(1).text, playlist_text::kPreparingNext);
  EXPECT_EQ(LoadPlayListFile(list, "/nonexistent.mpl", state, box), LoadResult::Refused);
  EXPECT_EQ(box.shown.back().text, playlist_text::kListPlayRunning);
}

TEST(PlayListMarks, PlayedLeavesThePlayingAndNextAlone) {
  TPLInfo list = Letters("ABCD", {0, 1, N, -1});
  RecordingMessageBox box;
  SetPlayedOfSelected(list, {{0, 1, 2, 3}, 0}, true, {}, box);
  std::vector<int32_t> played;
  for (const auto& item : list.Items) played.push_back(item->Played * 10 + item->Mark);
  EXPECT_EQ(played, (std::vector<int32_t>{1000 + N, 1000 + N, 1012, 1012}));
}

TEST(PlayListClear, AsksAndDuringListPlayWaitsForTheEnd) {
  TPLInfo list = Letters("AB");
  PlayListSelection selection{{0}, 0};
  ListPlayState state;
  RecordingMessageBox cancel({MessageAnswer::Cancel});
  EXPECT_EQ(ClearPlayList(list, selection, state, cancel, {}), EditResult::Cancelled);
  EXPECT_EQ(cancel.shown.at(0).text, playlist_text::kClearAsk);
  EXPECT_EQ(list.Items.size(), 2u);

  state.Running = true;
  bool waited = false;
  RecordingMessageBox ok({MessageAnswer::Ok});
  EXPECT_EQ(ClearPlayList(list, selection, state, ok, [&] { return waited = state.EndRequested; }), EditResult::Done);
  EXPECT_EQ(ok.shown.at(0).text, playlist_text::kClearDuringListPlay);
  EXPECT_TRUE(waited);
  EXPECT_TRUE(list.Items.empty());
}

TEST(PlayListBase, RebasingMovesEveryItemUnderTheNewFolder) {
  test::TempDir dir;
  const std::string target = dir.MakeFolder("new");
  TPLInfo list;
  RecordingMessageBox box;
  EXPECT_FALSE(CanEditBaseFolder(list, box));
  EXPECT_EQ(box.shown.at(0).text, playlist_text::kNoBaseFolder);

  list.BaseFolder = "C:/Music/";  // a list made on Windows
  AddItem(list, "C:/Music/", MusicRecord("A"));
  AddItem(list, "C:/Music/sub/", MusicRecord("B"));
  EXPECT_TRUE(CanEditBaseFolder(list, box));
  EXPECT_FALSE(ChangeBaseFolder(list, dir.path() + "missing"));
  ASSERT_TRUE(ChangeBaseFolder(list, target));
  EXPECT_EQ(list.BaseFolder, WithTrailingSlash(target));
  EXPECT_EQ(list.Items[1]->Folder, WithTrailingSlash(target) + "sub/");
}

TEST(PlayListLoad, AppendingKeepsTheBaseACommonFolderOfAllItems) {
  PlayListContent file;
  file.BaseFolder = "/b/";
  TPLMusicInfo item;  // marks never come from a file
  item.Folder = "/b/x/";
  item.Order = 0;
  item.Music = MusicRecord("X");
  file.Items.push_back(item);

  TPLInfo empty;
  AppendPlayListContent(empty, file, "one.mpl");
  EXPECT_EQ(empty.BaseFolder, "/b/");
  EXPECT_EQ(empty.Items[0]->Order, kNoOrder);

  TPLInfo list = Letters("A");  // under /m/
  AppendPlayListContent(list, file, "two.mpl");
  EXPECT_EQ(list.BaseFolder, "/");
  EXPECT_EQ(Names(list), (Strings{"A", "X"}));
}

}  // namespace
}  // namespace kadrel
