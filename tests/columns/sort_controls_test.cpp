#include <gtest/gtest.h>

#include "sorting/sort_controls.h"

namespace kadrel {
namespace {

using namespace sort_window;

TEST(SortByColumnClick, SortedColumnReversesAndAnotherColumnKeepsTheDirection) {
  const VisibleColumns visible{1, 2, 5, 8, 3};
  TSortState state{8, kAscending, true};
  ASSERT_TRUE(SortByColumnClick(state, visible, 3));
  EXPECT_EQ(state.Key, 8);
  EXPECT_EQ(state.Direction, kDescending);
  EXPECT_TRUE(state.Sorted);

  ASSERT_TRUE(SortByColumnClick(state, visible, 4));
  EXPECT_EQ(state.Key, 3);
  EXPECT_EQ(state.Direction, kDescending);
  EXPECT_FALSE(state.Sorted);
  // Before the list was sorted by it, a second click does not reverse.
  ASSERT_TRUE(SortByColumnClick(state, visible, 4));
  EXPECT_EQ(state.Direction, kDescending);

  // A list sorted without a chosen direction (ascending) turns descending.
  state = TSortState{2, kNoDirection, true};
  ASSERT_TRUE(SortByColumnClick(state, visible, 1));
  EXPECT_EQ(state.Direction, kDescending);

  EXPECT_FALSE(SortByColumnClick(state, visible, 5));
  EXPECT_FALSE(SortByColumnClick(state, VisibleColumns{1, 99}, 1));
  EXPECT_EQ(state.Key, 2);
}

TEST(ShowSortMark, ArrowOnTheKeyColumnWhenVisible) {
  const VisibleColumns visible{1, 8, 7};
  TSortState state{7, kDescending, false};
  EXPECT_EQ(ShowSortMark(state, visible), (TSortMark{2, true}));
  EXPECT_TRUE(state.Sorted);
  state = TSortState{7, kNoDirection};
  EXPECT_EQ(ShowSortMark(state, visible), (TSortMark{2, false}));
  state = TSortState{9, kAscending};  // hidden column: sorted, but no arrow
  EXPECT_EQ(ShowSortMark(state, visible), TSortMark{});
  EXPECT_TRUE(state.Sorted);
}

TEST(SortWindow, ConfirmingWithoutADirectionStoresMinusOne) {
  TSortState state{8, kDescending, true};
  TSortWindowModel window(state);
  EXPECT_EQ(window.KeyIndex(), 7);
  EXPECT_EQ(window.DirectionIndex(), -1);
  window.SelectKey(6);  // "07. 作成日時"
  window.Confirm(state);
  EXPECT_EQ(state.Key, 7);
  EXPECT_EQ(state.Direction, kNoDirection);
  EXPECT_FALSE(state.IsDescending());
}

TEST(SortWindow, KeysMoveFocusWrapAndConfirm) {
  TSortWindowModel window(TSortState{1, kDescending});
  EXPECT_EQ(window.OnKey(Key::Up), Action::None);
  EXPECT_EQ(window.KeyIndex(), 11);  // first -> last
  EXPECT_EQ(window.OnKey(Key::Down), Action::None);
  EXPECT_EQ(window.KeyIndex(), 0);   // last -> first
  // Enter selects the current direction and moves there.
  EXPECT_EQ(window.OnKey(Key::Enter), Action::None);
  EXPECT_EQ(window.FocusedList(), Focus::DirectionList);
  EXPECT_EQ(window.DirectionIndex(), 1);
  EXPECT_EQ(window.OnKey(Key::Down), Action::None);
  EXPECT_EQ(window.DirectionIndex(), 0);
  // Escape in the direction list clears it and goes back; in the key list it cancels.
  EXPECT_EQ(window.OnKey(Key::Escape), Action::None);
  EXPECT_EQ(window.DirectionIndex(), -1);
  EXPECT_EQ(window.FocusedList(), Focus::KeyList);
  EXPECT_EQ(window.OnKey(Key::Escape), Action::Cancel);
  window.FocusList(Focus::DirectionList);
  EXPECT_EQ(window.OnKey(Key::Enter), Action::Confirm);

  // Opened with no key or a damaged one, nothing is selected; confirming leaves no key.
  TSortState none{0, 0};
  TSortWindowModel empty(TSortState{13, 7});
  EXPECT_EQ(empty.KeyIndex(), -1);
  empty.OnKey(Key::Enter);
  EXPECT_EQ(empty.DirectionIndex(), -1);
  empty.Confirm(none);
  EXPECT_EQ(none.Key, 0);
}

struct SortArgument {
  const char* text;
  bool valid;
  int32_t key;
  int32_t direction;
};

class ParseSort : public testing::TestWithParam<SortArgument> {};

TEST_P(ParseSort, Parses) {
  const auto& p = GetParam();
  auto state = ParseSortArgument(p.text);
  ASSERT_EQ(state.has_value(), p.valid) << p.text;
  if (!state) return;
  EXPECT_EQ(state->Key, p.key);
  EXPECT_EQ(state->Direction, p.direction);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ParseSort,
                         testing::Values(SortArgument{"Title:desc", true, 8, 1}, SortArgument{"DATE:ASC", true, 7, 0},
                                         SortArgument{"12", true, 12, 0}, SortArgument{"13", false, 0, 0},
                                         SortArgument{"title:down", false, 0, 0}, SortArgument{":desc", false, 0, 0},
                                         SortArgument{"Place", false, 0, 0}, SortArgument{"8x", false, 0, 0}));

}  // namespace
}  // namespace kadrel
