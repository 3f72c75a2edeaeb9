#pragma once
// Prepares play-list items for continuous play: takes archive members out into the
// work folder ("ListPlay/" under the temporary folder), has them converted when the
// slot asks for it, and before an item plays moves them into the temporary folder.

#include <functional>
#include <string>
#include <vector>

#include "archive/unlha_turn.h"
#include "playback/listplay_ports.h"

namespace kadrel {

// The conversion of normal play: returns the path of the file to play (the source
// itself when nothing was converted), or empty when the conversion failed. It gives up
// (killing a converter program that runs) when `stopRequested` turns true.
using LpConvertForPlay =
    std::function<std::string(const TPLMusicInfo& item, int slot, const std::string& source,
                              const std::string& outputFolder, const std::function<bool()>& stopRequested)>;

struct LpPreparationSettings {
  std::string TemporaryFolder;  // ends in "/"
  int LzhMeltStyle = 0;         // 1: companions of items that have them, 2: always; 10 added: never
};

class LpItemPreparation final : public IListPlayPreparation {
 public:
  LpItemPreparation(LpPreparationSettings settings, TUnLhaManagement& turns, LpConvertForPlay convert = {});

  int Prepare(const TPLMusicInfo& item, int slot, ListPlayPrepared& out,
              const std::function<bool()>& stopRequested) override;
  ListPlayStaging Stage(const ListPlayPrepared& prepared) override;
  bool FileExists(const std::string& path) override;

  std::string WorkFolder() const { return settings_.TemporaryFolder + "ListPlay/"; }

 private:
  int Extract(const TPLMusicInfo& item, const std::function<bool()>& stopRequested);

  LpPreparationSettings settings_;
  TUnLhaManagement& turns_;
  LpConvertForPlay convert_;
  std::vector<std::string> placed_;  // names moved into the temporary folder by the last Stage
};

}  // namespace kadrel
