#include "ui/player_detail_dialog.h"

#include <algorithm>
#include <cctype>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/encoding.h"
#include "ui/texts.h"

namespace kadrel {

using text::U;

namespace {

struct FormatGroup {
  const char* object;
  const char* caption;
  std::array<int, 3> rows;
};

// Each box stands for its formats; it shows the first and sets all of them. MPL is
// neither shown nor changed.
constexpr FormatGroup kFormatGroups[9] = {
    {"PSET_SMF", "Standard MIDI (MID, STD, MFF)", {kRowMID, kRowSTD, kRowMFF}},
    {"PSET_RMI", "RIFF MIDI (RMI)", {kRowRMI, -1, -1}},
    {"PSET_RCP", "Recomposer (RCP, R36)", {kRowRCP, kRowR36, -1}},
    {"PSET_G", "Recomposer (G18, G36)", {kRowG18, kRowG36, -1}},
    {"PSET_MGS", "MGS", {kRowMGS, -1, -1}},
    {"PSET_MP", "MPEG Audio (MP3, MP2, RMP)", {kRowMP3, kRowMP2, kRowRMP}},
    {"PSET_MOD", "MOD", {kRowMOD, -1, -1}},
    {"PSET_VQF", "TwinVQ (VQF)", {kRowVQF, -1, -1}},
    {"PSET_WAV", "WAVE, AIFF (WAV, AIF)", {kRowWAV, kRowAIF, -1}},
};

constexpr const char* kLoop = "通常演奏時、ループ演奏をする";

QCheckBox* Box(const char* object, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(object));
  box->setAccessibleName(caption);
  return box;
}

std::string UpperFileName(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  name = name.substr(name.rfind('\\') + 1);
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return name;
}

}  // namespace

PlayerOptionGroup OptionGroupFor(const std::string& programPath) {
  const std::string name = UpperFileName(programPath);
  if (name == "MIYAP95.EXE") return PlayerOptionGroup::MiyaPlay;
  if (name == "DPW.EXE") return PlayerOptionGroup::DecoPlay;
  if (name == "WFP.EXE") return PlayerOptionGroup::Wfp;
  if (name == "TMIDI.EXE") return PlayerOptionGroup::Tmidi;
  return PlayerOptionGroup::None;
}

TSet_PDetailForm::TSet_PDetailForm(int slotNumber, const TPlayer_data& slot, int32_t detailInfo,
                                   const std::string& programPath, const std::string& displayName, bool rcpcv,
                                   bool knife, QWidget* parent)
    : QDialog(parent), slot_(slot), detailInfo_(detailInfo), group_(OptionGroupFor(programPath)) {
  setObjectName(QStringLiteral("TSet_PDetailForm"));
  const QString caption = QStringLiteral("Player%1 [").arg(slotNumber) + QString::fromStdString(DisplayText(displayName)) +
                          U("] の詳細設定");
  setWindowTitle(caption);
  setAccessibleName(caption);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* layout = new QVBoxLayout(this);
  auto* types = new QGroupBox(U("演奏するファイルタイプ"), this);
  types->setObjectName(QStringLiteral("PSET_Types"));
  types->setAccessibleName(types->title());
  auto* grid = new QGridLayout(types);
  for (std::size_t i = 0; i < std::size(kFormatGroups); ++i) {
    const FormatGroup& g = kFormatGroups[i];
    formats_[i].box = Box(g.object, QString::fromUtf8(g.caption), types);
    formats_[i].rows = g.rows;
    formats_[i].box->setChecked(slot.Formats[static_cast<std::size_t>(g.rows[0])]);
    grid->addWidget(formats_[i].box, static_cast<int>(i % 5), static_cast<int>(i / 5));
  }
  layout->addWidget(types);

  auto* conversions = new QGroupBox(U("変換"), this);
  conversions->setObjectName(QStringLiteral("PSET_Conversion"));
  conversions->setAccessibleName(conversions->title());
  auto* conv = new QVBoxLayout(conversions);
  rcpcvRcp_ = Box("PSET_RCPCV1", U("常にRCPCVを使用してSMFに変換する (RCP, R36)"), conversions);
  rcpcvG_ = Box("PSET_RCPCV2", U("常にRCPCVを使用してSMFに変換する (G18, G36)"), conversions);
  knife_ = Box("PSET_SMFknife", U("SMFナイフを使用して音源別に変換する"), conversions);
  rcpcvRcp_->setChecked(slot.RcpcvRcp);
  rcpcvG_->setChecked(slot.RcpcvG);
  knife_->setChecked(slot.SmfKnife);
  rcpcvRcp_->setEnabled(rcpcv);
  rcpcvG_->setEnabled(rcpcv);
  knife_->setEnabled(knife);
  for (QCheckBox* box : {rcpcvRcp_, rcpcvG_, knife_}) conv->addWidget(box);
  layout->addWidget(conversions);
  FollowConversion(rcpcvRcp_, formats_[2].box);
  FollowConversion(rcpcvG_, formats_[3].box);
  connect(rcpcvRcp_, &QCheckBox::toggled, this, [this] { FollowConversion(rcpcvRcp_, formats_[2].box); });
  connect(rcpcvG_, &QCheckBox::toggled, this, [this] { FollowConversion(rcpcvG_, formats_[3].box); });

  // Only the group of the slot's program is made; the dialog is as tall as its content.
  struct OptionSpec {
    PlayerOptionGroup group;
    const char* object;
    const char* title;
    std::vector<std::pair<int, const char*>> boxes;  // bit, caption
  };
  const OptionSpec specs[] = {
      {PlayerOptionGroup::MiyaPlay, "PSET_Miyap", "MiyaPlay95", {{0, kLoop}}},
      {PlayerOptionGroup::DecoPlay, "PSET_DPW", "DECOPLAY97", {{1, kLoop}}},
      {PlayerOptionGroup::Wfp, "PSET_WFP", "WFP", {{2, kLoop}, {3, "WRD存在時はWRDwindowを表示し、無い時は表示しない"}}},
      {PlayerOptionGroup::Tmidi, "PSET_TMIDI", "TMIDI Player", {{4, kLoop}}},
  };
  for (const OptionSpec& spec : specs) {
    if (spec.group != group_) continue;
    auto* box = new QGroupBox(U(spec.title), this);
    box->setObjectName(QString::fromLatin1(spec.object));
    box->setAccessibleName(box->title());
    auto* inner = new QVBoxLayout(box);
    for (auto [bit, text] : spec.boxes) {
      QCheckBox* option = Box(spec.object, U(text), box);
      option->setObjectName(QString::fromLatin1(spec.object) + QStringLiteral("_%1").arg(bit));
      option->setChecked(detailInfo & (1 << bit));
      options_[static_cast<std::size_t>(bit)] = option;
      inner->addWidget(option);
    }
    layout->addWidget(box);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TSet_PDetailForm::FollowConversion(QCheckBox* conversion, QCheckBox* formats) {
  // Converted files are played as Standard MIDI, so the slot must take them.
  if (conversion->isChecked()) formats->setChecked(true);
  formats->setEnabled(!conversion->isChecked());
}

TPlayer_data TSet_PDetailForm::Slot() const {
  TPlayer_data s = slot_;
  for (const FormatBox& f : formats_)
    for (int row : f.rows)
      if (row >= 0) s.Formats[static_cast<std::size_t>(row)] = f.box->isChecked();
  s.RcpcvRcp = rcpcvRcp_->isChecked();
  s.RcpcvG = rcpcvG_->isChecked();
  s.SmfKnife = knife_->isChecked();
  return s;
}

int32_t TSet_PDetailForm::DetailInfo() const {
  int32_t v = detailInfo_;
  for (std::size_t bit = 0; bit < options_.size(); ++bit)
    if (options_[bit]) v = options_[bit]->isChecked() ? (v | (1 << bit)) : (v & ~(1 << bit));
  return v;
}

}  // namespace kadrel
