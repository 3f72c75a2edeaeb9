#include "catalog/smfk_info.h"

#include "base/encoding.h"

namespace kadrel {

std::vector<TSmfkItem> DefaultSoundModules() {
  auto item = [](const char* name, int32_t priority, const char* findStr, const char* findStr2) {
    TSmfkItem i;
    i.Name = Cp932(name);
    i.Priority = priority;
    i.FindStr = Cp932(findStr);
    i.FindStr2 = Cp932(findStr2);
    return i;
  };
  return {
      item("Default", 0, "", ""),
      item("GS", 20, "GS,ＧＳ", ""),
      item("XG", 25, "XG,ＸＧ", ""),
      item("MU50", 60, "MU50,MU-50,ＭＵ50,MU５０,ＭＵ５０,ＭＵ－５０", ""),
      item("MU80", 65, "MU80,MU-80,ＭＵ80,MU８０,ＭＵ８０,ＭＵ－８０", ""),
      item("MU90", 70, "MU90,MU-90,ＭＵ90,ＭＵ９０,ＭＵ－９０", ""),
      item("MU100", 75, "MU100,MU-100,ＭＵ100,ＭＵ１００,ＭＵ－１００", ""),
      item("SC55", 100, "SC55,ＳＣ55,SC-55,ＳＣ－５５", "55map,５５ｍａｐ"),
      item("SC88", 105, "SC88,ＳＣ88,SC-88,ＳＣ－８８", "88map,88VL,88ST,VSC88,VSC-88,８８ｍａｐ,８８ＶＬ,ＶＳＣ８８,ＶＳＣ－８８"),
      item("SC88Pro", 110, "88pro,８８pro,８８ｐｒｏ", ""),
  };
}

}  // namespace kadrel
