#include "playback/play_conversion.h"

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "formats/rcpcv/recomposer_converter.h"
#include "playback/slot_choice.h"

namespace kadrel {

const char* PlayConversionName(PlayConversion conversion) {
  switch (conversion) {
    case PlayConversion::Rcpcv: return "rcpcv";
    case PlayConversion::Knife: return "knife";
    case PlayConversion::None: break;
  }
  return "none";
}

ConversionResult RcpcvPlayConverter::Convert(const ConversionRequest& request) {
  const std::string& source = request.source;
  const int row = request.item ? request.item->FileType : -1;
  if (row < kRowMID || row > kRowG36 || SlotAllowsFile(slots_, source, request.slot) != kSlotPlaysAfterRcpcv)
    return {source, PlayConversion::None};

  const size_t slash = source.rfind('/');
  const std::string name = slash == std::string::npos ? source : source.substr(slash + 1);
  const std::string output = request.outputFolder + NameWithoutExtension(name) + ".MID";
  if (request.dryRun) return {output, PlayConversion::Rcpcv};

  if (status_) status_(0, "RCPCVによるコンバート中..");
  RcpConvertResult converted = ConvertRecomposerFile(source);
  if (converted.error != RcpConvertError::kNone || !ReplaceFileAtomically(output, converted.smf)) {
    messages_.Beep(BeepKind::Warning);
    messages_.Error(DisplayText(request.item->FileName + request.item->FileExt) + " のSMFへのコンバートに失敗しました.");
    return {};
  }
  return {output, PlayConversion::Rcpcv};
}

}  // namespace kadrel
