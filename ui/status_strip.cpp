#include "ui/status_strip.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kadrel {

StatusStrip::StatusStrip(QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(2, 1, 2, 1);
  column->setSpacing(1);

  auto* bars = new QHBoxLayout;
  bars->setSpacing(4);
  for (QProgressBar* bar : {&search_, &conversion_}) {
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setMaximumHeight(8);
    bars->addWidget(bar, 1);
  }
  search_.setObjectName(QStringLiteral("SearchProgress"));
  search_.setAccessibleName(QString::fromUtf8("検索の進行状況"));
  conversion_.setObjectName(QStringLiteral("ConversionProgress"));
  conversion_.setAccessibleName(QString::fromUtf8("変換の進行状況"));
  column->addLayout(bars);

  auto* row = new QHBoxLayout;
  row->setSpacing(2);
  const int widths[3] = {180, 230, 20};
  for (int i = 0; i < 3; ++i) {
    QLabel& panel = panels_[i];
    panel.setFrameShape(QFrame::StyledPanel);
    panel.setFrameShadow(QFrame::Sunken);
    panel.setTextFormat(Qt::PlainText);
    panel.setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel.setAccessibleName(QString::fromUtf8("ステータス %1").arg(i + 1));
    if (i < 2) {
      panel.setFixedWidth(widths[i]);
      row->addWidget(&panel);
    } else {
      panel.setMinimumWidth(widths[i]);
      panel.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      row->addWidget(&panel, 1);
    }
  }
  column->addLayout(row);
}

void StatusStrip::SetPanel(int panel, const QString& text) {
  if (panel < 0 || panel > 2) return;
  panels_[panel].setText(text);
  panels_[panel].setToolTip(text);
}

QString StatusStrip::Panel(int panel) const {
  return (panel < 0 || panel > 2) ? QString() : panels_[panel].text();
}

}  // namespace kadrel
