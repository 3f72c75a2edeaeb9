#pragma once
// The control channel to a running player: one conversation per play that hands the
// player its file, learns when playing has started and ended, pauses and resumes it,
// and asks it to stop or quit. The conversation runs on a thread of its own; the
// transport (D-Bus, or nothing for programs that cannot be driven here) is injected.

#include <sys/types.h>

#include <memory>
#include <string>

namespace kadrel {

// What the conversation last learnt of the player.
enum class PlayerState { Unknown, Playing, Paused, Ended };

// Launch flags of a conversation.
enum ChannelLaunchFlags : int {
  kChannelListPlay = 1,     // driven by ListPlay
  kChannelNormalPlay = 2,   // driven by the main window's play commands
  kChannelLoopRequested = 4,
};

struct ChannelPlay {
  std::string program;  // the player's program path as stored in its slot
  std::string file;     // the file to play, bytes as on disk
  std::string extra;    // the slot's extra text
  int flags = kChannelNormalPlay;
  pid_t pid = -1;       // the player's process, when we started it
};

class IPlayerChannel {
 public:
  virtual ~IPlayerChannel() = default;
  // Starts the conversation thread for `play`. Returns at once.
  virtual void Start(const ChannelPlay& play) = 0;
  // A new file for a running normal-play conversation.
  virtual void NewFile(const std::string& file, const std::string& extra) = 0;
  // Explicit requests: never a toggle, so that a lost request cannot invert the state.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Replay the current file (ListPlay).
  virtual void Replay() = 0;
  // Stop playing and end the conversation; with `quitPlayer` also ask the player to quit.
  virtual void Stop(bool quitPlayer) = 0;
  // Whether the conversation thread still runs.
  virtual bool Running() const = 0;
  // Waits until the conversation thread has ended (after Stop or the player's end).
  virtual void Join() = 0;
  virtual PlayerState State() const = 0;
  // Whether the user chose, in one of the channel's error boxes, to end (ListPlay then
  // ends after the item).
  virtual bool EndRequested() const { return false; }
};

// Makes conversations for player programs.
class IPlayerChannelFactory {
 public:
  virtual ~IPlayerChannelFactory() = default;
  // Whether `program` is driven through a channel at all (it is then started bare).
  virtual bool SpeaksChannel(const std::string& program) const = 0;
  // A new conversation for `program`, or nullptr when it speaks none.
  virtual std::unique_ptr<IPlayerChannel> Create(const std::string& program) = 0;
  // Whether a player of `program` is running and answers.
  virtual bool IsRunning(const std::string& program) = 0;
  // Asks a running player of `program` to quit; false when it cannot be asked.
  virtual bool SendQuit(const std::string& program) = 0;
};

}  // namespace kadrel
