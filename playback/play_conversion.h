#pragma once
// The conversion step before a file is handed to a player: Recomposer files become
// Standard MIDI when the slot asks for it.

#include <functional>
#include <string>

#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "settings/player_data.h"

namespace kadrel {

enum class PlayConversion { None, Rcpcv, Knife };

const char* PlayConversionName(PlayConversion conversion);  // "none", "rcpcv", "knife"

struct ConversionRequest {
  const TMusicFileInfo* item = nullptr;
  int slot = 0;
  std::string source;        // the file to play as it stands
  std::string outputFolder;  // ends in "/"
  bool dryRun = false;       // work out the result, write nothing
};

struct ConversionResult {
  std::string file;  // the file to hand over; empty when the conversion failed
  PlayConversion conversion = PlayConversion::None;
};

class IPlayConverter {
 public:
  virtual ~IPlayConverter() = default;
  virtual ConversionResult Convert(const ConversionRequest& request) = 0;
};

// RCPCV conversion by the slot's conversion bits; the SMF knife is not available here.
class RcpcvPlayConverter final : public IPlayConverter {
 public:
  RcpcvPlayConverter(const PlayerSlots& playerSlots, IMessageBox& messages,
                     std::function<void(int field, const std::string& text)> status = {})
      : slots_(playerSlots), messages_(messages), status_(std::move(status)) {}
  ConversionResult Convert(const ConversionRequest& request) override;

 private:
  const PlayerSlots& slots_;
  IMessageBox& messages_;
  std::function<void(int, const std::string&)> status_;
};

}  // namespace kadrel
