#pragma once
// One player slot's details: the formats it plays (in groups), the Recomposer and SMF
// knife conversions, and the options of the slot's program when it has any. OK keeps
// the changes in the dialog; the main settings dialog stores them.

#include <array>
#include <string>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>

#include "settings/player_data.h"

namespace kadrel {

// The option group shown for a program (by its file name, any letter case).
enum class PlayerOptionGroup { None, MiyaPlay, DecoPlay, Wfp, Tmidi };
PlayerOptionGroup OptionGroupFor(const std::string& programPath);

class TSet_PDetailForm : public QDialog {
  Q_OBJECT

 public:
  // `programPath` and `displayName` as typed in the settings dialog; `rcpcv` and `knife`
  // tell whether those conversions can run here.
  TSet_PDetailForm(int slotNumber, const TPlayer_data& slot, int32_t detailInfo, const std::string& programPath,
                   const std::string& displayName, bool rcpcv, bool knife, QWidget* parent = nullptr);

  // The slot with the dialog's formats and conversions (path, name and use as given).
  TPlayer_data Slot() const;
  int32_t DetailInfo() const;
  PlayerOptionGroup ShownGroup() const { return group_; }

 private:
  struct FormatBox {
    QCheckBox* box = nullptr;
    std::array<int, 3> rows{-1, -1, -1};
  };
  void FollowConversion(QCheckBox* conversion, QCheckBox* formats);

  TPlayer_data slot_;
  int32_t detailInfo_;
  PlayerOptionGroup group_;
  std::array<FormatBox, 9> formats_{};
  QCheckBox *rcpcvRcp_, *rcpcvG_, *knife_;
  std::array<QCheckBox*, 5> options_{};  // by "PlayerDetailInfo" bit
};

}  // namespace kadrel
