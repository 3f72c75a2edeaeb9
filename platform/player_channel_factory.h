#pragma once
// Conversations for player programs: MPRIS for the Linux players that take a file over
// the bus, and, for DPW.EXE, WFP.EXE, MPVG.EXE and TMIDI.EXE, a transport that cannot
// connect here (their protocol exists only between Windows programs).

#include <QString>
#include <string>
#include <vector>

#include "playback/player_channel.h"
#include "playback/player_conversation.h"

namespace kadrel {

struct MprisPlayerProgram {
  std::string fileName;  // the program's file name, as on disk ("vlc")
  QString busPrefix;     // "org.mpris.MediaPlayer2.vlc"
};

// vlc and cvlc: the only Linux players whose MPRIS service takes a file (OpenUri) and
// that stay running when started bare.
std::vector<MprisPlayerProgram> DefaultMprisPlayers();

class PlayerChannelFactory final : public IPlayerChannelFactory {
 public:
  // `services` is given to every conversation, with this factory's program-wide gate;
  // conversations must end before the factory does.
  explicit PlayerChannelFactory(ConversationServices services,
                                std::vector<MprisPlayerProgram> players = DefaultMprisPlayers());

  bool SpeaksChannel(const std::string& program) const override;
  std::unique_ptr<IPlayerChannel> Create(const std::string& program) override;
  bool IsRunning(const std::string& program) override;
  bool SendQuit(const std::string& program) override;

 private:
  const MprisPlayerProgram* MprisPlayerFor(const std::string& program) const;

  ConversationGate gate_;
  ConversationServices services_;
  std::vector<MprisPlayerProgram> players_;
};

}  // namespace kadrel
