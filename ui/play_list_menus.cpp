#include "ui/play_list_menus.h"

namespace kadrel {
namespace {

PlayListMenuItem Item(std::string caption, PlayListMenuCommand command = PlayListMenuCommand::None, int argument = 0,
                      bool enabled = true) {
  PlayListMenuItem item;
  item.caption = std::move(caption);
  item.command = command;
  item.argument = argument;
  item.enabled = enabled;
  return item;
}

}  // namespace

std::string EscapeMenuText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

std::vector<PlayListMenuItem> PlayListEntryMenu(const PlayListEntryMenuInput& in) {
  using C = PlayListMenuCommand;
  const bool one = in.focused && in.selected <= 1;
  const bool some = in.selected > 0;
  std::vector<PlayListMenuItem> menu;
  menu.push_back(Item("この曲を演奏(&P)", C::PlayNow, 0, in.focused && in.selected <= 1));
  menu.push_back(Item("次の曲に設定(&N)", C::MakeNext, 0, one && in.play.listPlayRunning));

  PlayListMenuItem player = Item("使用するPlayer(&Y)", C::None, 0, some);
  player.separatorBefore = true;
  player.items.push_back(Item("自動(&0)", C::Slot, 0));
  for (size_t n = 0; n < in.playerNames.size(); ++n) {
    const std::string& name = in.playerNames[n];
    PlayListMenuItem slot = Item("(&" + std::to_string(n + 1) + ") : " + EscapeMenuText(name), C::Slot,
                          static_cast<int>(n) + 1);
    slot.visible = !name.empty();
    player.items.push_back(std::move(slot));
  }
  menu.push_back(std::move(player));
  menu.push_back(Item("演奏済みにする(&E)", C::SetPlayed, 0, some));
  menu.push_back(Item("未演奏にする(&U)", C::SetUnplayed, 0, some));

  PlayListMenuItem up = Item("上へ移動(&K)", C::MoveUp, 0, some);
  up.separatorBefore = true;
  menu.push_back(std::move(up));
  menu.push_back(Item("下へ移動(&J)", C::MoveDown, 0, some));
  menu.push_back(Item("PlayListから削除(&R)", C::Delete, 0, some));

  PlayListMenuItem title = Item("タイトルの設定(&T)", C::EditTitle, 0, in.entries > 0);
  title.separatorBefore = true;
  menu.push_back(std::move(title));
  menu.push_back(Item("基準フォルダの設定(&F)", C::EditBaseFolder, 0, in.entries > 0));
  menu.push_back(Item("PlayListの保存(&S)", C::Save, 0, in.entries > 0));

  PlayListMenuItem close = Item("閉じる(&C)");
  close.separatorBefore = true;
  menu.push_back(std::move(close));
  return menu;
}

std::vector<PlayListMenuItem> PlayListFileMenu(int entries) {
  using C = PlayListMenuCommand;
  std::vector<PlayListMenuItem> menu;
  menu.push_back(Item("PlayListを読み込む(&L)", C::LoadReplacing));
  menu.push_back(Item("PlayListの最後尾に追加(&A)", C::LoadAppending));
  menu.push_back(Item("現在の内容をこのファイルに保存(&S)", C::SaveToFile, 0, entries > 0));
  menu.push_back(Item("関連ファイル詳細(&D)", C::OpenDetail));
  PlayListMenuItem close = Item("閉じる(&C)");
  close.separatorBefore = true;
  menu.push_back(std::move(close));
  return menu;
}

}  // namespace kadrel
