// The next-item rules and the positions and marks the play list carries.

#include <gtest/gtest.h>

#include <set>

#include "listplay_test_util.h"
#include "playback/listplay_order.h"

namespace kadrel {
namespace {

using test::MakeList;

// Plays the list the way the engine does: start, choose, mark, advance.
struct Walk {
  TPLInfo list;
  int mode;
  std::mt19937 random;
  ListPlayPositions pos;

  Walk(int count, int mode, unsigned seed, int start = 0) : list(MakeList(count)), mode(mode), random(seed) {
    pos.Current = start;
    list.Items[start]->Played = kPlayed;
    Choose();
  }
  void Choose() {
    pos.Next = ChooseNextIndex(list, mode, pos.Current, random);
    UpdateMarks(list, pos, mode);
  }
  // False when the list ended (the end option with every item played).
  bool Step(AdvanceKind kind = AdvanceKind::Natural, int playNow = -1) {
    if (mode >= kModeEndWhenAllPlayed && !AnyUnplayed(list)) return false;
    pos = AdvancePositions(list, kind, playNow).Positions;
    Choose();
    return true;
  }
};

TEST(ListPlayOrder, NormalModeWrapsAndEndOptionTakesTheFirstUnplayed) {
  Walk normal(3, kModeNormal, 1, 1);
  EXPECT_EQ(normal.pos.Next, 2);
  normal.Step();
  EXPECT_EQ(normal.pos.Current, 2);
  EXPECT_EQ(normal.pos.Next, 0);

  TPLInfo list = MakeList(5);
  for (auto& item : list.Items) item->Played = kPlayed;
  std::mt19937 random(1);
  EXPECT_EQ(ChooseNextIndex(list, kModeNormal + 10, 3, random), -1);  // nothing unplayed
  list.Items[1]->Played = kUnplayed;
  EXPECT_EQ(ChooseNextIndex(list, kModeNormal + 10, 3, random), 1);  // wraps past the end
  EXPECT_EQ(ChooseNextIndex(list, kModeNormal + 10, 0, random), 1);
}

TEST(ListPlayOrder, RandomNeverRepeatsUnlessTheListHasOneItem) {
  for (unsigned seed = 0; seed < 50; ++seed) {
    TPLInfo list = MakeList(3);
    std::mt19937 random(seed);
    for (int current = 0; current < 3; ++current)
      EXPECT_NE(ChooseNextIndex(list, kModeRandom, current, random), current);
  }
  TPLInfo one = MakeList(1);
  std::mt19937 random(7);
  EXPECT_EQ(ChooseNextIndex(one, kModeRandom, 0, random), 0);
}

TEST(ListPlayOrder, ShuffleByNumberOfUnplayedItems) {
  for (int mode : {kModeShuffle, kModeRandom + 10, kModeShuffle + 10}) {
    std::mt19937 random(3);
    TPLInfo list = MakeList(4);
    for (auto& item : list.Items) item->Played = kPlayed;
    list.Items[2]->Played = kUnplayed;
    EXPECT_EQ(ChooseNextIndex(list, mode, 0, random), 2) << mode;  // u = 1

    list.Items[3]->Played = kUnplayed;
    for (int i = 0; i < 20; ++i) {  // u = 2: only those two
      const int next = ChooseNextIndex(list, mode, 0, random);
      EXPECT_TRUE(next == 2 || next == 3) << mode;
    }
  }
  // u = 0 in plain shuffle: every item but the current and next is unplayed again.
  TPLInfo list = MakeList(4);
  for (auto& item : list.Items) {
    item->Played = kPlayed;
    item->Mark = 2;
  }
  list.Items[1]->Order = 0;
  std::mt19937 random(5);
  const int next = ChooseNextIndex(list, kModeShuffle, 1, random);
  EXPECT_NE(next, 1);
  EXPECT_EQ(list.Items[1]->Played, kPlayed);
  EXPECT_EQ(list.Items[0]->Played, kUnplayed);
  EXPECT_EQ(list.Items[0]->Mark, kNoMark);
}

TEST(ListPlayOrder, ShuffleWithEndOptionPlaysAPermutationAndEnds) {
  for (unsigned seed = 0; seed < 200; ++seed) {
    Walk walk(6, kModeShuffle + 10, seed, 2);
    std::vector<int> played{walk.pos.Current};
    while (walk.Step()) {
      ASSERT_LT(played.size(), 7u) << seed;
      played.push_back(walk.pos.Current);
    }
    EXPECT_EQ(walk.pos.Next, -1);
    ASSERT_EQ(played.size(), 6u) << seed;
    EXPECT_EQ(std::set<int>(played.begin(), played.end()).size(), 6u) << seed;
  }
}

TEST(ListPlayOrder, MarksFollowEachStep) {
  Walk walk(4, kModeShuffle, 11, 0);
  const int first = walk.pos.Current;
  const int second = walk.pos.Next;
  EXPECT_EQ(walk.list.Items[first]->Mark, 0);
  EXPECT_EQ(walk.list.Items[second]->Order, 1);
  EXPECT_EQ(walk.list.Items[second]->Mark, 1);
  EXPECT_EQ(walk.list.Items[second]->Played, kUnplayed);

  walk.Step();
  EXPECT_EQ(walk.pos.Current, second);
  EXPECT_EQ(walk.pos.Previous, first);
  EXPECT_EQ(walk.list.Items[first]->Order, -1);
  EXPECT_EQ(walk.list.Items[first]->Mark, 2);  // shuffle shows played items
  EXPECT_EQ(walk.list.Items[second]->Mark, 0);
  EXPECT_EQ(walk.list.Items[second]->Played, kPlayed);

  Walk normal(4, kModeNormal, 1, 0);
  normal.Step();
  EXPECT_EQ(normal.list.Items[0]->Mark, kNoMark);  // normal mode does not
  EXPECT_EQ(normal.list.Items[0]->Played, kPlayed);
}

TEST(ListPlayOrder, BackReturnsToThePreviousItemOrReplaysWithoutOne) {
  Walk walk(4, kModeNormal, 1, 0);
  walk.Step();
  walk.Step();  // 0 -> 1 -> 2
  ASSERT_TRUE(HasPreviousItem(walk.list));
  walk.Step(AdvanceKind::Back);
  EXPECT_EQ(walk.pos.Current, 1);
  EXPECT_EQ(walk.pos.Previous, 0);
  EXPECT_EQ(walk.pos.Next, 2);
  EXPECT_EQ(walk.list.Items[3]->Order, kNoOrder);  // the old next lost its place
  EXPECT_EQ(walk.list.Items[3]->Mark, kNoMark);

  Walk fresh(3, kModeNormal, 1, 0);
  EXPECT_FALSE(HasPreviousItem(fresh.list));
  fresh.Step(AdvanceKind::Back);
  EXPECT_EQ(fresh.pos.Current, 0);
  EXPECT_EQ(fresh.pos.Next, 1);
}

TEST(ListPlayOrder, PlayNowJumpsOrIsDroppedWhenOutOfRange) {
  Walk walk(5, kModeNormal, 1, 0);  // current 0, next 1
  const AdvanceResult jump = AdvancePositions(walk.list, AdvanceKind::PlayNow, 3);
  EXPECT_FALSE(jump.PlayNowOutOfRange);
  EXPECT_EQ(jump.Positions.Current, 3);
  EXPECT_EQ(jump.Positions.Previous, 0);
  EXPECT_EQ(walk.list.Items[1]->Order, kNoOrder);

  Walk other(5, kModeNormal, 1, 0);
  const AdvanceResult dropped = AdvancePositions(other.list, AdvanceKind::PlayNow, 9);
  EXPECT_TRUE(dropped.PlayNowOutOfRange);
  EXPECT_EQ(dropped.Positions.Current, 1);  // moved on normally
}

TEST(ListPlayOrder, DeletingItemsDuringPlayKeepsPositionsRight) {
  Walk walk(6, kModeNormal, 1, 2);
  walk.Step();  // previous 2, current 3, next 4
  walk.list.Items.erase(walk.list.Items.begin());  // the rows below shift up by one
  ListPlayPositions pos = DerivePositions(walk.list);
  EXPECT_EQ(pos.Previous, 1);
  EXPECT_EQ(pos.Current, 2);
  EXPECT_EQ(pos.Next, 3);

  walk.list.Items.erase(walk.list.Items.begin() + 3);  // the next item itself
  pos = AdvancePositions(walk.list, AdvanceKind::Natural, -1).Positions;
  EXPECT_EQ(pos.Current, -1);  // nothing reserved: the engine chooses again
  EXPECT_EQ(pos.Previous, 2);
}

TEST(ListPlayOrder, SetNextReplacesTheReservedItem) {
  Walk walk(5, kModeNormal, 1, 0);
  EXPECT_FALSE(SetNextItem(walk.list, 0));  // the current one
  EXPECT_FALSE(SetNextItem(walk.list, 7));
  ASSERT_TRUE(SetNextItem(walk.list, 3));
  EXPECT_EQ(walk.list.Items[1]->Order, kNoOrder);
  EXPECT_EQ(walk.list.Items[1]->Mark, kNoMark);
  walk.Step();
  EXPECT_EQ(walk.pos.Current, 3);
}

}  // namespace
}  // namespace kadrel
