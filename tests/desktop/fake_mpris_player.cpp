// A stand-in MPRIS player for the tests: owns "org.mpris.MediaPlayer2.<name>" (with
// --instance, "<name>.instance<pid>"), plays what OpenUri gives it, pauses, stops and
// quits on request, and writes each call it gets to the log file, one line each. The
// extra interface org.kadrel.FakePlayer lets a test change its status as if the user
// had used the player's own window (SetStatus s, SetUrl s).
//
// kadrel_fake_mpris_player NAME LOGFILE [--instance]

#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTimer>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

class FakePlayer final : public QDBusVirtualObject {
 public:
  explicit FakePlayer(const QString& logPath) : log_(logPath) {
    log_.open(QIODevice::WriteOnly | QIODevice::Append);
  }

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& m, const QDBusConnection& bus) override {
    const QString member = m.member();
    const QVariantList args = m.arguments();
    QVariantList reply;
    if (m.interface() == kProperties && member == QStringLiteral("Get")) {
      reply << QVariant::fromValue(QDBusVariant(Property(args.value(1).toString())));
    } else if (m.interface() == kProperties && member == QStringLiteral("GetAll")) {
      reply << QVariantMap{{QStringLiteral("PlaybackStatus"), status_}, {QStringLiteral("Metadata"), Metadata()}};
    } else {
      Log(member + (args.isEmpty() ? QString() : QLatin1Char(' ') + args.first().toString()));
      if (member == QStringLiteral("OpenUri")) {
        url_ = args.value(0).toString();
        QTimer::singleShot(30, [this] { Change(QStringLiteral("Playing"), true); });
      } else if (member == QStringLiteral("Play")) {
        Change(QStringLiteral("Playing"), false);
      } else if (member == QStringLiteral("Pause")) {
        Change(QStringLiteral("Paused"), false);
      } else if (member == QStringLiteral("Stop")) {
        Change(QStringLiteral("Stopped"), false);
      } else if (member == QStringLiteral("Quit")) {
        QTimer::singleShot(20, qApp, &QCoreApplication::quit);
      } else if (member == QStringLiteral("SetStatus")) {
        Change(args.value(0).toString(), false);
      } else if (member == QStringLiteral("SetUrl")) {
        url_ = args.value(0).toString();
        Announce({{QStringLiteral("Metadata"), Metadata()}});
      }
    }
    bus.send(m.createReply(reply));
    return true;
  }

 private:
  QVariant Property(const QString& name) const {
    if (name == QStringLiteral("PlaybackStatus")) return status_;
    if (name == QStringLiteral("Metadata")) return Metadata();
    if (name == QStringLiteral("CanQuit")) return true;
    return {};
  }
  QVariantMap Metadata() const { return {{QStringLiteral("xesam:url"), url_}}; }
  void Change(const QString& status, bool withMetadata) {
    status_ = status;
    QVariantMap changed{{QStringLiteral("PlaybackStatus"), status}};
    if (withMetadata) changed.insert(QStringLiteral("Metadata"), Metadata());
    Announce(changed);
  }
  void Announce(const QVariantMap& changed) {
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kProperties, QStringLiteral("PropertiesChanged"));
    signal << kPlayer << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
  }
  void Log(const QString& line) {
    log_.write(line.toUtf8() + '\n');
    log_.flush();
  }

  QFile log_;
  QString status_ = QStringLiteral("Stopped");
  QString url_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) return 2;
  QString name = QStringLiteral("org.mpris.MediaPlayer2.") + args[1];
  if (args.contains(QStringLiteral("--instance"))) name += QStringLiteral(".instance%1").arg(getpid());
  FakePlayer player(args[2]);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerVirtualObject(kPath, &player) || !bus.registerService(name)) return 3;
  return app.exec();
}
