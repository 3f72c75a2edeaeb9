#pragma once
// The words of a player conversation: its status values and how status arrives. The
// four Windows players that are driven by their own message protocol each have a row
// of service, item and command texts; MPRIS players share one row.

#include <optional>
#include <string>

#include "playback/channel_transport.h"

namespace kadrel {

struct ChannelProfile {
  std::string name;        // "DPW", "WFP", "MPVG", "TMIDI", "MPRIS"
  std::string service;     // service and topic of the Windows protocol
  std::string statusItem;
  std::string playingStatus;
  std::string endedStatus;
  std::string secondEndStatus;
  std::string pausedStatus;
  bool polled = false;               // status is asked for, never delivered
  bool waitsForPlaying = false;      // the end is waited for only after "playing" was seen
  bool quitsByClosingWindows = false;  // its quit command is its stop command
};

// Upper-cased file name of a program path ("/x/dpw.exe" -> "DPW.EXE").
std::string ProgramFileNameUpper(const std::string& program);

// The row of DPW.EXE, WFP.EXE, MPVG.EXE or TMIDI.EXE, by the program's file name.
std::optional<ChannelProfile> WindowsChannelProfile(const std::string& program);

// MPRIS players: the transport maps PlaybackStatus onto these values, and a piece that
// is replaced by another one onto the second end status.
ChannelProfile MprisChannelProfile();

// The command text the Windows protocol sends to `profile`'s program.
std::string WindowsCommandText(const ChannelProfile& profile, ChannelCommand command, const std::string& file,
                               const std::string& extra, bool listPlay);

}  // namespace kadrel
