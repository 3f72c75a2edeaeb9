#include "ui/listplay_start_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/texts.h"

namespace kadrel {
namespace {

using text::U;

void Name(QWidget& widget, const char* objectName, const QString& accessible) {
  widget.setObjectName(QString::fromLatin1(objectName));
  widget.setAccessibleName(accessible);
}

}  // namespace

ListPlayStartDialog::ListPlayStartDialog(const StartDialogSetup& setup, QWidget* parent)
    : QDialog(parent), setup_(setup) {
  setWindowTitle(U("ListPlayの初期設定"));
  setObjectName(QStringLiteral("TLispPlay_StartForm"));
  setAccessibleName(windowTitle());

  fromTop_.setText(U("先頭のアイテム から演奏する"));
  fromSelected_.setText(U("選択されているアイテム から演奏する"));
  normal_.setText(U("ノーマルモード (上から下へ順々に演奏します)"));
  random_.setText(U("ランダムモード (演奏順をランダムにします)"));
  shuffle_.setText(U("シャッフルモード (全ての曲を一度演奏するまで同じ曲は演奏しません)"));
  endOption_.setText(U("すべての曲を演奏したら、ListPlayを終了する"));
  lyricsOff_.setText(U("圧縮ファイルの場合、WRDなどの歌詞ファイル常に無効にする"));
  ok_.setText(QStringLiteral("OK"));
  cancel_.setText(U("キャンセル"));
  Name(fromTop_, "FromTop", fromTop_.text());
  Name(fromSelected_, "FromSelected", fromSelected_.text());
  Name(normal_, "NormalMode", normal_.text());
  Name(random_, "RandomMode", random_.text());
  Name(shuffle_, "ShuffleMode", shuffle_.text());
  Name(endOption_, "EndWhenAllPlayed", endOption_.text());
  Name(lyricsOff_, "LyricsOff", lyricsOff_.text());
  Name(ok_, "OK", ok_.text());
  Name(cancel_, "Cancel", cancel_.text());

  firstGroup_.addButton(&fromTop_);
  firstGroup_.addButton(&fromSelected_);
  for (QRadioButton* mode : modes_) modeGroup_.addButton(mode);

  auto* first = new QGroupBox(U("最初に演奏するアイテム"));
  Name(*first, "FirstItem", first->title());
  auto* firstColumn = new QVBoxLayout(first);
  firstColumn->addWidget(&fromTop_);
  firstColumn->addWidget(&fromSelected_);
  auto* mode = new QGroupBox(U("演奏モード"));
  Name(*mode, "Mode", mode->title());
  auto* modeColumn = new QVBoxLayout(mode);
  for (QRadioButton* m : modes_) modeColumn->addWidget(m);
  modeColumn->addWidget(&endOption_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(&ok_);
  buttons->addWidget(&cancel_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(first);
  column->addWidget(mode);
  column->addWidget(&lyricsOff_);
  column->addLayout(buttons);

  const StartDialogChoice initial = InitialStartChoice(setup_);
  fromSelected_.setEnabled(setup_.focusedIndex >= 0);
  (initial.fromSelected ? fromSelected_ : fromTop_).setChecked(true);
  ModeButton(initial.baseMode).setChecked(true);
  endOption_.setChecked(initial.endWhenAllPlayed);
  lyricsOff_.setChecked(initial.lyricsOff);

  ok_.setDefault(true);
  connect(&ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(&cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

StartDialogChoice ListPlayStartDialog::Choice() const {
  StartDialogChoice c;
  c.fromSelected = fromSelected_.isChecked() && fromSelected_.isEnabled();
  c.baseMode = random_.isChecked() ? kModeRandom : shuffle_.isChecked() ? kModeShuffle : kModeNormal;
  c.endWhenAllPlayed = endOption_.isChecked();
  c.lyricsOff = lyricsOff_.isChecked();
  return c;
}

}  // namespace kadrel
