#pragma once
// What a player conversation needs of the wire to the player: connect, status
// notifications or status requests, commands, reconnecting. D-Bus (MPRIS) is one
// transport; the Windows players' own message protocol has none on this system.

#include <sys/types.h>

#include <optional>
#include <string>

namespace kadrel {

enum class ChannelCommand { Play, Stop, Quit, Pause, Resume };

// Told by the transport, from any thread, between requests.
enum class ChannelEvent {
  Disconnected,     // the player left the conversation
  ReconnectNeeded,  // the player's end point changed: connect to it again
  Error,            // the transport reported an error
  Unexpected,       // a message nobody asked for
};

class IChannelEvents {
 public:
  virtual ~IChannelEvents() = default;
  // A status text in the conversation's own vocabulary (see ChannelProfile).
  virtual void OnStatus(const std::string& status) = 0;
  virtual void OnEvent(ChannelEvent event) = 0;
};

enum class TransportSetup { Ok, Failed, NamesFailed };
// Unavailable: no attempt can ever succeed (the protocol does not exist here).
enum class ConnectResult { Connected, NotYet, Unavailable };
enum class ReconnectResult { Connected, NotYet, Failed };

class IChannelTransport {
 public:
  virtual ~IChannelTransport() = default;
  // Called once before connecting; `events` outlives the transport's use of it.
  virtual TransportSetup Setup(IChannelEvents& events) = 0;
  // One attempt to reach the player (process `pid`, or any of its program when -1).
  virtual ConnectResult Connect(pid_t pid) = 0;
  virtual bool StartStatusNotifications(int timeoutMs) = 0;
  virtual bool StopStatusNotifications(int timeoutMs) = 0;
  // `file` and `extra` matter for Play only.
  virtual bool Execute(ChannelCommand command, const std::string& file, const std::string& extra,
                       int timeoutMs) = 0;
  // The current status, or nothing when the request failed.
  virtual std::optional<std::string> RequestStatus(int timeoutMs) = 0;
  virtual ReconnectResult Reconnect() = 0;
  virtual void Disconnect() = 0;
  // Releases everything Setup took; the transport may be set up again afterwards.
  virtual void Shutdown() = 0;
};

// The transport of the Windows players that talk over their own message protocol: it
// cannot be spoken from here, so connecting fails at once.
class UnavailableTransport final : public IChannelTransport {
 public:
  TransportSetup Setup(IChannelEvents&) override { return TransportSetup::Ok; }
  ConnectResult Connect(pid_t) override { return ConnectResult::Unavailable; }
  bool StartStatusNotifications(int) override { return false; }
  bool StopStatusNotifications(int) override { return false; }
  bool Execute(ChannelCommand, const std::string&, const std::string&, int) override { return false; }
  std::optional<std::string> RequestStatus(int) override { return std::nullopt; }
  ReconnectResult Reconnect() override { return ReconnectResult::Failed; }
  void Disconnect() override {}
  void Shutdown() override {}
};

}  // namespace kadrel
