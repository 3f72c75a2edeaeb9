#include "support/generated_files.h"
#include "base/byte_cursor.h"

namespace kadrel::bench {
namespace {

std::string Be32(uint32_t v) {
  std::string bytes;
  AppendBe(bytes, v, 4);
  return bytes;
}

}  // namespace

std::string MusicFile(int i, bool titled, std::string& name) {
  const std::string n = std::to_string(i);
  std::string body(2000 + (i % 7) * 300, '\x11');
  switch (i % 6) {
    case 0: {
      std::string track = (titled ? std::string("\0\xFF\x03\x08", 4) + "Title " + n.substr(0, 2) : "") + body;
      name = "S" + n + ".MID";
      return "MThd" + Be32(6) + std::string("\0\1\0\2\1\xE0", 6) + "MTrk" + Be32(static_cast<uint32_t>(track.size())) + track;
    }
    case 1: {
      std::string rcp(2400, ' ');
      rcp.replace(0, 28, "RCM-PC98V2.0(C)COME ON MUSIC");
      if (titled) rcp.replace(32, 10, "RCP song " + n.substr(0, 1));
      rcp.replace(433, 15, std::string(15, '@'));
      name = "R" + n + ".RCP";
      return rcp;
    }
    case 2: {
      name = "M" + n + ".MP3";
      std::string tag = "TAG" + std::string("Mp3 ") + n;
      tag.resize(128, '\0');
      return std::string("\xFF\xFB\x90\x64", 4) + body + (titled ? tag : "");
    }
    case 3:
      name = "W" + n + ".WAV";
      return "RIFF" + std::string(4, '\0') + "WAVEfmt " + body;
    case 4:
      name = "D" + n + ".MOD";
      return (titled ? "Mod " + n : std::string()).append(20, '\0').substr(0, 20) + body;
    default: {
      name = "V" + n + ".VQF";
      std::string chunk = titled ? "NAME" + Be32(6) + "VqSong" : "COMT" + Be32(2) + "  ";
      return "TWIN97012000" + Be32(static_cast<uint32_t>(chunk.size())) + chunk + body;
    }
  }
}

}  // namespace kadrel::bench
