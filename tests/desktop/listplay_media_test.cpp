// ListPlay on the desktop's media controls: a request from another connection on the
// bus reaches the engine, and the current item is what the desktop reads.

#include <gtest/gtest.h>

// The engine's fakes first: they use "slots" as a name, which Qt's headers take.
#include "listplay/listplay_fakes.h"
#include "listplay/listplay_test_util.h"

#include <QDBusArgument>

#include "desktop_wait.h"
#include "platform/dbus_calls.h"
#include "platform/media_controls_service.h"
#include "platform/mpris_transport.h"
#include "playback/listplay_engine.h"
#include "playback/media_routing.h"

namespace kadrel::test {
namespace {

TEST(MediaControls, NextFromTheDesktopReachesListPlayAndTheCurrentItemIsPublished) {
  if (!SessionBusAvailable()) GTEST_SKIP() << "no session bus (run under dbus-run-session)";
  TPLInfo list = MakeList(3);
  TPLMusicInfo& first = *list.Items[0];
  first.Folder = "/music/my songs/";
  first.Music.Title = "\x8F\x74\x95\x97";  // 春風 in CP932
  first.Music.Artist = "Artist";
  first.Music.Composer = "Composer";

  SerialBridge bridge;
  SilentMessageBox box;
  FakePlayers players;
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  FakePreparation preparation;
  FastClock clock;
  ListPlayEngine engine({list, bridge, box, players, preparation, clock, {}});
  int normalExits = 0;
  MediaRoutes routes;
  routes.listPlayRunning = [&] { return engine.Running(); };
  routes.listPlayNext = [&] { engine.RequestNext(); };
  routes.listPlayQuit = [&] { engine.Stop(); };
  routes.normalExit = [&] { ++normalExits; };
  MediaControlRouter router(routes);
  MediaControlsService service(router);
  const QString name = MediaControlsService::DefaultBusName() + QStringLiteral(".listplay");
  ASSERT_TRUE(service.Register(name, QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                                   QStringLiteral("kadrel-listplay-media"))));
  ASSERT_TRUE(engine.Start(0, kModeNormal, 1));
  ASSERT_TRUE(ServiceUntil([&] { return players.LaunchCount() == 1; }));

  MediaSnapshot snapshot;
  bridge.RunOnWindowThread([&] { snapshot.metadata = MetadataForItem(*list.Items[0]); });
  snapshot.status = MediaPlaybackStatus::Playing;
  snapshot.canGoNext = true;
  MediaPublishing publishing(service);
  publishing.Publish(snapshot);

  const auto metadata = OffThread([&] { return GetProperty(name, kMprisPath, kMprisPlayer, QStringLiteral("Metadata"), 3000); });
  ASSERT_TRUE(metadata.has_value());
  QVariantMap map;
  metadata->value<QDBusArgument>() >> map;
  EXPECT_EQ(map.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("春風"));
  EXPECT_EQ(qdbus_cast<QStringList>(map.value(QStringLiteral("xesam:artist"))), QStringList{QStringLiteral("Artist")});
  EXPECT_EQ(qdbus_cast<QStringList>(map.value(QStringLiteral("xesam:composer"))), QStringList{QStringLiteral("Composer")});
  EXPECT_EQ(map.value(QStringLiteral("xesam:url")).toString(), QStringLiteral("file:///music/my%20songs/SONG0.MID"));

  const auto call = [&](const char* method) {
    return OffThread([&] { return CallMethod(name, kMprisPath, kMprisPlayer, QString::fromLatin1(method), {}, 3000).has_value(); });
  };
  EXPECT_TRUE(call("Next"));
  ASSERT_TRUE(ServiceUntil([&] { return players.LaunchCount() == 2; }));
  EXPECT_EQ(players.maxAlive.load(), 1);

  // Stop ends ListPlay, not normal play.
  EXPECT_TRUE(call("Stop"));
  ASSERT_TRUE(ServiceUntil([&] { return !engine.Running(); }));
  EXPECT_EQ(normalExits, 0);
  EXPECT_EQ(players.alive.load(), 0);
}

}  // namespace
}  // namespace kadrel::test
