#pragma once
// The desktop's media keys routed to the program: while continuous play runs they
// drive it (pause and resume, next, previous, end), otherwise the player of normal
// play. What is published (the piece, its state) is told to the desktop only when it
// changed.

#include <functional>
#include <string>

#include "catalog/pl_music_info.h"
#include "playback/media_controls.h"

namespace kadrel {

struct MediaRoutes {
  std::function<bool()> listPlayRunning;
  std::function<void()> listPlayPause;
  std::function<void()> listPlayResume;
  std::function<void()> listPlayTogglePause;
  std::function<void()> listPlayNext;
  std::function<void()> listPlayPrevious;
  std::function<void()> listPlayQuit;
  std::function<void()> normalPause;
  std::function<void()> normalResume;
  std::function<void()> normalTogglePause;
  std::function<void()> normalExit;
};

class MediaControlRouter final : public IMediaControlTarget {
 public:
  explicit MediaControlRouter(MediaRoutes routes) : routes_(std::move(routes)) {}

  void MediaPlay() override { Route(routes_.listPlayResume, routes_.normalResume); }
  void MediaPause() override { Route(routes_.listPlayPause, routes_.normalPause); }
  void MediaPlayPause() override { Route(routes_.listPlayTogglePause, routes_.normalTogglePause); }
  // Next and previous mean something only in continuous play.
  void MediaNext() override { Route(routes_.listPlayNext, {}); }
  void MediaPrevious() override { Route(routes_.listPlayPrevious, {}); }
  void MediaStop() override { Route(routes_.listPlayQuit, routes_.normalExit); }

 private:
  void Route(const std::function<void()>& listPlay, const std::function<void()>& normal) {
    const bool running = routes_.listPlayRunning && routes_.listPlayRunning();
    const std::function<void()>& call = running ? listPlay : normal;
    if (call) call();
  }
  MediaRoutes routes_;
};

// "file://" and the path, each byte outside the unreserved set percent-encoded.
std::string FileUrl(const std::string& path);

// The piece of a play-list item: title (the file name when the item has none), artist,
// album, composer as display text, and the URL of the file (of the archive for a member).
MediaMetadata MetadataForItem(const TPLMusicInfo& item);
// The piece of normal play: only its file is known.
MediaMetadata MetadataForFile(const std::string& path);

struct MediaSnapshot {
  MediaPlaybackStatus status = MediaPlaybackStatus::Stopped;
  MediaMetadata metadata;
  bool canGoNext = false;
  bool canGoPrevious = false;
};

// Tells the publisher what differs from what it was told last.
class MediaPublishing {
 public:
  explicit MediaPublishing(IMediaControlPublisher& publisher) : publisher_(publisher) {}
  void Publish(const MediaSnapshot& snapshot);

 private:
  IMediaControlPublisher& publisher_;
  bool first_ = true;
  MediaSnapshot last_;
};

}  // namespace kadrel
