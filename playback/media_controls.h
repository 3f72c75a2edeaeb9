#pragma once
// The program on the desktop's media controls: what a media key or the sound applet
// asks of the player engine, and what the engine tells them about the current piece.

#include <string>

namespace kadrel {

enum class MediaPlaybackStatus { Stopped, Playing, Paused };

struct MediaMetadata {
  std::string title;     // UTF-8, display text
  std::string artist;
  std::string album;
  std::string composer;
  std::string url;       // file:// URL of the file on disk
};

// Implemented by the engine: the requests that arrive from the desktop.
class IMediaControlTarget {
 public:
  virtual ~IMediaControlTarget() = default;
  virtual void MediaPlay() = 0;
  virtual void MediaPause() = 0;
  virtual void MediaPlayPause() = 0;
  virtual void MediaNext() = 0;
  virtual void MediaPrevious() = 0;
  virtual void MediaStop() = 0;
};

// Implemented by the desktop service: what the engine publishes.
class IMediaControlPublisher {
 public:
  virtual ~IMediaControlPublisher() = default;
  virtual void SetStatus(MediaPlaybackStatus status) = 0;
  virtual void SetMetadata(const MediaMetadata& metadata) = 0;
  virtual void SetCanGoNext(bool can) = 0;
  virtual void SetCanGoPrevious(bool can) = 0;
};

}  // namespace kadrel
