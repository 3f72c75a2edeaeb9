// The command executor against a recording target: which operation each command
// reaches from which list, and the guards with their messages.

#include <gtest/gtest.h>

#include "commands/command_executor.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::RecordingMessageBox;

class RecordingTarget final : public ICommandTarget {
 public:
  std::optional<FocusedItem> Focused(CommandList list) const override {
    return list == CommandList::JumpList ? std::nullopt : item;
  }
  PlayControls Controls() const override { return controls; }
  void OpenItemAsFolder(CommandList) override { Log("open folder"); }
  void PlayItem(CommandList, int slot) override { Log("play " + std::to_string(slot)); }
  void OpenNonMusic(CommandList, bool viewer) override { Log(viewer ? "viewer" : "association"); }
  void ShowPopup(CommandList, Popup popup) override { Log("popup " + std::to_string(int(popup))); }
  void RunPlayAction(PlayAction action) override { Log("play action " + std::to_string(int(action))); }
  void SelectAndMoveDown(CommandList) override { Log("select"); }
  void SelectAllOrNone(CommandList) override { Log("select all"); }
  void AddSelectionToPlayList(CommandList) override { Log("add"); }
  void ClearPlayList() override { Log("clear"); }
  void DeletePlayListSelection() override { Log("delete"); }
  void OpenDialog(Dialog dialog, CommandList) override { Log("dialog " + std::to_string(int(dialog))); }
  void OpenRename(CommandList, const std::string& suffix) override { Log("rename" + suffix); }
  void TogglePane(Pane pane) override { Log("pane " + std::to_string(int(pane))); }
  void RunIndexWork(IndexWork work) override { Log("index " + std::to_string(int(work))); }
  bool ListFilling() const override { return filling; }
  bool HasFileItems() const override { return fileItems; }
  void OpenParentFolder() override { Log("parent"); }
  void OpenPreviousFolder() override { Log("previous"); }
  void OpenCurrentDriveRoot() override { Log("root"); }
  void OpenFolder(const std::string& folder) override { Log("open " + folder); }
  std::string JumpFolder(int letter) const override { return jump[static_cast<size_t>(letter)]; }
  std::string DriveFolder(int) const override { return driveFolder; }
  std::string DriveRoot(int letter) const override { return letter == 2 ? driveRoot : std::string(); }
  bool MainWindowActive() const override { return mainActive; }
  void CloseMainWindow() override { Log("close main"); }
  void CloseActiveWindow() override { Log("close active"); }
  void CloseDetailWindow() override { Log("close detail"); }
  void OpenHelp() override { Log("help"); }

  void Log(std::string s) { calls.push_back(std::move(s)); }
  std::vector<std::string> Take() { return std::exchange(calls, {}); }

  std::optional<FocusedItem> item = FocusedItem{};
  PlayControls controls;
  bool filling = false, fileItems = true, mainActive = true;
  std::array<std::string, 26> jump;
  std::string driveFolder, driveRoot;
  std::vector<std::string> calls;
};

struct ExecutorTest : ::testing::Test {
  void Run(CommandList list, std::string_view utf8, std::string_view extra = {}) {
    executor.Execute(list, CommandBytes(utf8), extra);
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const MessageRequest& r : box.shown) texts.push_back(r.text);
    box.shown.clear();
    return texts;
  }
  using V = std::vector<std::string>;

  RecordingTarget target;
  RecordingMessageBox box;
  CommandExecutor executor{target, box};
};

TEST_F(ExecutorTest, OpenInTheBestWayFollowsTheListAndTheItem) {
  target.item = FocusedItem{1, false};
  Run(CommandList::FileList, "最適な方法で開く");
  executor.Execute(CommandList::FileList, "", "return");  // an unbound Return
  target.item = FocusedItem{3, false};
  Run(CommandList::FileList, "最適な方法で開く");
  Run(CommandList::PlayList, "最適な方法で開く");
  Run(CommandList::Detail, "最適な方法で開く");
  EXPECT_EQ(target.Take(), (V{"open folder", "open folder", "play -1", "play action 10", "play -1"}));

  executor.Execute(CommandList::FileList, "", "");
  executor.Execute(CommandList::None, CommandBytes("最適な方法で開く"));
  Run(CommandList::FileList, "存在しない機能");
  EXPECT_TRUE(target.Take().empty());
}

TEST_F(ExecutorTest, ItemCommandsNeedAFocusedItemAndFileListCommandsTheFileList) {
  target.item.reset();
  for (const char* name : {"最適な方法で開く", "ポップアップを開く", "Player2で再生", "ソートをする", "ファイル名の変更をする",
                           "1つ上のFolderに移動", "現在のdriveのRootFolderへ", "PlayListに選択ｱｲﾃﾑを追加"})
    Run(CommandList::FileList, name);
  EXPECT_TRUE(target.Take().empty());
  Run(CommandList::FileList, "アイテム全選択/選択解除");  // needs no item
  EXPECT_EQ(target.Take(), V{"select all"});

  target.item = FocusedItem{};
  for (const char* name : {"ドライブの選択をする", "関連ﾌｧｲﾙ詳細情報を開く", "フォルダジャンプをする", "インデックスの編集をする"})
    Run(CommandList::PlayList, name);
  EXPECT_TRUE(target.Take().empty());
  Run(CommandList::FileList, "フォルダジャンプをする");
  Run(CommandList::FileList, "関連ﾌｧｲﾙ詳細情報を開く");
  EXPECT_EQ(target.Take(), (V{"dialog 4", "dialog 8"}));
}

TEST_F(ExecutorTest, PopupsAndSlotsByItemKind) {
  for (int kind : {0, 2}) {
    target.item = FocusedItem{kind, false};
    Run(CommandList::FileList, "ポップアップを開く");
    Run(CommandList::FileList, "Folder以外の時ポップアップ");
    Run(CommandList::FileList, "Player3で再生");
  }
  target.item = FocusedItem{2, true};
  Run(CommandList::FileList, "ポップアップを開く");
  Run(CommandList::PlayList, "Folder以外の時ポップアップ");
  EXPECT_EQ(target.Take(), (V{"popup 1", "open folder", "popup 0", "popup 0", "play 3", "popup 2", "popup 3"}));
}

TEST_F(ExecutorTest, PlayControlsAnswerWithTheirGuardsUntilEnabled) {
  Run(CommandList::FileList, "ListPlay : 開始");
  Run(CommandList::FileList, "ListPlay : 終了予約");
  Run(CommandList::FileList, "ListPlay : 次の曲へ");
  Run(CommandList::FileList, "リプレイをする");
  Run(CommandList::FileList, "一時停止をする");
  Run(CommandList::FileList, "演奏を終了する");
  EXPECT_EQ(Texts(), (V{"ListPlayを始める事が出来ません.", "ListPlayを現在行っていません.", "ListPlayを現在行っていません.",
                        "リプレイを実行出来ませんでした."}));
  EXPECT_TRUE(target.Take().empty());

  target.controls.listPlayRunning = true;
  target.controls.nextEnabled = true;
  Run(CommandList::FileList, "ListPlay : 開始");  // running: nothing
  Run(CommandList::FileList, "ListPlay : 次の曲へ");
  Run(CommandList::FileList, "ListPlay : 前の曲へ");
  Run(CommandList::FileList, "リプレイをする");
  Run(CommandList::FileList, "演奏を終了する");
  EXPECT_EQ(Texts(), (V{"ListPlay : 前の曲へ は出来ません.",
                        "ListPlayの終了は出来ません.\nListPlay中で無い場合は、Kadrelを再起動して下さい."}));
  EXPECT_EQ(target.Take(), (V{"play action 2", "play action 4"}));
  Run(CommandList::PlayList, "ListPlay : 開始");  // in the play list: this entry now
  EXPECT_EQ(target.Take(), V{"play action 10"});
}

TEST_F(ExecutorTest, MakingTheNextPieceNeedsListPlayAndAReadyItem) {
  Run(CommandList::FileList, "ListPlay : 次の曲に指定");  // play list hidden: nothing
  target.controls.playListShown = true;
  Run(CommandList::FileList, "ListPlay : 次の曲に指定");
  target.controls.listPlayRunning = true;
  target.controls.nextReady = false;
  Run(CommandList::FileList, "ListPlay : 次の曲に指定");
  target.controls.nextReady = true;
  Run(CommandList::FileList, "ListPlay : 次の曲に指定");
  EXPECT_EQ(Texts(), (V{"この機能はListPlay中のみ有効です.", "現在、次の曲の再生準備中です\nしばらく待ってから作業を行ってください"}));
  EXPECT_EQ(target.Take(), V{"play action 9"});
}

TEST_F(ExecutorTest, JumpFoldersOpenWhenPresentAndSayWhenGone) {
  test::TempDir dir;
  target.jump[2] = dir.path();
  target.jump[3] = "/nonexistent/a/rather/long/folder/name/gone/";
  Run(CommandList::FileList, "ジャンプフォルダ[A]を開く");  // unset
  Run(CommandList::FileList, "ジャンプフォルダ[C]を開く");
  Run(CommandList::FileList, "ジャンプフォルダ[D]を開く");
  Run(CommandList::PlayList, "ジャンプフォルダ[C]を開く");  // file list only
  EXPECT_EQ(target.Take(), V{"open " + dir.path()});
  EXPECT_EQ(Texts(), V{"フォルダ /../folder/name/gone/ は存在しません."});
}

TEST_F(ExecutorTest, DrivesOpenTheirLastFolderOrTheirRoot) {
  test::TempDir dir;
  target.driveRoot = dir.path();
  target.driveFolder = dir.path() + "gone/";
  Run(CommandList::FileList, "Bドライブへ移動");  // no volume for B
  Run(CommandList::FileList, "Cドライブへ移動");
  EXPECT_EQ(target.Take(), V{"open " + dir.path()});
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].text.find(" が存在しないので\n"), std::string::npos);
  target.driveFolder = dir.path();
  Run(CommandList::FileList, "Cドライブへ移動");
  EXPECT_EQ(target.Take(), V{"open " + dir.path()});
}

TEST_F(ExecutorTest, IndexEditingRenamingAndQuitting) {
  target.filling = true;
  Run(CommandList::FileList, "Indexのタイトル編集をする");
  target.filling = false;
  target.fileItems = false;
  Run(CommandList::FileList, "インデックスの編集をする");
  target.fileItems = true;
  Run(CommandList::FileList, "インデックスの編集をする");
  EXPECT_EQ(Texts(), (V{"Index情報の編集は、ファイルリスト更新時、又は\n再検索待機時には出来ません.",
                        "Indexの編集が出来るアイテムが存在しません.\nIndex情報の編集を中止します."}));

  for (int kind : {0, 1, 2, 3, 7}) {
    target.item = FocusedItem{kind, false};
    Run(CommandList::FileList, "ファイル名の変更をする");
  }
  EXPECT_EQ(Texts(), V{"Kadrelファィル管理メモリ情報が不正です.\n名前の変更を中止します."});

  box.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  Run(CommandList::FileList, "Ｋadrelの終了(確認あり)");
  Run(CommandList::FileList, "Ｋadrelの終了(確認あり)");
  target.mainActive = false;
  Run(CommandList::Detail, "Ｋadrelの終了(確認あり)");
  EXPECT_EQ(Texts(), (V{"Kadrelを終了します. よろしいですか？", "Kadrelを終了します. よろしいですか？"}));
  EXPECT_EQ(target.Take(), (V{"dialog 9", "rename", "rename [フォルダ名の変更]", "rename [ファイル名の変更]",
                              "rename [圧縮ファイル名の変更]", "close main", "close active"}));
}

}  // namespace
}  // namespace kadrel
