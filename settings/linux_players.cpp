#include "settings/linux_players.h"

#include <unistd.h>

#include "settings/platform_folders.h"

namespace kadrel {

namespace {

constexpr uint32_t Bit(int row) { return 1u << row; }
constexpr uint32_t kSmf = Bit(1) | Bit(2) | Bit(3) | Bit(4);
constexpr uint32_t kRecomposer = Bit(5) | Bit(6) | Bit(7) | Bit(8);
constexpr uint32_t kMpeg = Bit(9) | Bit(10) | Bit(11);
constexpr uint32_t kMod = Bit(12);
constexpr uint32_t kVqf = Bit(13);
constexpr uint32_t kWave = Bit(15);
constexpr uint32_t kAiff = Bit(16);
constexpr uint32_t kDigital = kMpeg | kMod | kVqf | kWave | kAiff;

bool Readable(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

}  // namespace

const std::vector<LinuxPlayer>& LinuxPlayers() {
  static const std::vector<LinuxPlayer> table = {
      {"timidity", kSmf | kRecomposer | kMod, {"-idq", "-c", "{timidity-cfg}"}},
      {"fluidsynth", kSmf, {"-n", "-i", "-q", "{sf2}"}},
      {"mpg123", kMpeg, {"-q"}},
      {"play", kWave | kAiff | kMpeg, {"-q"}},
      {"xmp", kMod, {"-q", "--nocmd"}},
      {"openmpt123", kMod, {"--batch", "-q"}},
      {"mpv", kDigital, {"--no-video", "--really-quiet"}},
      {"cvlc", kDigital, {"--dbus", "--quiet", "--no-video", "--play-and-exit"}, PlayerEnd::ProcessExit,
       PlayerPause::Mpris, false, true},
      {"vlc", kDigital, {"--dbus", "--quiet", "--no-video", "--play-and-exit"}, PlayerEnd::ProcessExit,
       PlayerPause::Mpris, false, true},
      {"audacious", kMpeg | kMod | kWave | kAiff, {"-H", "-q"}, PlayerEnd::Mpris, PlayerPause::Mpris, true, true},
      {"ffplay", kDigital, {"-nodisp", "-autoexit", "-loglevel", "error"}},
      {"mplayer", kDigital, {"-really-quiet", "-novideo"}},
      {"aplay", kWave, {"-q"}},
  };
  return table;
}

const LinuxPlayer* FindLinuxPlayer(std::string_view programPath) {
  const size_t slash = programPath.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  for (const LinuxPlayer& p : LinuxPlayers())
    if (name == p.name) return &p;
  return nullptr;
}

std::string DefaultSoundFont() {
  for (const char* path : {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
                           "/usr/share/sounds/sf2/default-GM.sf2"})
    if (Readable(path)) return path;
  return {};
}

std::string TimidityConfig() {
  // Debian's own timidity.cfg names a set that may not be installed; each soundfont
  // package brings a configuration of its own.
  static const std::pair<const char*, const char*> kConfigs[] = {
      {"/etc/timidity/fluidr3_gm.cfg", "/usr/share/sounds/sf2/FluidR3_GM.sf2"},
      {"/etc/timidity/timgm6mb.cfg", "/usr/share/sounds/sf2/TimGM6mb.sf2"},
      {"/etc/timidity/freepats.cfg", "/usr/share/midi/freepats/freepats.cfg"},
  };
  for (const auto& [config, data] : kConfigs)
    if (Readable(config) && Readable(data)) return config;
  return {};
}

std::vector<std::string> LinuxPlayerSwitches(const LinuxPlayer& player) {
  std::vector<std::string> out;
  for (std::string_view s : player.switches) {
    std::string value;
    if (s == "{sf2}") value = DefaultSoundFont();
    else if (s == "{timidity-cfg}") value = TimidityConfig();
    else {
      out.emplace_back(s);
      continue;
    }
    if (!value.empty()) out.push_back(value);
    else if (s == "{timidity-cfg}" && !out.empty() && out.back() == "-c") out.pop_back();
  }
  return out;
}

std::vector<FreshPlayerSlot> FreshInstallPlayerSlots(std::string_view pathList) {
  // Each format goes to the player that does it best; a general player takes the rest.
  static constexpr std::pair<std::string_view, uint32_t> kPreference[] = {
      {"timidity", kSmf | kRecomposer}, {"fluidsynth", kSmf}, {"mpg123", kMpeg}, {"play", kWave | kAiff},
      {"xmp", kMod}, {"openmpt123", kMod}, {"mpv", kDigital}, {"vlc", kDigital}, {"audacious", kDigital},
      {"ffplay", kDigital}, {"mplayer", kDigital}, {"aplay", kWave},
  };
  std::vector<FreshPlayerSlot> slots;
  uint32_t covered = 0;
  for (const auto& [name, wanted] : kPreference) {
    if (slots.size() == 6) break;
    const uint32_t formats = wanted & FindLinuxPlayer(name)->formats & ~covered;
    if (formats == 0) continue;
    std::string path = FindProgramOnPath(pathList, {name});
    if (path.empty()) continue;
    slots.push_back({std::string(name), path, formats});
    covered |= formats;
  }
  return slots;
}

}  // namespace kadrel
