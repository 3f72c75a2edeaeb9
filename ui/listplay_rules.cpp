#include "ui/listplay_rules.h"

#include "base/encoding.h"

namespace kadrel {
namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Items of the history and items without a place forget that they were played.
void ForgetPlayed(TPLInfo& list) {
  for (auto& item : list.Items) {
    if (item->Order < 0 || item->Order == kNoOrder) {
      item->Played = kUnplayed;
      item->Mark = kNoMark;
    }
  }
}

// Only the current item counts as played.
void OnlyCurrentPlayed(TPLInfo& list) {
  for (auto& item : list.Items) {
    if (item->Order == 0) {
      item->Played = kPlayed;
      continue;
    }
    item->Played = kUnplayed;
    if (item->Mark == 2) item->Mark = kNoMark;
  }
}

int BaseOf(int mode) { return mode - mode % 10; }

}  // namespace

PlayControls ComputePlayControls(const ListPlayFlags& lp, const NormalPlayFlags& normal) {
  PlayControls c;
  c.listPlayRunning = lp.running;
  if (lp.running) {
    c.startEnabled = false;
    c.endReservationEnabled = !lp.endReserved;
    c.nextEnabled = true;
    c.previousEnabled = true;
    c.replayEnabled = true;
    c.pauseEnabled = true;
    c.playerExitEnabled = true;
    c.nextReady = !lp.preparingNext;
  } else {
    c.startEnabled = true;
    c.replayEnabled = normal.replay;
    c.pauseEnabled = normal.pause;
    c.playerExitEnabled = normal.playExit;
  }
  return c;
}

ModeChecks ChecksForMode(int mode) {
  return {mode % 10 == kModeRandom, mode % 10 == kModeShuffle, mode >= kModeEndWhenAllPlayed};
}

ModeChange ApplyModeItem(TPLInfo& list, int mode, ModeItem item, bool on, bool endReserved, bool running) {
  ModeChange change{mode, false, false};
  enum class Marks { Keep, Forget, OnlyCurrent } marks = Marks::Keep;
  switch (item) {
    case ModeItem::Random:
    case ModeItem::Shuffle: {
      const int kind = item == ModeItem::Random ? kModeRandom : kModeShuffle;
      change.mode = BaseOf(mode) + (on ? kind : 0);
      if (!on && change.mode < kModeEndWhenAllPlayed) marks = Marks::Forget;
      if (on && kind == kModeShuffle && change.mode >= kModeEndWhenAllPlayed) marks = Marks::OnlyCurrent;
      break;
    }
    case ModeItem::EndWhenAllPlayed:
      if (on) {
        if (endReserved) {
          change.refused = true;
          return change;
        }
        if (mode < kModeEndWhenAllPlayed) change.mode = mode + kModeEndWhenAllPlayed;
        if (change.mode % 10 != kModeShuffle) marks = Marks::OnlyCurrent;
      } else {
        if (mode >= kModeEndWhenAllPlayed) change.mode = mode - kModeEndWhenAllPlayed;
        if (change.mode % 10 != kModeShuffle) marks = Marks::Forget;
      }
      break;
  }
  if (!running || marks == Marks::Keep) return change;
  if (marks == Marks::Forget) ForgetPlayed(list);
  else OnlyCurrentPlayed(list);
  change.marksChanged = true;
  return change;
}

std::string ListPlayItemName(const TPLMusicInfo& item) { return DisplayText(item.Music.FullName()); }

NowNextNames NamesForStatus(const TPLInfo& list, const ListPlayPositions& positions, bool endReserved) {
  NowNextNames names;
  const int n = static_cast<int>(list.Items.size());
  if (positions.Current >= 0 && positions.Current < n) names.current = ListPlayItemName(*list.Items[positions.Current]);
  if (!endReserved && positions.Next >= 0 && positions.Next < n) names.next = ListPlayItemName(*list.Items[positions.Next]);
  return names;
}

StatusTickTexts ListPlayStatusTick(const std::string& panel1, const NowNextNames& names) {
  if (names.current.empty()) return {};  // nothing plays yet: the panel stays as it is
  StatusTickTexts out;
  if (StartsWith(panel1, "Now") && !names.next.empty())
    out.panel1 = "Next: " + names.next;
  else
    out.panel1 = "Now : " + names.current;
  out.tip = "Kadrel / Now : " + names.current;
  return out;
}

StatusTickTexts NormalPlayStatusTick(const std::string& playFileName) {
  if (playFileName.empty()) return {std::string(" "), std::string("Kadrel / ready..")};
  return {"Now : " + playFileName, "Kadrel / Now : " + playFileName};
}

PauseCaptions PauseCaptionsFor(bool paused) {
  if (paused) return {"演奏再開(&P)", "演奏を再開", "演奏再開"};
  return {"一時停止(&P)", "一時停止", "一時停止"};
}

StartDialogChoice InitialStartChoice(const StartDialogSetup& setup) {
  StartDialogChoice c;
  c.fromSelected = setup.focusedIndex >= 0;
  c.baseMode = setup.mode % 10;
  if (c.baseMode < 0 || c.baseMode > kModeShuffle) c.baseMode = kModeNormal;
  c.endWhenAllPlayed = setup.mode >= kModeEndWhenAllPlayed;
  c.lyricsOff = setup.lzhMeltStyle >= 11;
  return c;
}

StartDialogResult ResultOfStartChoice(const StartDialogSetup& setup, const StartDialogChoice& choice) {
  StartDialogResult r;
  r.startIndex = choice.fromSelected && setup.focusedIndex >= 0 ? setup.focusedIndex : 0;
  r.mode = choice.baseMode + (choice.endWhenAllPlayed ? kModeEndWhenAllPlayed : 0);
  r.lzhMeltStyle = setup.lzhMeltStyle % 10 + (choice.lyricsOff ? 10 : 0);
  return r;
}

}  // namespace kadrel
