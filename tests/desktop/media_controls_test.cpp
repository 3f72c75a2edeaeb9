// The program's own media-controls service, seen from another connection on the bus.

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <mutex>

#include "desktop_wait.h"
#include "platform/dbus_calls.h"
#include "platform/media_controls_service.h"
#include "platform/mpris_transport.h"

namespace kadrel::test {
namespace {

class RecordingTarget final : public IMediaControlTarget {
 public:
  void MediaPlay() override { Note("play"); }
  void MediaPause() override { Note("pause"); }
  void MediaPlayPause() override { Note("playpause"); }
  void MediaNext() override { Note("next"); }
  void MediaPrevious() override { Note("previous"); }
  void MediaStop() override { Note("stop"); }
  std::vector<std::string> Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  void Note(const char* call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }
  std::mutex mutex_;
  std::vector<std::string> calls_;
};

class StatusLog final : public IChannelEvents {
 public:
  void OnStatus(const std::string& status) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(status);
  }
  void OnEvent(ChannelEvent) override {}
  std::vector<std::string> Statuses() {
    std::lock_guard lock(mutex_);
    return statuses_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> statuses_;
};

TEST(MediaControls, RequestsReachTheTargetAndWhatIsPublishedReadsBack) {
  if (!SessionBusAvailable()) GTEST_SKIP() << "no session bus (run under dbus-run-session)";
  RecordingTarget target;
  MediaControlsService service(target);
  // A connection of its own, so that the calls below really cross the bus.
  ASSERT_TRUE(service.Register(MediaControlsService::DefaultBusName(),
                               QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("kadrel-media"))));
  service.SetMetadata({"春風", "作者", "アルバム", "作曲者", "file:///m/HARU.MID"});
  service.SetCanGoNext(true);

  MprisTransport probe(MediaControlsService::DefaultBusName());
  StatusLog statuses;
  ASSERT_EQ(probe.Setup(statuses), TransportSetup::Ok);
  ASSERT_EQ(OffThread([&] { return probe.Connect(getpid()); }), ConnectResult::Connected);
  ASSERT_TRUE(OffThread([&] { return probe.StartStatusNotifications(3000); }));

  service.SetStatus(MediaPlaybackStatus::Playing);
  ASSERT_TRUE(ServiceUntil([&] { return !statuses.Statuses().empty(); }));
  EXPECT_EQ(statuses.Statuses().back(), "Playing");
  EXPECT_EQ(OffThread([&] { return probe.RequestStatus(3000); }), std::optional<std::string>("Playing"));

  const auto call = [&](const char* method) {
    return OffThread([&] {
      return CallMethod(MediaControlsService::DefaultBusName(), kMprisPath, kMprisPlayer, QString::fromLatin1(method),
                        {}, 3000)
          .has_value();
    });
  };
  EXPECT_TRUE(call("Next"));
  EXPECT_TRUE(call("PlayPause"));
  EXPECT_TRUE(call("Stop"));
  EXPECT_EQ(target.Calls(), (std::vector<std::string>{"next", "playpause", "stop"}));

  const auto read = [&](const char* property) {
    return OffThread([&] {
      return GetProperty(MediaControlsService::DefaultBusName(), kMprisPath, kMprisPlayer,
                         QString::fromLatin1(property), 3000);
    });
  };
  const auto metadata = read("Metadata");
  ASSERT_TRUE(metadata.has_value());
  QVariantMap map;
  metadata->value<QDBusArgument>() >> map;
  EXPECT_EQ(map.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("春風"));
  EXPECT_EQ(map.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("アルバム"));
  EXPECT_EQ(map.value(QStringLiteral("xesam:url")).toString(), QStringLiteral("file:///m/HARU.MID"));
  EXPECT_EQ(qdbus_cast<QStringList>(map.value(QStringLiteral("xesam:artist"))), QStringList{QStringLiteral("作者")});
  EXPECT_EQ(qdbus_cast<QStringList>(map.value(QStringLiteral("xesam:composer"))),
            QStringList{QStringLiteral("作曲者")});
  EXPECT_TRUE(qdbus_cast<QDBusObjectPath>(map.value(QStringLiteral("mpris:trackid"))).path().startsWith(QStringLiteral("/org/kadrel/track/")));
  EXPECT_TRUE(read("CanGoNext")->toBool());
  EXPECT_FALSE(read("CanGoPrevious")->toBool());
  probe.Shutdown();
}

TEST(MediaControls, NoSessionBusMeansNoServiceAndNoComplaint) {
  RecordingTarget target;
  MediaControlsService service(target);
  // An invalid connection stands for a desktop without a session bus.
  EXPECT_FALSE(service.Register(MediaControlsService::DefaultBusName(), QDBusConnection(QStringLiteral("none"))));
  service.SetStatus(MediaPlaybackStatus::Playing);  // nothing to announce to, nothing breaks
  EXPECT_FALSE(service.Registered());
}

}  // namespace
}  // namespace kadrel::test
