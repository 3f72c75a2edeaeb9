#pragma once
// The player conversation over MPRIS on the session bus: the player's bus name is the
// one among its program's names whose owner is the player's process (or runs in its
// session); the file goes over OpenUri; PlaybackStatus arrives with PropertiesChanged
// or is read with Get; pause and resume are the explicit Pause and Play.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>
#include <memory>
#include <mutex>

#include "playback/channel_transport.h"

namespace kadrel {

// Receives the bus signals on the transport's own thread.
class MprisSignalReceiver : public QObject {
  Q_OBJECT

 public:
  std::function<void(const QString&, const QVariantMap&, const QStringList&)> onProperties;
  std::function<void(const QString&, const QString&, const QString&)> onOwner;

 public Q_SLOTS:
  void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
  void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
};

class MprisTransport final : public IChannelTransport {
 public:
  // `busPrefix`: "org.mpris.MediaPlayer2.vlc" finds that name and its ".instance…" names.
  explicit MprisTransport(QString busPrefix);
  ~MprisTransport() override;

  TransportSetup Setup(IChannelEvents& events) override;
  ConnectResult Connect(pid_t pid) override;
  bool StartStatusNotifications(int timeoutMs) override;
  bool StopStatusNotifications(int timeoutMs) override;
  bool Execute(ChannelCommand command, const std::string& file, const std::string& extra, int timeoutMs) override;
  std::optional<std::string> RequestStatus(int timeoutMs) override;
  ReconnectResult Reconnect() override;
  void Disconnect() override;
  void Shutdown() override;

  // The bus name the conversation talks to (empty before connecting).
  QString BusName() const;

 private:
  QString FindName(pid_t pid) const;
  void OnProperties(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
  void OnOwner(const QString& name, const QString& oldOwner, const QString& newOwner);
  void Tell(const std::string& status);
  void Tell(ChannelEvent event);
  void UnwatchOwner();

  const QString prefix_;
  QThread thread_;
  MprisSignalReceiver* receiver_;  // lives on thread_

  mutable std::mutex mutex_;
  IChannelEvents* events_ = nullptr;
  pid_t pid_ = -1;
  QString name_;
  QString playedUri_;
  bool sawPlayedUri_ = false;
  bool watchingOwner_ = false;
  bool watchingProperties_ = false;
};

}  // namespace kadrel
