#include "playback/play_conversion.h"

namespace kadrel {

const char* PlayConversionName(PlayConversion conversion) {
  switch (conversion) {
    case PlayConversion::Rcpcv: return "rcpcv";
    case PlayConversion::Knife: return "knife";
    case PlayConversion::RcpcvKnife: return "rcpcv+knife";
    case PlayConversion::None: break;
  }
  return "none";
}

}  // namespace kadrel
