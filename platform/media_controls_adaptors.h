#pragma once
// The two MPRIS interfaces of the program's own media-controls service.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>

namespace kadrel {

class MediaControlsService;

class MprisRootAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit)
  Q_PROPERTY(bool CanRaise READ CanRaise)
  Q_PROPERTY(bool HasTrackList READ HasTrackList)
  Q_PROPERTY(QString Identity READ Identity)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)

 public:
  explicit MprisRootAdaptor(MediaControlsService* service);
  bool CanQuit() const { return false; }
  bool CanRaise() const { return false; }
  bool HasTrackList() const { return false; }
  QString Identity() const { return QStringLiteral("Kadrel"); }
  QString DesktopEntry() const { return QStringLiteral("kadrel"); }
  QStringList SupportedUriSchemes() const { return {}; }
  QStringList SupportedMimeTypes() const { return {}; }

 public Q_SLOTS:
  void Raise() {}
  void Quit() {}
};

class MprisPlayerAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(double Rate READ Rate)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ Always)
  Q_PROPERTY(bool CanPause READ Always)
  Q_PROPERTY(bool CanSeek READ Never)
  Q_PROPERTY(bool CanControl READ Always)

 public:
  explicit MprisPlayerAdaptor(MediaControlsService* service);
  QString PlaybackStatus() const;
  double Rate() const { return 1.0; }
  QVariantMap Metadata() const;
  double Volume() const { return 1.0; }
  qlonglong Position() const { return 0; }  // the external player knows it, we do not
  bool CanGoNext() const;
  bool CanGoPrevious() const;
  bool Always() const { return true; }
  bool Never() const { return false; }

 public Q_SLOTS:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong) {}
  void SetPosition(const QDBusObjectPath&, qlonglong) {}
  void OpenUri(const QString&) {}

 private:
  MediaControlsService* service_;
};

}  // namespace kadrel
