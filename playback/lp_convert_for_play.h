#pragma once
// The conversion before a player gets a file, shared by normal play and ListPlay:
// Recomposer files become Standard MIDI through our converter when the slot asks for
// it, and Standard MIDI goes through the SMF knife program with the configuration of
// the sound module the song was written for. Runs on the calling thread: ListPlay calls
// it from its preparation thread, never from the window's.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "base/message_box.h"
#include "catalog/smfk_info.h"
#include "playback/knife_process.h"
#include "playback/lp_item_preparation.h"
#include "playback/play_conversion.h"
#include "settings/player_data.h"

namespace kadrel {

// The knife's result texts by result (-2 .. 9).
std::string KnifeResultText(int result);

struct ConvertForPlaySettings {
  PlayerSlots playerSlots;
  TSmfkInfo smfk;
  std::string wine = "wine";                              // for a knife program ending in ".exe"
  std::chrono::milliseconds knifeLimit{std::chrono::seconds(60)};  // then it is killed
};

// Where the conversion reaches the rest of the program; every hook may be empty.
struct ConvertForPlayHooks {
  std::function<void(int field, const std::string& text)> status;
  std::function<bool()> stopRequested;  // the program closes or ListPlay stops
  std::function<void(int ms)> pause;    // the pause after a knife error; empty: a plain sleep
  KnifeRunner runKnife;                 // empty: RunKnifeProcess
};

class ConvertForPlay final : public IPlayConverter {
 public:
  ConvertForPlay(ConvertForPlaySettings settings, IMessageBox& messages, ConvertForPlayHooks hooks = {});

  ConversionResult Convert(const ConversionRequest& request) override;

  // The knife's argument vector for one run ("/auto", source, configuration, "/f" +
  // output); a program ending in ".exe" runs through wine with Windows paths.
  std::vector<std::string> KnifeArguments(const std::string& program, const std::string& source,
                                          const std::string& config, const std::string& output) const;

 private:
  // The module's index in the settings for this item, or -1.
  int ChooseModule(const TMusicFileInfo& item, const std::string& outputFolder) const;
  bool RunRcpcv(const TMusicFileInfo& item, const std::string& source, const std::string& output);
  int RunKnife(const std::string& source, const std::string& outputFolder, const std::string& config);
  int RunKnifeProgram(const std::string& source, const std::string& config, const std::string& output);
  std::string ConfigPath(const TSmfkItem& module) const;
  void Status(int field, const std::string& text) const;
  bool Stopping() const { return hooks_.stopRequested && hooks_.stopRequested(); }

  ConvertForPlaySettings settings_;
  IMessageBox& messages_;
  ConvertForPlayHooks hooks_;
};

// The conversion hook of ListPlay's item preparation, over the same conversion. The
// window's ListPlay controller and `kadrel-cli listplay` both use it. `observe`, when
// given, sees every result. `messages` must outlive the returned function; the hooks'
// stop request and the preparation's own one both end a knife run.
LpConvertForPlay MakeListPlayConversion(ConvertForPlaySettings settings, IMessageBox& messages,
                                        ConvertForPlayHooks hooks = {},
                                        std::function<void(const ConversionResult&)> observe = {});

// The knife program as the settings name it: a path, or a name looked up on PATH.
// Empty when it is not there.
std::string FindKnifeProgram(const std::string& exePath);

}  // namespace kadrel
