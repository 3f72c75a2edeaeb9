#include "formats/rcpcv/track_expander.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "formats/rcpcv/sysex_template.h"

namespace kadrel {
namespace {

struct SoundingNote {
  uint8_t channel, key;
  int64_t end;
  size_t onIndex;
};

struct Borrow {
  bool active = false;
  size_t returnPc = 0;
};

struct LoopFrame {
  size_t startPc;
  uint32_t pass;
  Borrow borrow;
  int64_t tickAtPass;
  uint64_t eventsAtPass;
};

uint8_t Data7(unsigned v) { return static_cast<uint8_t>(v > 0x7F ? 0x7F : v); }

std::string Bytes(std::initializer_list<unsigned> list) {
  std::string s;
  for (unsigned b : list) s.push_back(static_cast<char>(b));
  return s;
}

class Expander {
 public:
  Expander(const RcpSong& song, const RcpTrack& track, int index, bool signedOffset, const ExpandLimits& limits,
           SongExpansion& state, WarningList& warnings)
      : song_(song), track_(track), index_(index), limits_(limits), state_(state), warnings_(warnings) {
    maxTick_ = limits.maxQuarterNotes * song.timebase;
    if (track.key & 0x80) {
      transpose_ = 0;
    } else {
      int k = track.key & 0x7F;
      transpose_ = (k >= 0x40 ? k - 0x80 : k) + song.playBias;
    }
    if (track.channel == 0xFF) {
      channelOn_ = false;
    } else if (track.channel < 0x20) {
      SetChannel(track.channel);
    } else {
      channelOn_ = false;
      Warn(fmt::format("track {}: channel byte {:02X} is not a channel; the track is silent", index + 1,
                       track.channel));
    }
    out_.name = track.memo;
    // Set last so that the header's port goes out at tick 0.
    now_ = signedOffset ? int64_t(int8_t(track.startOffset)) : int64_t(track.startOffset);
  }

  MidiTrack Run();

 private:
  void Warn(const std::string& text) { warnings_.Add(text); }
  int64_t Tick() const { return std::max<int64_t>(now_, 0); }
  bool Room() {
    if (state_.eventsUsed >= limits_.maxEvents) {
      if (!state_.exhausted) Warn("the song has too many events; the rest was cut");
      state_.exhausted = true;
      return false;
    }
    ++state_.eventsUsed;
    return true;
  }
  void Channel(uint8_t status, uint8_t d1, uint8_t d2 = 0) {
    if (!channelOn_ || !Room()) return;
    out_.AddChannel(Tick(), state_.seq++, static_cast<uint8_t>(status | channel_), d1, d2);
  }
  void SysEx(const std::string& bytes) {
    if (bytes.empty() || !Room()) return;
    out_.AddData(Tick(), state_.seq++, MidiEventKind::kSysEx, 0xF0, bytes);
  }
  void YamahaSysEx(std::initializer_list<unsigned> body) {
    if (!channelOn_) return;
    std::string s = Bytes({0xF0});
    for (unsigned b : body) s.push_back(static_cast<char>(b & 0x7F));
    s.push_back(static_cast<char>(0xF7));
    SysEx(s);
  }
  void Meta(MidiTrack& into, uint8_t type, const std::string& bytes) {
    if (!Room()) return;
    into.AddData(Tick(), state_.seq++, MidiEventKind::kMeta, type, bytes);
  }
  void SetChannel(unsigned value) {  // 0-31: port * 16 + channel
    const int port = static_cast<int>(value >> 4);
    channel_ = static_cast<uint8_t>(value & 15);
    channelOn_ = true;
    if (port != port_) {
      port_ = port;
      if (port_ > 0) state_.usesPortB = true;
      Meta(out_, 0x21, Bytes({unsigned(port_)}));
    }
  }

  void Note(const RcpUnit& u);
  void FinishNote(const SoundingNote& n);
  void FinishNotesUntil(int64_t tick);
  void Tempo(const RcpUnit& u);
  void ChannelCommand(const RcpUnit& u);
  // The bytes carried by the continuation units after pc; advances pc past them.
  std::string Continuation(size_t& pc, bool fromCommand);
  bool SameMeasureTarget(const RcpUnit& u, size_t& target) const;

  const RcpSong& song_;
  const RcpTrack& track_;
  int index_;
  const ExpandLimits& limits_;
  SongExpansion& state_;
  WarningList& warnings_;
  MidiTrack out_;

  int64_t now_ = 0;
  int64_t maxTick_ = 0;
  int transpose_ = 0;
  bool channelOn_ = false;
  uint8_t channel_ = 0;
  int port_ = -1;
  std::vector<SoundingNote> sounding_;
  int64_t lastNoteEnd_ = 0;
  uint8_t rolandDevice_ = 0x10, rolandModel_ = 0x16, rolandHigh_ = 0, rolandMid_ = 0;
  uint8_t yamahaDevice_ = 0x10, yamahaModel_ = 0x4C, yamahaHigh_ = 0, yamahaMid_ = 0;
};

void Expander::FinishNote(const SoundingNote& n) {
  if (n.end <= 0) {
    out_.events[n.onIndex].kind = MidiEventKind::kDeleted;
    return;
  }
  // The note-off always goes out: its note-on is already there.
  ++state_.eventsUsed;
  out_.AddChannel(n.end, state_.seq++, static_cast<uint8_t>(0x80 | n.channel), n.key, 0x40);
  lastNoteEnd_ = std::max(lastNoteEnd_, n.end);
}

void Expander::FinishNotesUntil(int64_t tick) {
  std::erase_if(sounding_, [&](const SoundingNote& n) {
    if (n.end > tick) return false;
    FinishNote(n);
    return true;
  });
}

void Expander::Note(const RcpUnit& u) {
  if (!channelOn_ || u.p1 == 0 || u.p2 == 0) return;  // a rest
  int key = u.cmd + transpose_;
  if (key < 0 || key > 127) {
    while (key > 127) key -= 12;
    while (key < 0) key += 12;
    Warn(fmt::format("track {}: notes transposed beyond the key range were moved by octaves", index_ + 1));
  }
  FinishNotesUntil(now_);
  const int64_t end = now_ + u.p1;
  for (auto& n : sounding_) {
    if (n.channel == channel_ && n.key == key) {
      n.end = end;  // a tie: the sounding note takes the new gate
      return;
    }
  }
  if (!Room()) return;
  sounding_.push_back({channel_, static_cast<uint8_t>(key), end, out_.events.size()});
  out_.AddChannel(Tick(), state_.seq++, static_cast<uint8_t>(0x90 | channel_), static_cast<uint8_t>(key),
                  Data7(u.p2));
}

void Expander::Tempo(const RcpUnit& u) {
  const unsigned factor = song_.family == RcpFamily::kRcp ? (u.p1 & 0xFF) : u.p1;
  if (factor == 0) {
    Warn(fmt::format("track {}: a tempo change to 0 % was ignored", index_ + 1));
    return;
  }
  if (u.p2 != 0) Warn("gradual tempo changes were applied at once");
  const double micros = std::round(60'000'000.0 * 64.0 / (double(song_.tempo) * factor));
  const uint32_t value = static_cast<uint32_t>(std::clamp(micros, 1.0, double(0xFFFFFF)));
  Meta(state_.conductor, 0x51, Bytes({value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF}));
}

void Expander::ChannelCommand(const RcpUnit& u) {
  const uint8_t p1 = static_cast<uint8_t>(u.p1 & 0xFF), p2 = static_cast<uint8_t>(u.p2);
  const unsigned ch = channel_;
  switch (u.cmd) {
    case 0xEA: Channel(0xD0, Data7(p1)); break;
    case 0xEB:
      if (p1 < 0x80) Channel(0xB0, p1, Data7(p2));
      break;
    case 0xEC:
      if (p1 < 0x80) Channel(0xC0, p1);
      break;
    case 0xED: Channel(0xA0, Data7(p1), Data7(p2)); break;
    case 0xEE: Channel(0xE0, p1 & 0x7F, p2 & 0x7F); break;
    case 0xE1:
    case 0xE2:
      Channel(0xB0, u.cmd == 0xE2 ? 0x00 : 0x20, Data7(p2));
      if (p1 < 0x80) Channel(0xC0, p1);
      break;
    case 0xC0: case 0xC1: case 0xC2: {
      const unsigned group = u.cmd == 0xC0 ? 0x08 : u.cmd == 0xC1 ? 0x00 : 0x04;
      YamahaSysEx({0x43, 0x10 | ch, group | (p1 >> 7u), p1, p2});
      break;
    }
    case 0xC3: YamahaSysEx({0x43, 0x10 | ch, 0x11, p1, p2}); break;
    case 0xC5: YamahaSysEx({0x43, 0x10 | ch, 0x15, p1, p2 & 0x0Fu, unsigned(p2 >> 4)}); break;
    case 0xC6: YamahaSysEx({0x43, 0x75, ch, 0x10, p1, p2}); break;
    case 0xC7: YamahaSysEx({0x43, 0x10 | ch, 0x12, p1, p2}); break;
    case 0xC8: YamahaSysEx({0x43, 0x10 | ch, 0x13, p1, p2}); break;
    case 0xC9: YamahaSysEx({0x43, 0x10 | ch, 0x10, p1, p2}); break;
    case 0xCA: YamahaSysEx({0x43, 0x10 | ch, 0x10, 0x7B, p1, p2}); break;
    case 0xCB: YamahaSysEx({0x43, 0x10 | ch, 0x10, 0x7C, p1, p2}); break;
    case 0xCC: YamahaSysEx({0x43, 0x10 | ch, 0x1B, p1, p2}); break;
    case 0xCD: YamahaSysEx({0x43, 0x10 | ch, 0x18, p1, p2}); break;
    case 0xCE: YamahaSysEx({0x43, 0x10 | ch, 0x19, p1, p2}); break;
    case 0xCF: YamahaSysEx({0x43, 0x10 | ch, 0x1A, p1, p2}); break;
    case 0xDC: YamahaSysEx({0x41, 0x32, ch, p1, p2}); break;
    case 0xD0: yamahaHigh_ = p1 & 0x7F; yamahaMid_ = p2 & 0x7F; break;
    case 0xD1: yamahaDevice_ = p1 & 0x7F; yamahaModel_ = p2 & 0x7F; break;
    case 0xD2:
      SysEx(Bytes({0xF0, 0x43, yamahaDevice_, yamahaModel_, yamahaHigh_, yamahaMid_, p1 & 0x7Fu, p2 & 0x7Fu, 0xF7}));
      break;
    case 0xD3:
      SysEx(Bytes({0xF0, 0x43, 0x10, 0x4C, yamahaHigh_, yamahaMid_, p1 & 0x7Fu, p2 & 0x7Fu, 0xF7}));
      break;
    case 0xDD: rolandHigh_ = p1 & 0x7F; rolandMid_ = p2 & 0x7F; break;
    case 0xDF: rolandDevice_ = p1 & 0x7F; rolandModel_ = p2 & 0x7F; break;
    case 0xDE: {
      const std::string address = Bytes({rolandHigh_, rolandMid_, p1 & 0x7Fu, p2 & 0x7Fu});
      SysEx(Bytes({0xF0, 0x41, rolandDevice_, rolandModel_, 0x12}) + address +
            Bytes({RolandChecksum(address), 0xF7}));
      break;
    }
    case 0xE6:
      if (p1 == 0) {
        channelOn_ = false;
      } else if (p1 <= 32) {
        SetChannel(p1 - 1u);
      } else {
        Warn(fmt::format("track {}: channel change to {} was ignored", index_ + 1, p1));
      }
      break;
    case 0xE7: Tempo(u); break;
    default: break;  // E5: a key press on the sequencer's screen; nothing to play
  }
}

std::string Expander::Continuation(size_t& pc, bool fromCommand) {
  const bool rcp = song_.family == RcpFamily::kRcp;
  std::string bytes;
  auto take = [&](const RcpUnit& u) {
    if (rcp) bytes.append(reinterpret_cast<const char*>(&u.raw[1]), 2);
    else bytes.append(reinterpret_cast<const char*>(&u.raw[0]), 5);
  };
  if (fromCommand) take(track_.units[pc]);
  size_t next = pc + 1;
  while (next < track_.units.size() && track_.units[next].cmd == 0xF7) {
    take(track_.units[next]);
    ++next;
  }
  state_.unitsUsed += next - pc - 1;
  pc = next;
  return bytes;
}

bool Expander::SameMeasureTarget(const RcpUnit& u, size_t& target) const {
  int64_t index;
  if (song_.family == RcpFamily::kRcp) {
    const int64_t offset = (u.raw[1] & 0xFC) | u.raw[2] << 8;
    index = (offset - 44) / 4;
    if (offset < 44) return false;
  } else {
    index = int64_t(u.p1) - 0x30;
  }
  if (index < 0 || size_t(index) >= track_.units.size()) return false;
  target = static_cast<size_t>(index);
  return true;
}

MidiTrack Expander::Run() {
  const auto& units = track_.units;
  std::vector<LoopFrame> loops;
  int ignoredLoops = 0;
  Borrow borrow;
  size_t pc = 0;
  bool cut = false;
  while (pc < units.size() && !state_.exhausted) {
    if (++state_.unitsUsed > limits_.maxUnits) {
      Warn("the song repeats too much; the rest was cut");
      state_.exhausted = true;
      break;
    }
    if (now_ > maxTick_) {
      cut = true;
      break;
    }
    const RcpUnit& u = units[pc];
    const uint8_t cmd = u.cmd;
    if (cmd < 0x80) {
      Note(u);
      now_ += u.step;
      ++pc;
      continue;
    }
    switch (cmd) {
      case 0xFE:
      case 0xFD:
        if (borrow.active) {
          pc = borrow.returnPc;
          borrow.active = false;
        } else if (cmd == 0xFE) {
          pc = units.size();
        } else {
          ++pc;
        }
        break;
      case 0xFC: {
        if (borrow.active) {  // another reference also ends the borrowed measure
          pc = borrow.returnPc;
          borrow.active = false;
          break;
        }
        size_t target = 0;
        bool ok = SameMeasureTarget(u, target);
        for (int hops = 0; ok && units[target].cmd == 0xFC; ++hops) {
          if (hops >= limits_.maxSameMeasureChain) ok = false;
          else ok = SameMeasureTarget(units[target], target);
        }
        if (!ok) {
          Warn(fmt::format("track {}: a same-measure reference points nowhere or in a circle; skipped", index_ + 1));
          ++pc;
          break;
        }
        borrow = {true, pc + 1};
        pc = target;
        break;
      }
      case 0xF9:
        if (int(loops.size()) >= limits_.maxLoopDepth) {
          ++ignoredLoops;
          Warn(fmt::format("track {}: loops nested too deep play once", index_ + 1));
        } else {
          loops.push_back({pc + 1, 1, borrow, now_, state_.eventsUsed});
        }
        ++pc;
        break;
      case 0xF8: {
        if (ignoredLoops > 0) {
          --ignoredLoops;
        } else if (loops.empty()) {
          Warn(fmt::format("track {}: a loop end without a loop start was ignored", index_ + 1));
        } else {
          LoopFrame& f = loops.back();
          const uint32_t passes = u.step == 0 ? uint32_t(limits_.infiniteLoopPasses) : u.step;
          const bool progressed = now_ != f.tickAtPass || state_.eventsUsed != f.eventsAtPass;
          if (f.pass < passes && progressed) {
            ++f.pass;
            f.tickAtPass = now_;
            f.eventsAtPass = state_.eventsUsed;
            borrow = f.borrow;
            pc = f.startPc;
            break;
          }
          loops.pop_back();
        }
        ++pc;
        break;
      }
      case 0xF5: {
        const uint8_t code = static_cast<uint8_t>(u.step & 0xFF);
        const int count = code & 7;
        Meta(state_.conductor, 0x59,
             Bytes({unsigned((code & 8) ? -count : count) & 0xFF, (code & 0x10) ? 1u : 0u}));
        ++pc;
        break;
      }
      case 0xF6: {
        std::string text = Continuation(pc, true);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
        if (!text.empty()) Meta(out_, 0x01, text);
        break;
      }
      case 0x98: {
        const uint8_t p1 = static_cast<uint8_t>(u.p1 & 0xFF), p2 = static_cast<uint8_t>(u.p2);
        const std::string tmpl = Continuation(pc, false);
        std::string sysex;
        if (ExpandExclusiveTemplate(tmpl, p1, p2, channelOn_ ? channel_ : -1, sysex)) SysEx(sysex);
        now_ += u.step;
        break;
      }
      case 0x99: {
        std::string text = Continuation(pc, false);
        text = text.substr(0, text.find('\xF7'));
        while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
        Meta(out_, 0x07, ((u.p1 & 0xFF) == 1 ? "RUN: " : "MCI: ") + text);
        now_ += u.step;
        break;
      }
      case 0xF7:  // a continuation unit without its command
        ++pc;
        break;
      default:
        if (cmd >= 0x90 && cmd <= 0x97) {
          std::string sysex;
          if (ExpandExclusiveTemplate(song_.userExclusive[cmd - 0x90], static_cast<uint8_t>(u.p1 & 0xFF),
                                      static_cast<uint8_t>(u.p2), channelOn_ ? channel_ : -1, sysex))
            SysEx(sysex);
          now_ += u.step;
        } else if ((cmd >= 0xC0 && cmd <= 0xC3) || (cmd >= 0xC5 && cmd <= 0xD3) || (cmd >= 0xDC && cmd <= 0xDF) ||
                   cmd == 0xE1 || cmd == 0xE2 || (cmd >= 0xE5 && cmd <= 0xEE)) {
          if (cmd != 0xE8 && cmd != 0xE9) {
            ChannelCommand(u);
            now_ += u.step;
          } else {
            Warn(fmt::format("unknown event byte {:02X} ignored", cmd));
          }
        } else {
          Warn(fmt::format("unknown event byte {:02X} ignored", cmd));
        }
        ++pc;
        break;
    }
  }
  if (cut) Warn(fmt::format("track {}: longer than {} quarter notes; the rest was cut", index_ + 1,
                            limits_.maxQuarterNotes));
  for (const auto& n : sounding_) FinishNote(n);
  sounding_.clear();
  out_.endTick = std::max(Tick(), lastNoteEnd_);
  return std::move(out_);
}

}  // namespace

MidiTrack ExpandTrack(const RcpSong& song, const RcpTrack& track, int trackIndex, bool signedStartOffset,
                      const ExpandLimits& limits, SongExpansion& state, WarningList& warnings) {
  Expander expander(song, track, trackIndex, signedStartOffset, limits, state, warnings);
  return expander.Run();
}

}  // namespace kadrel
