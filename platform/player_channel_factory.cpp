#include "platform/player_channel_factory.h"

#include "platform/dbus_calls.h"
#include "platform/mpris_transport.h"
#include "playback/channel_profile.h"

namespace kadrel {

std::vector<MprisPlayerProgram> DefaultMprisPlayers() {
  const QString vlc = QStringLiteral("org.mpris.MediaPlayer2.vlc");
  return {{"vlc", vlc}, {"cvlc", vlc}};
}

PlayerChannelFactory::PlayerChannelFactory(ConversationServices services, std::vector<MprisPlayerProgram> players)
    : services_(std::move(services)), players_(std::move(players)) {
  services_.gate = &gate_;
}

const MprisPlayerProgram* PlayerChannelFactory::MprisPlayerFor(const std::string& program) const {
  const auto slash = program.rfind('/');
  const std::string fileName = slash == std::string::npos ? program : program.substr(slash + 1);
  for (const auto& player : players_)
    if (player.fileName == fileName) return &player;
  return nullptr;
}

bool PlayerChannelFactory::SpeaksChannel(const std::string& program) const {
  return WindowsChannelProfile(program).has_value() || MprisPlayerFor(program) != nullptr;
}

std::unique_ptr<IPlayerChannel> PlayerChannelFactory::Create(const std::string& program) {
  if (const auto profile = WindowsChannelProfile(program))
    return std::make_unique<PlayerConversation>(*profile, std::make_unique<UnavailableTransport>(), services_);
  if (const MprisPlayerProgram* player = MprisPlayerFor(program))
    return std::make_unique<PlayerConversation>(MprisChannelProfile(),
                                                std::make_unique<MprisTransport>(player->busPrefix), services_);
  return nullptr;
}

bool PlayerChannelFactory::IsRunning(const std::string& program) {
  const MprisPlayerProgram* player = MprisPlayerFor(program);
  return player != nullptr && !NamesWithPrefix(player->busPrefix).isEmpty();
}

bool PlayerChannelFactory::SendQuit(const std::string& program) {
  const MprisPlayerProgram* player = MprisPlayerFor(program);
  if (player == nullptr) return false;
  const QStringList names = NamesWithPrefix(player->busPrefix);
  if (names.isEmpty()) return false;
  return CallMethod(names.first(), kMprisPath, kMprisRoot, QStringLiteral("Quit"), {}, 3000).has_value();
}

}  // namespace kadrel
