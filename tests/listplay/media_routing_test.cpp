// The media keys' routes and what is told to the desktop.

#include <gtest/gtest.h>

#include <vector>

#include "playback/media_routing.h"

namespace kadrel {
namespace {

class RecordingPublisher final : public IMediaControlPublisher {
 public:
  void SetStatus(MediaPlaybackStatus) override { calls.push_back("status"); }
  void SetMetadata(const MediaMetadata&) override { calls.push_back("metadata"); }
  void SetCanGoNext(bool) override { calls.push_back("next"); }
  void SetCanGoPrevious(bool) override { calls.push_back("previous"); }
  std::vector<std::string> calls;
};

TEST(MediaRouting, KeysDriveListPlayWhileItRunsAndNormalPlayOtherwise) {
  bool running = false;
  std::vector<std::string> calls;
  auto note = [&](const char* what) { return [&calls, what] { calls.push_back(what); }; };
  MediaRoutes routes;
  routes.listPlayRunning = [&] { return running; };
  routes.listPlayPause = note("lp-pause");
  routes.listPlayResume = note("lp-resume");
  routes.listPlayTogglePause = note("lp-toggle");
  routes.listPlayNext = note("lp-next");
  routes.listPlayPrevious = note("lp-previous");
  routes.listPlayQuit = note("lp-quit");
  routes.normalPause = note("pause");
  routes.normalResume = note("resume");
  routes.normalTogglePause = note("toggle");
  routes.normalExit = note("exit");
  MediaControlRouter router(routes);
  for (bool on : {false, true}) {
    running = on;
    router.MediaPlay();
    router.MediaPause();
    router.MediaPlayPause();
    router.MediaNext();
    router.MediaPrevious();
    router.MediaStop();
  }
  EXPECT_EQ(calls, (std::vector<std::string>{"resume", "pause", "toggle", "exit", "lp-resume", "lp-pause", "lp-toggle",
                                             "lp-next", "lp-previous", "lp-quit"}));
}

TEST(MediaRouting, OnlyWhatChangedIsToldAndPathsBecomeUrls) {
  RecordingPublisher publisher;
  MediaPublishing publishing(publisher);
  MediaSnapshot s;
  publishing.Publish(s);
  EXPECT_EQ(publisher.calls.size(), 4u);  // everything once
  publisher.calls.clear();
  publishing.Publish(s);
  EXPECT_TRUE(publisher.calls.empty());
  s.status = MediaPlaybackStatus::Paused;
  s.metadata = MetadataForFile("/m/a b/\x8F\x74.MID");
  publishing.Publish(s);
  EXPECT_EQ(publisher.calls, (std::vector<std::string>{"metadata", "status"}));
  EXPECT_EQ(s.metadata.url, "file:///m/a%20b/%8Ft.MID");  // the file-system bytes as they are

  TPLMusicInfo member;
  member.Folder = "/m/";
  member.Music.FileName = "SONG";
  member.Music.FileExt = ".RCP";
  member.Music.ItemKind = kArchiveMember;
  member.Music.Archiver = "PACK#1.LZH";
  const MediaMetadata md = MetadataForItem(member);
  EXPECT_EQ(md.title, "SONG.RCP");  // no title: the file name
  EXPECT_EQ(md.url, "file:///m/PACK%231.LZH");
}

}  // namespace
}  // namespace kadrel
