#include "platform/media_controls_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>

#include "platform/dbus_calls.h"
#include "platform/media_controls_adaptors.h"

namespace kadrel {

namespace {

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString StatusName(MediaPlaybackStatus status) {
  switch (status) {
    case MediaPlaybackStatus::Playing: return QStringLiteral("Playing");
    case MediaPlaybackStatus::Paused: return QStringLiteral("Paused");
    case MediaPlaybackStatus::Stopped: break;
  }
  return QStringLiteral("Stopped");
}

}  // namespace

MediaControlsService::MediaControlsService(IMediaControlTarget& target, QObject* parent)
    : QObject(parent), target_(target) {
  new MprisRootAdaptor(this);
  new MprisPlayerAdaptor(this);
}

MediaControlsService::~MediaControlsService() {
  if (!registered_) return;
  bus_.unregisterService(busName_);
  bus_.unregisterObject(kMprisPath);
}

bool MediaControlsService::Register(const QString& busName, std::optional<QDBusConnection> connection) {
  QDBusConnection bus = connection ? *connection : SessionBus();
  if (registered_ || !bus.isConnected()) return registered_;
  if (!bus.registerObject(kMprisPath, this, QDBusConnection::ExportAdaptors)) return false;
  if (!bus.registerService(busName)) {
    bus.unregisterObject(kMprisPath);
    return false;
  }
  busName_ = busName;
  bus_ = bus;
  registered_ = true;
  return true;
}

void MediaControlsService::SetStatus(MediaPlaybackStatus status) {
  {
    std::lock_guard lock(mutex_);
    if (status_ == status) return;
    status_ = status;
  }
  Announce({{QStringLiteral("PlaybackStatus"), StatusName(status)}});
}

void MediaControlsService::SetMetadata(const MediaMetadata& metadata) {
  {
    std::lock_guard lock(mutex_);
    metadata_ = metadata;
    ++trackNumber_;
  }
  Announce({{QStringLiteral("Metadata"), MetadataMap()}});
}

void MediaControlsService::SetCanGoNext(bool can) {
  {
    std::lock_guard lock(mutex_);
    if (canGoNext_ == can) return;
    canGoNext_ = can;
  }
  Announce({{QStringLiteral("CanGoNext"), can}});
}

void MediaControlsService::SetCanGoPrevious(bool can) {
  {
    std::lock_guard lock(mutex_);
    if (canGoPrevious_ == can) return;
    canGoPrevious_ = can;
  }
  Announce({{QStringLiteral("CanGoPrevious"), can}});
}

QString MediaControlsService::StatusText() const {
  std::lock_guard lock(mutex_);
  return StatusName(status_);
}

QVariantMap MediaControlsService::MetadataMap() const {
  std::lock_guard lock(mutex_);
  QVariantMap map;
  // Track ids are object paths of our own; "NoTrack" stands for no track.
  map.insert(QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(trackNumber_ == 0 ? QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")
                                                                   : QStringLiteral("/org/kadrel/track/%1").arg(trackNumber_))));
  if (trackNumber_ == 0) return map;
  const auto list = [](const std::string& s) { return s.empty() ? QStringList() : QStringList{Text(s)}; };
  map.insert(QStringLiteral("xesam:title"), Text(metadata_.title));
  map.insert(QStringLiteral("xesam:artist"), list(metadata_.artist));
  map.insert(QStringLiteral("xesam:album"), Text(metadata_.album));
  map.insert(QStringLiteral("xesam:composer"), list(metadata_.composer));
  map.insert(QStringLiteral("xesam:url"), Text(metadata_.url));
  return map;
}

bool MediaControlsService::CanGoNext() const {
  std::lock_guard lock(mutex_);
  return canGoNext_;
}

bool MediaControlsService::CanGoPrevious() const {
  std::lock_guard lock(mutex_);
  return canGoPrevious_;
}

void MediaControlsService::Announce(const QVariantMap& changed) {
  if (!registered_) return;
  QDBusMessage signal = QDBusMessage::createSignal(kMprisPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"));
  signal << kMprisPlayer << changed << QStringList();
  bus_.send(signal);
}

}  // namespace kadrel
