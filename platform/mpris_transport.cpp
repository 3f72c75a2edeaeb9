#include "platform/mpris_transport.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

#include "platform/dbus_calls.h"
#include "playback/channel_process_tree.h"

namespace kadrel {

namespace {

const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString kPlaybackStatus = QStringLiteral("PlaybackStatus");
const QString kMetadata = QStringLiteral("Metadata");
// Reported when the player has moved on to a file other than ours.
const char kReplaced[] = "Replaced";

}  // namespace

void MprisSignalReceiver::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                            const QStringList& invalidated) {
  if (onProperties) onProperties(interface, changed, invalidated);
}

void MprisSignalReceiver::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner) {
  if (onOwner) onOwner(name, oldOwner, newOwner);
}

MprisTransport::MprisTransport(QString busPrefix) : prefix_(std::move(busPrefix)), receiver_(new MprisSignalReceiver) {
  receiver_->onProperties = [this](const QString& i, const QVariantMap& c, const QStringList& v) {
    OnProperties(i, c, v);
  };
  receiver_->onOwner = [this](const QString& n, const QString& o, const QString& w) { OnOwner(n, o, w); };
  receiver_->moveToThread(&thread_);
  QObject::connect(&thread_, &QThread::finished, receiver_, &QObject::deleteLater);
  thread_.setObjectName(QStringLiteral("mpris-channel"));
  thread_.start();
}

MprisTransport::~MprisTransport() {
  Shutdown();
  thread_.quit();
  thread_.wait();
}

TransportSetup MprisTransport::Setup(IChannelEvents& events) {
  std::lock_guard lock(mutex_);
  events_ = &events;
  return TransportSetup::Ok;
}

QString MprisTransport::FindName(pid_t pid) const {
  for (const QString& name : NamesWithPrefix(prefix_))
    if (pid <= 0 || ProcessBelongsTo(NameOwnerPid(name), pid)) return name;
  return {};
}

ConnectResult MprisTransport::Connect(pid_t pid) {
  if (!SessionBusAvailable()) return ConnectResult::Unavailable;
  const QString name = FindName(pid);
  if (name.isEmpty()) return ConnectResult::NotYet;
  {
    std::lock_guard lock(mutex_);
    pid_ = pid;
    name_ = name;
  }
  UnwatchOwner();
  watchingOwner_ = SessionBus().connect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"),
                                        {name}, QString(), receiver_,
                                        SLOT(nameOwnerChanged(QString, QString, QString)));
  return ConnectResult::Connected;
}

bool MprisTransport::StartStatusNotifications(int) {
  const QString name = BusName();
  if (name.isEmpty()) return false;
  watchingProperties_ =
      SessionBus().connect(name, kMprisPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"), receiver_,
                           SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
  return watchingProperties_;
}

bool MprisTransport::StopStatusNotifications(int) {
  if (!watchingProperties_) return true;
  watchingProperties_ = false;
  return SessionBus().disconnect(BusName(), kMprisPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"),
                                 receiver_, SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
}

bool MprisTransport::Execute(ChannelCommand command, const std::string& file, const std::string&, int timeoutMs) {
  const QString name = BusName();
  if (name.isEmpty()) return false;
  QString interface = kMprisPlayer;
  QString method;
  QVariantList arguments;
  switch (command) {
    case ChannelCommand::Play: {
      method = QStringLiteral("OpenUri");
      const QString uri = FileUri(file);
      {
        std::lock_guard lock(mutex_);
        playedUri_ = uri;
        sawPlayedUri_ = false;
      }
      arguments = {uri};
      break;
    }
    case ChannelCommand::Stop: method = QStringLiteral("Stop"); break;
    case ChannelCommand::Quit:
      interface = kMprisRoot;
      method = QStringLiteral("Quit");
      break;
    case ChannelCommand::Pause: method = QStringLiteral("Pause"); break;
    case ChannelCommand::Resume: method = QStringLiteral("Play"); break;
  }
  return CallMethod(name, kMprisPath, interface, method, arguments, timeoutMs).has_value();
}

std::optional<std::string> MprisTransport::RequestStatus(int timeoutMs) {
  const QString name = BusName();
  if (name.isEmpty()) return std::nullopt;
  const auto value = GetProperty(name, kMprisPath, kMprisPlayer, kPlaybackStatus, timeoutMs);
  if (!value) return std::nullopt;
  return value->toString().toStdString();
}

ReconnectResult MprisTransport::Reconnect() {
  pid_t pid;
  {
    std::lock_guard lock(mutex_);
    pid = pid_;
  }
  if (!SessionBusAvailable()) return ReconnectResult::Failed;
  const QString name = FindName(pid);
  if (name.isEmpty()) return ReconnectResult::NotYet;
  const bool wasWatching = watchingProperties_;
  StopStatusNotifications(0);
  {
    std::lock_guard lock(mutex_);
    name_ = name;
  }
  if (wasWatching && !StartStatusNotifications(0)) return ReconnectResult::Failed;
  return ReconnectResult::Connected;
}

void MprisTransport::Disconnect() {
  StopStatusNotifications(0);
  UnwatchOwner();
  std::lock_guard lock(mutex_);
  name_.clear();
}

void MprisTransport::Shutdown() {
  Disconnect();
  std::lock_guard lock(mutex_);
  events_ = nullptr;
}

QString MprisTransport::BusName() const {
  std::lock_guard lock(mutex_);
  return name_;
}

void MprisTransport::UnwatchOwner() {
  if (!watchingOwner_) return;
  watchingOwner_ = false;
  SessionBus().disconnect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"), BusName(), receiver_,
                          SLOT(nameOwnerChanged(QString, QString, QString)));
}

void MprisTransport::OnProperties(const QString& interface, const QVariantMap& changed,
                                  const QStringList& invalidated) {
  if (interface != kMprisPlayer) return;
  if (changed.contains(kMetadata)) {
    const QVariant metadata = changed.value(kMetadata);
    QVariantMap map;
    if (metadata.metaType() == QMetaType::fromType<QDBusArgument>())
      metadata.value<QDBusArgument>() >> map;
    else
      map = metadata.toMap();
    const QString url = map.value(QStringLiteral("xesam:url")).toString();
    bool replaced = false;
    {
      std::lock_guard lock(mutex_);
      if (!playedUri_.isEmpty() && !url.isEmpty()) {
        // The previous piece's metadata may still come after OpenUri: only a change
        // away from our file, once it was seen, means the player moved on.
        if (url == playedUri_)
          sawPlayedUri_ = true;
        else
          replaced = sawPlayedUri_;
      }
    }
    if (replaced) Tell(kReplaced);
  }
  if (changed.contains(kPlaybackStatus)) {
    Tell(changed.value(kPlaybackStatus).toString().toStdString());
  } else if (invalidated.contains(kPlaybackStatus)) {
    if (const auto status = RequestStatus(3000)) Tell(*status);
  }
}

void MprisTransport::OnOwner(const QString& name, const QString& oldOwner, const QString& newOwner) {
  if (name != BusName()) return;
  if (newOwner.isEmpty())
    Tell(ChannelEvent::Disconnected);
  else if (!oldOwner.isEmpty())
    Tell(ChannelEvent::ReconnectNeeded);
}

void MprisTransport::Tell(const std::string& status) {
  std::lock_guard lock(mutex_);
  if (events_ != nullptr) events_->OnStatus(status);
}

void MprisTransport::Tell(ChannelEvent event) {
  std::lock_guard lock(mutex_);
  if (events_ != nullptr) events_->OnEvent(event);
}

}  // namespace kadrel
