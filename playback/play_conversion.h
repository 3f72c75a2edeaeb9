#pragma once
// The conversion step before a file is handed to a player: Recomposer files become
// Standard MIDI when the slot asks for it, and Standard MIDI may be passed through the
// SMF knife for the song's sound module (playback/lp_convert_for_play.h).

#include <optional>
#include <string>

#include "catalog/music_file_info.h"

namespace kadrel {

enum class PlayConversion { None, Rcpcv, Knife, RcpcvKnife };

// "none", "rcpcv", "knife", "rcpcv+knife"
const char* PlayConversionName(PlayConversion conversion);

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
  std::string module;              // the sound module chosen for the knife (CP932); empty: none
  std::optional<int> knifeResult;  // the knife's result when it ran (-1 done)
};

class IPlayConverter {
 public:
  virtual ~IPlayConverter() = default;
  virtual ConversionResult Convert(const ConversionRequest& request) = 0;
};

}  // namespace kadrel
