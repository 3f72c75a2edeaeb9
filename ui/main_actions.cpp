#include "ui/main_actions.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>

#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

QAction* Add(QMenu* menu, const char* caption, bool enabled = false) {
  QAction* action = menu->addAction(U(caption));
  action->setEnabled(enabled);
  return action;
}

QAction* Check(QMenu* menu, const char* caption, bool checked) {
  QAction* action = menu->addAction(U(caption));
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

QAction* Button(QToolBar* bar, QStyle::StandardPixmap pixmap, const char* hint, const char* picture,
                bool enabled = false) {
  QAction* action = bar->addAction(bar->style()->standardIcon(pixmap), U(hint));
  action->setToolTip(U(hint));
  action->setObjectName(QString::fromLatin1(picture));
  action->setEnabled(enabled);
  return action;
}

}  // namespace

void BuildMainActions(QMainWindow& window, MainActions& a) {
  QMenuBar* bar = window.menuBar();

  QMenu* file = bar->addMenu(U("ﾌｧｲﾙ(&F)"));
  Add(file, "ファイルのコピー(&C)");
  Add(file, "ファイルの移動(&M)");
  Add(file, "ファイルの削除(&D)");
  file->addSeparator();
  a.rename = Add(file, "名前の変更(&R)");
  a.details = Add(file, "関連ファイル詳細情報 を表示(&I)");
  file->addSeparator();
  a.loadPlayList = Add(file, "PlayListをファイルから読み込み(&L)");
  a.savePlayList = Add(file, "PlayListをファイルに保存(&S)");
  file->addSeparator();
  a.deleteSettings = Add(file, "レジストリを削除してKadrelを終了", true);
  a.quit = Add(file, "Kadrelの終了(&Q)", true);

  QMenu* tools = bar->addMenu(U("ﾂｰﾙ(&T)"));
  a.update = Add(tools, "ファイル情報を更新(&R)", true);
  a.reReadAll = Add(tools, "ファイル情報を完全に再取得(&G)", true);
  tools->addSeparator();
  a.addToPlayList = Add(tools, "PlayListに選択アイテムを追加(&A)");
  a.clearPlayList = Add(tools, "PlayListを空にする(&H)");
  tools->addSeparator();
  a.deleteIndex = Add(tools, "現在のフォルダのIndexの消去(&C)");
  a.editIndex = Add(tools, "Indexの情報の編集(&E)");
  a.indexFind = Add(tools, "Indexを使用した検索(&F)");
  a.refreshIndex = Add(tools, "Indexのリフレッシュ");

  a.jumpMenu = bar->addMenu(U("ﾌｫﾙﾀﾞ(&J)"));
  a.jumpMenu->setEnabled(false);

  QMenu* play = bar->addMenu(U("演奏(&P)"));
  a.playBest = Add(play, "最適なPlayerで演奏(&P)");
  for (int n = 0; n < 6; ++n) {
    a.playSlot[n] = play->addAction(QStringLiteral("(&%1) : ").arg(n + 1));
    a.playSlot[n]->setEnabled(false);
    a.playSlot[n]->setVisible(false);
  }
  play->addSeparator();
  a.listPlayStart = Add(play, "ListPlayの開始(&L)");

  QMenu* control = bar->addMenu(U("操作(&C)"));
  {
    size_t i = 0;
    for (const char* caption : {"リプレイ(&R)", "一時停止(&P)", "１つ前の曲を演奏(&B)", "１つ次の曲を演奏(&N)",
                                "演奏の終了予約(&A)", "演奏の終了(&S)"})
      a.controls[i++] = Add(control, caption);
  }
  a.replay = a.controls[0];
  a.pause = a.controls[1];
  a.playerExit = a.controls[5];
  control->addSeparator();
  a.modeRandom = Check(control, "ランダム演奏モード", false);
  a.modeShuffle = Check(control, "シャッフル演奏モード", false);
  a.modeAutoEnd = Check(control, "すべて演奏したら終了", false);

  QMenu* view = bar->addMenu(U("表示(&V)"));
  a.viewAllFolders = Check(view, "すべてのフォルダ(&F)", true);
  a.viewJumpFolders = Check(view, "ジャンプフォルダ(&J)", false);
  a.viewPlayList = Check(view, "プレイリスト(&L)", false);
  view->addSeparator();
  a.viewToolBars = Check(view, "ショートカットバー(&B)", true);
  a.viewStatusBar = Check(view, "ステータスバー(&S)", true);

  QMenu* settings = bar->addMenu(U("設定(&S)"));
  a.mainSettings = Add(settings, "基本設定(&B)", true);
  a.viewSettings = Add(settings, "表示設定(&V)", true);
  a.keyCustomization = Add(settings, "キーカスタマイズ(&K)", true);

  QMenu* help = bar->addMenu(U("ﾍﾙﾌﾟ(&H)"));
  a.contents = Add(help, "目次(&C)", true);
  a.helpTopics = Add(help, "トピックの検索(&H)");
  help->addSeparator();
  a.about = Add(help, "バージョン情報(&A)", true);
  a.shellInfo = Add(help, "シェル情報(&S)", true);

  // Tool bars, all in the top dock.
  const char* captions[3] = {"SyetemBar", "PlayBar", "ControlBar"};
  for (int i = 0; i < 3; ++i) {
    a.bars[i] = new QToolBar(QString::fromLatin1(captions[i]), &window);
    a.bars[i]->setObjectName(QString::fromLatin1(captions[i]));
    a.bars[i]->setIconSize(QSize(20, 20));
    window.addToolBar(Qt::TopToolBarArea, a.bars[i]);
  }
  QToolBar* main = a.bars[0];
  a.exitButton = Button(main, QStyle::SP_DialogCloseButton, "Kadrelを終了します", "Exit", true);
  a.breakButton = Button(main, QStyle::SP_BrowserStop, "検索処理を中断します", "Break", true);
  main->addSeparator();
  a.reReadButton = Button(main, QStyle::SP_DriveHDIcon, "ファイル情報を全て再取得", "IndexAllGet", true);
  a.indexFindButton = Button(main, QStyle::SP_FileDialogContentsView, "Indexを使用した検索をします", "IndexFind");
  a.updateButton = Button(main, QStyle::SP_BrowserReload, "ファイル情報を更新します", "IndexGet", true);
  main->addSeparator();
  a.clearPlayListButton = Button(main, QStyle::SP_TrashIcon, "PlayListを空にする", "PLClear");

  for (int n = 0; n < 6; ++n) {
    a.playButtons[n] = a.bars[1]->addAction(QStringLiteral("%1").arg(n + 1));
    a.playButtons[n]->setObjectName(QStringLiteral("Play%1").arg(n + 1));
    a.playButtons[n]->setEnabled(false);
  }

  QToolBar* control2 = a.bars[2];
  a.listPlayButton = Button(control2, QStyle::SP_MediaPlay, "ListPlayを開始します", "LPStart");
  a.pauseButton = Button(control2, QStyle::SP_MediaPause, "一時停止", "Pause");
  a.replayButton = Button(control2, QStyle::SP_BrowserReload, "リプレイ", "RePlay");
  a.backButton = Button(control2, QStyle::SP_MediaSkipBackward, "前回の曲を演奏", "Back");
  a.nextButton = Button(control2, QStyle::SP_MediaSkipForward, "次の曲を演奏", "Next");
  a.endReserveButton = Button(control2, QStyle::SP_MediaStop, "ListPlayの終了予約をします", "Stop");
  a.playerExitButton = Button(control2, QStyle::SP_DialogCancelButton, "Player(ListPlay)を終了します", "PlayClose");

  const char* toggles[3] = {"SystemBar の表示", "PlayBar の表示", "ControlBar の表示"};
  for (int i = 0; i < 3; ++i) {
    QAction* toggle = new QAction(U(toggles[i]), &window);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    QToolBar* toolBar = a.bars[i];
    QObject::connect(toggle, &QAction::triggered, toolBar, &QToolBar::setVisible);
    QObject::connect(toolBar, &QToolBar::visibilityChanged, toggle, [toggle, toolBar](bool visible) {
      // A minimised window hides its bars too; only a closed bar unchecks its item.
      if (!toolBar->window()->isMinimized()) toggle->setChecked(visible);
    });
    a.barToggles[i] = toggle;
  }
}

QMenu* BuildBarPopup(QWidget* parent, const MainActions& actions) {
  auto* menu = new QMenu(parent);
  for (QAction* toggle : actions.barToggles) menu->addAction(toggle);
  return menu;
}

}  // namespace kadrel
