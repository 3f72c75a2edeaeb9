#include "rcpcv/rcp_fixture.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>

#include <fmt/format.h>

namespace kadrel::test {
namespace {

void Put(std::string& s, size_t at, std::string_view bytes) {
  if (s.size() < at + bytes.size()) s.resize(at + bytes.size(), ' ');
  s.replace(at, bytes.size(), bytes);
}
std::string Le(uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(v >> (8 * i) & 0xFF));
  return s;
}
std::string Byte(int v) { return std::string(1, static_cast<char>(v)); }

}  // namespace

std::string U(int cmd, int step, int p1, int p2) { return Byte(cmd) + Byte(step) + Byte(p1) + Byte(p2); }
std::string G(int cmd, int p2, int step, int p1) { return Byte(cmd) + Byte(p2) + Le(step, 2) + Le(p1, 2); }

std::string Fixture::Build() const {
  std::string s;
  const size_t header = g ? 0xC98 : 0x586;
  s.assign(header, ' ');
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = (g ? 0xB18 : 0x406) + i * 48 + (g ? 23 : 24);
    Put(s, at, std::string(g ? 25 : 24, '\xF7'));
    Put(s, at, userExclusive[i]);
  }
  if (!g) {
    Put(s, 0, "RCM-PC98V2.0(C)COME ON MUSIC\r\n");
    Put(s, 0x1C0, Byte(timebase & 0xFF) + Byte(tempo) + Byte(numerator) + Byte(denominator) + Byte(key) + Byte(bias));
    Put(s, 0x1C6, std::string(32, '\0'));
    Put(s, 0x1C6, cm6);
    Put(s, 0x1D6, gsd);
    Put(s, 0x1E6, Byte(trackCount) + Byte(timebase >> 8));
  } else {
    Put(s, 0, std::string("COME ON MUSIC RECOMPOSER RCP3.0") + '\0');
    Put(s, 0x208, Le(trackCount, 2) + Le(timebase, 2) + Le(tempo, 2) + Byte(numerator) + Byte(denominator) +
                      Byte(key) + Byte(bias));
    Put(s, 0x298, std::string(48, '\0'));
    Put(s, 0x298, gsd);
    Put(s, 0x2A8, gsdB);
    Put(s, 0x2B8, cm6);
  }
  for (const FixtureTrack& t : tracks) {
    std::string memo = t.memo;
    memo.resize(36, ' ');
    const std::string end = g ? G(0xFE, 0, 0, 0) : U(0xFE, 0);
    const std::string fields = Byte(t.channel) + Byte(t.key) + Byte(t.startOffset) + Byte(t.mode) + memo;
    const size_t size = (g ? 46 : 44) + t.units.size() + end.size();
    const uint32_t length = t.length >= 0 ? static_cast<uint32_t>(t.length) : static_cast<uint32_t>(size);
    s += g ? Le(length, 4) + Byte(1) + Byte(0) + fields : Le(length, 2) + Byte(1) + Byte(0) + fields;
    s += t.units + end;
  }
  return s;
}

namespace {

uint32_t VarLen(std::string_view b, size_t& i) {
  uint32_t v = 0;
  for (int n = 0; n < 4 && i < b.size(); ++n) {
    const uint8_t c = uint8_t(b[i++]);
    v = v << 7 | (c & 0x7F);
    if (c < 0x80) break;
  }
  return v;
}
uint32_t Be(std::string_view b, size_t i, int n) {
  uint32_t v = 0;
  for (int k = 0; k < n; ++k) v = v << 8 | uint8_t(b[i + k]);
  return v;
}

}  // namespace

Smf ParseSmf(std::string_view b) {
  Smf smf;
  if (b.size() < 14 || b.substr(0, 4) != "MThd" || Be(b, 4, 4) != 6 || Be(b, 8, 2) != 1) return smf;
  smf.tracks = static_cast<int>(Be(b, 10, 2));
  smf.division = static_cast<int>(Be(b, 12, 2));
  size_t pos = 14;
  for (int t = 0; t < smf.tracks; ++t) {
    if (pos + 8 > b.size() || b.substr(pos, 4) != "MTrk") return smf;
    const size_t end = pos + 8 + Be(b, pos + 4, 4);
    if (end > b.size()) return smf;
    size_t i = pos + 8;
    int64_t tick = 0;
    bool ended = false;
    while (i < end && !ended) {
      tick += VarLen(b, i);
      const uint8_t s = uint8_t(b[i++]);
      std::string text;
      if (s == 0xFF) {
        const uint8_t type = uint8_t(b[i++]);
        const uint32_t n = VarLen(b, i);
        const std::string_view d = b.substr(i, n);
        i += n;
        if (type == 0x51) text = fmt::format("tempo {}", Be(d, 0, 3));
        else if (type == 0x59) text = fmt::format("key {} {}", int(int8_t(d[0])), int(d[1]));
        else if (type == 0x21) text = fmt::format("port {}", int(d[0]));
        else if (type == 0x2F) ended = true;
        else text = fmt::format("meta{:02X} {}", type, d);
      } else if (s == 0xF0) {
        const uint32_t n = VarLen(b, i);
        text = "sysex F0";
        for (uint32_t k = 0; k < n; ++k) text += fmt::format(" {:02X}", uint8_t(b[i + k]));
        i += n;
      } else if (s >= 0x80 && s < 0xF0) {
        const int ch = s & 15, d1 = uint8_t(b[i]), d2 = uint8_t(b[i + 1]);
        switch (s & 0xF0) {
          case 0x80: text = fmt::format("off {} {}", ch, d1); break;
          case 0x90: text = d2 ? fmt::format("on {} {} {}", ch, d1, d2) : fmt::format("off {} {}", ch, d1); break;
          case 0xA0: text = fmt::format("poly {} {} {}", ch, d1, d2); break;
          case 0xB0: text = fmt::format("cc {} {} {}", ch, d1, d2); break;
          case 0xC0: text = fmt::format("pc {} {}", ch, d1); break;
          case 0xD0: text = fmt::format("press {} {}", ch, d1); break;
          default: text = fmt::format("bend {} {} {}", ch, d1, d2); break;
        }
        i += (s & 0xF0) == 0xC0 || (s & 0xF0) == 0xD0 ? 1 : 2;
      } else {
        return smf;  // running status is never written by us
      }
      if (!text.empty()) smf.events.push_back({t, tick, fmt::format("{} {}", tick, text)});
    }
    if (!ended || i != end) return smf;
    smf.events.push_back({t, tick, fmt::format("{} end", tick)});
    pos = end;
  }
  smf.valid = pos == b.size();
  return smf;
}

double Smf::LastNoteSeconds() const {
  std::map<int64_t, double> tempo{{0, 500000}};
  int64_t last = 0;
  for (const auto& e : events) {
    if (e.text.find(" off ") != std::string::npos) last = std::max(last, e.tick);
    const size_t at = e.text.find(" tempo ");
    if (at != std::string::npos) tempo[e.tick] = std::stod(e.text.substr(at + 7));
  }
  double seconds = 0;
  for (auto it = tempo.begin(); it != tempo.end(); ++it) {
    auto next = std::next(it);
    const int64_t until = next == tempo.end() ? last : std::min(next->first, last);
    if (until > it->first) seconds += double(until - it->first) * it->second / 1e6 / division;
  }
  return seconds;
}

std::vector<std::string> Texts(const Smf& smf, std::string_view kinds) {
  std::vector<std::string> out;
  std::istringstream wanted{std::string(kinds)};
  std::vector<std::string> list{std::istream_iterator<std::string>(wanted), {}};
  for (const auto& e : smf.events) {
    const size_t a = e.text.find(' ') + 1, b = e.text.find(' ', a);
    const std::string kind = e.text.substr(a, b == std::string::npos ? std::string::npos : b - a);
    if (std::find(list.begin(), list.end(), kind) != list.end()) out.push_back(e.text);
  }
  return out;
}

}  // namespace kadrel::test
