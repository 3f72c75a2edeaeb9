#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/setting_keys.h"
#include "ui/logo_picture.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;

namespace {

QLabel* Label(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAccessibleName(text);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(const AboutFacts& facts, QWidget* parent) : QDialog(parent) {
  setWindowTitle(U("バージョン情報"));
  setAccessibleName(windowTitle());
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  // The logo's red surround becomes the panel's black; red inside the drawing stays.
  logo_ = DrawKadrelLogo();
  FillKeyBackground(logo_, kLogoKeyColour, qRgb(0, 0, 0));
  auto* panel = new QLabel(this);
  panel->setAccessibleName(QStringLiteral("Kadrel logo"));
  panel->setPixmap(QPixmap::fromImage(logo_));
  panel->setAlignment(Qt::AlignCenter);
  panel->setAutoFillBackground(true);
  QPalette black = panel->palette();
  black.setColor(QPalette::Window, Qt::black);
  panel->setPalette(black);
  panel->setFixedSize(kLogoSize + QSize(24, 24));

  auto* texts = new QVBoxLayout;
  QLabel* name = Label(U(text::kTitle), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.3);
  big.setBold(true);
  name->setFont(big);
  texts->addWidget(name);
  version_ = Label(U(ProgramVersionText(keys::kSettingsVersion).c_str()), this);
  texts->addWidget(version_);
  texts->addSpacing(8);
  const std::array<AboutLibraryLine, 3> lines = AboutLibraryLines(facts);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    texts->addWidget(Label(U(lines[i].credit.c_str()), this));
    status_[i] = Label(QStringLiteral("    ") + U(lines[i].status.c_str()), this);
    texts->addWidget(status_[i]);
  }

  auto* top = new QHBoxLayout;
  top->addWidget(panel, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kadrel
