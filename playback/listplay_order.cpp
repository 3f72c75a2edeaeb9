#include "playback/listplay_order.h"

namespace kadrel {
namespace {

int Count(const TPLInfo& list) { return static_cast<int>(list.Items.size()); }

int Draw(std::mt19937& random, int count) {
  return std::uniform_int_distribution<int>(0, count - 1)(random);
}

int DrawOtherThan(std::mt19937& random, int count, int current) {
  for (;;) {
    const int pick = Draw(random, count);
    if (pick != current || count == 1) return pick;
  }
}

void ClearItem(TPLMusicInfo& item) {
  item.Order = kNoOrder;
  item.Played = kUnplayed;
  item.Mark = kNoMark;
}

int FindOrder(const TPLInfo& list, int order) {
  for (int i = 0; i < Count(list); ++i)
    if (list.Items[i]->Order == order) return i;
  return -1;
}

}  // namespace

ListPlayPositions DerivePositions(const TPLInfo& list) {
  return {FindOrder(list, 0), FindOrder(list, 1), FindOrder(list, -1)};
}

bool AnyUnplayed(const TPLInfo& list) {
  for (const auto& item : list.Items)
    if (item->Played == kUnplayed) return true;
  return false;
}

bool HasPreviousItem(const TPLInfo& list) { return FindOrder(list, -1) >= 0; }

int ChooseNextIndex(TPLInfo& list, int mode, int current, std::mt19937& random) {
  const int n = Count(list);
  if (n == 0) return -1;
  if (mode >= kModeEndWhenAllPlayed && !AnyUnplayed(list)) return -1;

  if (mode == kModeNormal) return (current + 1 + n) % n;
  if (mode == kModeNormal + kModeEndWhenAllPlayed) {
    for (int step = 1; step < n; ++step) {
      const int i = (current + step + n) % n;
      if (list.Items[i]->Played == kUnplayed) return i;
    }
    return current >= 0 && current < n ? current : -1;
  }
  if (mode == kModeRandom) return DrawOtherThan(random, n, current);

  // Shuffle (and random with the end option): only items not yet played are drawn.
  std::vector<int> unplayed;
  for (int i = 0; i < n; ++i)
    if (list.Items[i]->Played == kUnplayed) unplayed.push_back(i);
  if (unplayed.empty()) {
    for (auto& item : list.Items) {
      if (item->Order == 0 || item->Order == 1) continue;
      item->Played = kUnplayed;
      item->Mark = kNoMark;
    }
    return DrawOtherThan(random, n, current);
  }
  if (unplayed.size() == 1) return unplayed.front();
  return unplayed[Draw(random, static_cast<int>(unplayed.size()))];
}

AdvanceResult AdvancePositions(TPLInfo& list, AdvanceKind kind, int playNowIndex) {
  AdvanceResult result;
  if (kind == AdvanceKind::Back && !HasPreviousItem(list)) {
    // Nothing to go back to (deleted meanwhile): the current item plays again.
    result.Positions = DerivePositions(list);
    return result;
  }
  if (kind == AdvanceKind::PlayNow && (playNowIndex < 0 || playNowIndex >= Count(list))) {
    result.PlayNowOutOfRange = true;
    kind = AdvanceKind::Natural;
  }

  switch (kind) {
    case AdvanceKind::Back:
      for (auto& item : list.Items)
        if (item->Order != kNoOrder) ++item->Order;
      for (auto& item : list.Items) {
        if (item->Order == 1) {
          item->Played = kUnplayed;
          item->Mark = kNoMark;
        } else if (item->Order == 2) {
          ClearItem(*item);
        }
      }
      break;
    case AdvanceKind::PlayNow:
      for (auto& item : list.Items) {
        if (item->Order == 0) {
          item->Order = -1;
          item->Played = kPlayed;
        } else if (item->Order == 1) {
          ClearItem(*item);
        } else if (item->Order != kNoOrder) {
          --item->Order;
        }
      }
      list.Items[playNowIndex]->Order = 0;
      list.Items[playNowIndex]->Played = kPlayed;
      break;
    case AdvanceKind::Natural:
      for (auto& item : list.Items) {
        if (item->Order == kNoOrder) continue;
        --item->Order;
        if (item->Order == 0 || item->Order == -1) item->Played = kPlayed;
      }
      break;
  }
  result.Positions = DerivePositions(list);
  return result;
}

void UpdateMarks(TPLInfo& list, const ListPlayPositions& positions, int mode) {
  const int n = Count(list);
  auto valid = [n](int i) { return i >= 0 && i < n; };
  for (int i = 0; i < n; ++i) {
    auto& item = *list.Items[i];
    if (item.Order == 1 && i != positions.Next) {
      item.Order = kNoOrder;
      item.Mark = kNoMark;
    }
  }
  if (valid(positions.Previous)) {
    auto& item = *list.Items[positions.Previous];
    item.Played = kPlayed;
    item.Mark = (mode >= kModeEndWhenAllPlayed || mode % 10 == kModeShuffle) ? 2 : kNoMark;
  }
  if (valid(positions.Next)) {
    auto& item = *list.Items[positions.Next];
    item.Mark = 1;
    item.Order = 1;
    item.Played = kUnplayed;
  }
  if (valid(positions.Current)) {
    auto& item = *list.Items[positions.Current];
    item.Mark = 0;
    item.Order = 0;
    item.Played = kPlayed;
  }
}

bool SetNextItem(TPLInfo& list, int index) {
  if (index < 0 || index >= Count(list) || list.Items[index]->Order == 0) return false;
  for (auto& item : list.Items) {
    if (item->Order == 1) {
      item->Order = kNoOrder;
      item->Mark = kNoMark;
    }
  }
  auto& item = *list.Items[index];
  item.Order = 1;
  item.Played = kUnplayed;
  item.Mark = 1;
  return true;
}

}  // namespace kadrel
