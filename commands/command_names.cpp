#include "commands/command_names.h"

#include <array>
#include <unordered_map>

#include "base/encoding.h"

namespace kadrel {
namespace {

struct FixedName {
  std::string_view name;
  CommandId id;
  int argument;
};

constexpr std::array<FixedName, 53> kFixed{{
    {"最適な方法で開く", CommandId::OpenBest, 0},
    {"Folder以外の時ポップアップ", CommandId::PopupUnlessFolder, 0},
    {"ポップアップを開く", CommandId::OpenPopup, 0},
    {"Windowsの関連付けで開く", CommandId::OpenByAssociation, 0},
    {"テキストビュアーで開く", CommandId::OpenWithTextViewer, 0},
    {"Player1で再生", CommandId::PlayWithSlot, 1},
    {"Player2で再生", CommandId::PlayWithSlot, 2},
    {"Player3で再生", CommandId::PlayWithSlot, 3},
    {"Player4で再生", CommandId::PlayWithSlot, 4},
    {"Player5で再生", CommandId::PlayWithSlot, 5},
    {"Player6で再生", CommandId::PlayWithSlot, 6},
    {"アイテムを選択(処理後移動)", CommandId::SelectAndMoveDown, 0},
    {"アイテム全選択/選択解除", CommandId::SelectAllOrNone, 0},
    {"前回いたFolderに戻る", CommandId::PreviousFolder, 0},
    {"ドライブの選択をする", CommandId::ChooseDrive, 0},
    {"関連ﾌｧｲﾙ詳細情報を開く", CommandId::OpenDetails, 0},
    {"PlayListに選択ｱｲﾃﾑを追加", CommandId::AddToPlayList, 0},
    {"PlayListを空にする", CommandId::ClearPlayList, 0},
    {"ListPlay : 開始", CommandId::ListPlayStart, 0},
    {"ListPlay : 終了予約", CommandId::ListPlayReserveEnd, 0},
    {"ListPlay : 次の曲へ", CommandId::ListPlayNext, 0},
    {"ListPlay : 前の曲へ", CommandId::ListPlayPrevious, 0},
    {"ListPlay : 次の曲に指定", CommandId::ListPlayMakeNext, 0},
    {"PlayListからｱｲﾃﾑを削除", CommandId::DeleteFromPlayList, 0},
    {"一時停止をする", CommandId::Pause, 0},
    {"演奏を終了する", CommandId::StopPlaying, 0},
    {"リプレイをする", CommandId::Replay, 0},
    {"基本設定を開く", CommandId::OpenMainSettings, 0},
    {"表示設定を開く", CommandId::OpenViewSettings, 0},
    {"キーカスタマイズを開く", CommandId::OpenKeyCustomization, 0},
    {"すべてのフォルダのON/OFF", CommandId::ToggleAllFolders, 0},
    {"ジャンプフォルダのON/OFF", CommandId::ToggleJumpFolders, 0},
    {"プレイリストのON/OFF", CommandId::TogglePlayList, 0},
    {"ステータスバーのON/OFF", CommandId::ToggleStatusBar, 0},
    {"ショートカットバーのON/OFF", CommandId::ToggleToolBars, 0},
    {"ファイル情報を完全に再取得", CommandId::ReReadAll, 0},
    {"ファイル情報を更新", CommandId::UpdateInformation, 0},
    {"インデックスの削除", CommandId::DeleteIndex, 0},
    {"インデックスのリフレッシュ", CommandId::RefreshIndexes, 0},
    {"PlayListの読み込み", CommandId::LoadPlayList, 0},
    {"プレイリストの読み込み", CommandId::LoadPlayList, 0},
    {"PlayListの保存", CommandId::SavePlayList, 0},
    {"プレイリストの保存", CommandId::SavePlayList, 0},
    {"ソートをする", CommandId::Sort, 0},
    {"フォルダジャンプをする", CommandId::JumpDialog, 0},
    {"インデックスの編集をする", CommandId::EditIndex, 0},
    {"Indexのタイトル編集をする", CommandId::EditIndex, 0},
    {"ファイル名の変更をする", CommandId::Rename, 0},
    {"1つ上のFolderに移動", CommandId::UpOneFolder, 0},
    {"現在のdriveのRootFolderへ", CommandId::DriveRoot, 0},
    {"Ｋadrelの終了(確認あり)", CommandId::QuitAsking, 0},
    {"Ｋadrelの終了(確認なし)", CommandId::QuitWithoutAsking, 0},
    {"ヘルプの起動", CommandId::Help, 0},
}};

constexpr std::pair<std::string_view, std::string_view> kOldNames[] = {
    {"ListPlay : PlayListから削除", "PlayListからｱｲﾃﾑを削除"},
    {"曲(ListPlay含)を直ちに終了", "演奏を終了する"},
    {"現在の曲を最初から", "リプレイをする"},
    {"詳細設定を開く", "表示設定を開く"},
    {"インデックスの再構築", "ファイル情報を完全に再取得"},
};

constexpr std::string_view kDriveSuffix = "ドライブへ移動";
constexpr std::string_view kJumpPrefix = "ジャンプフォルダ";

struct Tables {
  std::unordered_map<std::string, Command> fixed;  // CP932 name -> command
  std::unordered_map<std::string, std::string> oldNames;
  std::string driveSuffix;
  std::string jumpPrefix;
};

const Tables& CompiledTables() {
  static const Tables tables = [] {
    Tables t;
    for (const FixedName& f : kFixed) t.fixed.emplace(Cp932(f.name), Command{f.id, f.argument});
    for (const auto& [from, to] : kOldNames) t.oldNames.emplace(Cp932(from), Cp932(to));
    t.driveSuffix = Cp932(kDriveSuffix);
    t.jumpPrefix = Cp932(kJumpPrefix);
    return t;
  }();
  return tables;
}

std::optional<int> Letter(std::string_view name, size_t at) {
  if (name.size() <= at) return std::nullopt;
  const char c = name[at];
  if (c < 'A' || c > 'Z') return std::nullopt;
  return c - 'A';
}

}  // namespace

std::optional<Command> ParseCommandName(std::string_view cp932) {
  const Tables& t = CompiledTables();
  if (auto it = t.fixed.find(std::string(cp932)); it != t.fixed.end()) return it->second;
  // Drive family: the letter, then the 14 bytes of "ドライブへ移動".
  if (cp932.size() >= 1 + t.driveSuffix.size() && cp932.substr(1, t.driveSuffix.size()) == t.driveSuffix) {
    if (auto letter = Letter(cp932, 0)) return Command{CommandId::GoToDrive, *letter};
    return std::nullopt;
  }
  // Jump family: "ジャンプフォルダ" (16 bytes), one byte, then the letter at byte 18.
  if (cp932.substr(0, t.jumpPrefix.size()) == t.jumpPrefix) {
    if (auto letter = Letter(cp932, t.jumpPrefix.size() + 1)) return Command{CommandId::OpenJumpFolder, *letter};
  }
  return std::nullopt;
}

bool NeedsItem(CommandId id) {
  switch (id) {
    case CommandId::OpenBest:
    case CommandId::PopupUnlessFolder:
    case CommandId::OpenPopup:
    case CommandId::OpenByAssociation:
    case CommandId::OpenWithTextViewer:
    case CommandId::PlayWithSlot:
    case CommandId::OpenDetails:
    case CommandId::AddToPlayList:
    case CommandId::Sort:
    case CommandId::Rename:
    case CommandId::UpOneFolder:
    case CommandId::DriveRoot: return true;
    default: return false;
  }
}

bool FileListOnly(CommandId id) {
  switch (id) {
    case CommandId::GoToDrive:
    case CommandId::ChooseDrive:
    case CommandId::OpenDetails:
    case CommandId::OpenJumpFolder:
    case CommandId::JumpDialog:
    case CommandId::EditIndex: return true;
    default: return false;
  }
}

const std::vector<std::string_view>& FixedCommandNames() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> v;
    for (const FixedName& f : kFixed) v.push_back(f.name);
    return v;
  }();
  return names;
}

std::string DriveCommandName(int letter) { return std::string(1, char('A' + letter)) + std::string(kDriveSuffix); }

std::string JumpCommandName(int letter) {
  return std::string(kJumpPrefix) + "[" + std::string(1, char('A' + letter)) + "]を開く";
}

const std::vector<std::string>& FunctionListNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> v = {"ポップアップを開く", "Folder以外の時ポップアップ", "最適な方法で開く"};
    for (int n = 1; n <= 6; ++n) v.push_back("Player" + std::to_string(n) + "で再生");
    for (const char* name :
         {"リプレイをする", "演奏を終了する", "ListPlay : 開始", "ListPlay : 終了予約", "ListPlay : 次の曲へ",
          "ListPlay : 前の曲へ", "ListPlay : 次の曲に指定", "PlayListからｱｲﾃﾑを削除", "PlayListに選択ｱｲﾃﾑを追加",
          "PlayListを空にする", "PlayListの読み込み", "PlayListの保存", "関連ﾌｧｲﾙ詳細情報を開く",
          "アイテムを選択(処理後移動)", "アイテム全選択/選択解除", "ファイル情報を更新", "ファイル情報を完全に再取得",
          "インデックスの削除", "インデックスのリフレッシュ", "インデックスの編集をする", "ドライブの選択をする",
          "ファイル名の変更をする", "ソートをする", "フォルダジャンプをする", "すべてのフォルダのON/OFF",
          "ジャンプフォルダのON/OFF", "プレイリストのON/OFF", "ステータスバーのON/OFF", "ショートカットバーのON/OFF",
          "ヘルプの起動", "Ｋadrelの終了(確認あり)", "Ｋadrelの終了(確認なし)", "基本設定を開く", "表示設定を開く",
          "キーカスタマイズを開く", "1つ上のFolderに移動", "前回いたFolderに戻る", "現在のdriveのRootFolderへ"})
      v.emplace_back(name);
    for (int letter = 0; letter < 26; ++letter) v.push_back(DriveCommandName(letter));
    for (int letter = 0; letter < 26; ++letter) v.push_back(JumpCommandName(letter));
    return v;
  }();
  return names;
}

std::string CommandBytes(std::string_view utf8) { return Cp932(utf8); }

std::string RenameOldCommand(std::string_view cp932) {
  const Tables& t = CompiledTables();
  if (auto it = t.oldNames.find(std::string(cp932)); it != t.oldNames.end()) return it->second;
  return std::string(cp932);
}

}  // namespace kadrel
