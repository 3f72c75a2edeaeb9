#include "playback/channel_profile.h"

#include "base/text_helpers.h"

namespace kadrel {

std::string ProgramFileNameUpper(const std::string& program) {
  const auto slash = program.find_last_of("/\\");
  return ToUpperAscii(slash == std::string::npos ? program : program.substr(slash + 1));
}

namespace {

ChannelProfile WindowsRow(std::string name, std::string service, std::string item, std::string ended,
                          std::string secondEnd) {
  ChannelProfile p;
  p.name = std::move(name);
  p.service = std::move(service);
  p.statusItem = std::move(item);
  p.playingStatus = "play";
  p.endedStatus = std::move(ended);
  p.secondEndStatus = std::move(secondEnd);
  p.pausedStatus = "pause";
  return p;
}

std::string Quoted(const std::string& file) { return "\"" + file + "\""; }

}  // namespace

std::optional<ChannelProfile> WindowsChannelProfile(const std::string& program) {
  const std::string name = ProgramFileNameUpper(program);
  if (name == "DPW.EXE") return WindowsRow("DPW", "DPWDDE", "PlayStatus", "stop", "***");
  if (name == "WFP.EXE") return WindowsRow("WFP", "WFP", "PlayStatus", "stop", "***");
  if (name == "MPVG.EXE") {
    ChannelProfile p = WindowsRow("MPVG", "mpvg", "playStatus", "end", "stop");
    p.waitsForPlaying = true;
    return p;
  }
  if (name == "TMIDI.EXE") {
    ChannelProfile p = WindowsRow("TMIDI", "TMIDI", "getstatus", "stop", "***");
    p.polled = true;
    p.waitsForPlaying = true;
    p.quitsByClosingWindows = true;
    return p;
  }
  return std::nullopt;
}

ChannelProfile MprisChannelProfile() {
  ChannelProfile p;
  p.name = "MPRIS";
  p.playingStatus = "Playing";
  p.endedStatus = "Stopped";
  p.secondEndStatus = "Replaced";
  p.pausedStatus = "Paused";
  // A player reports "Stopped" before it has loaded the file: only a "Playing" seen
  // after the play command starts the wait for the end.
  p.waitsForPlaying = true;
  return p;
}

std::string WindowsCommandText(const ChannelProfile& profile, ChannelCommand command, const std::string& file,
                               const std::string& extra, bool listPlay) {
  const std::string& n = profile.name;
  switch (command) {
    case ChannelCommand::Play:
      if (n == "MPVG") return "open " + file + extra;
      if (n == "TMIDI") return "playfile " + Quoted(file) + extra;
      if (n == "WFP" && listPlay) return Quoted(file) + " /DQ /ONR";
      return Quoted(file) + extra;
    case ChannelCommand::Stop:
      if (n == "DPW") return "<stop";
      if (n == "WFP") return "/STOP /DQ";
      if (n == "MPVG") return "playEnd";
      return "stop";
    case ChannelCommand::Quit:
      if (n == "DPW") return "<exit";
      if (n == "WFP") return "/QUIT";
      if (n == "MPVG") return "appExit";
      return "stop";
    case ChannelCommand::Pause:
      if (n == "DPW") return "<pause";
      if (n == "WFP") return "/PAUSE";
      if (n == "MPVG") return "playPause";
      return "pause";
    case ChannelCommand::Resume:
      if (n == "DPW") return "<resume";
      if (n == "WFP") return "/RESUME";
      if (n == "MPVG") return "playPause";
      return "resume";
  }
  return {};
}

}  // namespace kadrel
