#pragma once
// The program on the desktop's media controls: the MPRIS service
// "org.mpris.MediaPlayer2.kadrel". Media keys and sound applets reach the engine's
// IMediaControlTarget; what the engine publishes is announced with PropertiesChanged.
// Without a session bus nothing is registered and nothing is said.

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <atomic>
#include <mutex>
#include <optional>

#include "playback/media_controls.h"

namespace kadrel {

class MediaControlsService final : public QObject, public IMediaControlPublisher {
  Q_OBJECT

 public:
  static QString DefaultBusName() { return QStringLiteral("org.mpris.MediaPlayer2.kadrel"); }

  explicit MediaControlsService(IMediaControlTarget& target, QObject* parent = nullptr);
  ~MediaControlsService() override;

  // False, quietly, without a session bus or when the name is taken. `connection`
  // defaults to the session bus.
  bool Register(const QString& busName = DefaultBusName(), std::optional<QDBusConnection> connection = {});
  bool Registered() const { return registered_; }

  // Safe from any thread.
  void SetStatus(MediaPlaybackStatus status) override;
  void SetMetadata(const MediaMetadata& metadata) override;
  void SetCanGoNext(bool can) override;
  void SetCanGoPrevious(bool can) override;

  // Read by the bus adaptors.
  IMediaControlTarget& Target() { return target_; }
  QString StatusText() const;
  QVariantMap MetadataMap() const;
  bool CanGoNext() const;
  bool CanGoPrevious() const;

 private:
  void Announce(const QVariantMap& changed);

  IMediaControlTarget& target_;
  QString busName_;
  QDBusConnection bus_{QString()};
  std::atomic<bool> registered_{false};

  mutable std::mutex mutex_;
  MediaPlaybackStatus status_ = MediaPlaybackStatus::Stopped;
  MediaMetadata metadata_;
  unsigned trackNumber_ = 0;  // a new track id for each piece
  bool canGoNext_ = false;
  bool canGoPrevious_ = false;
};

}  // namespace kadrel
