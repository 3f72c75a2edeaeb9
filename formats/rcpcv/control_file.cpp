#include "formats/rcpcv/control_file.h"

#include <algorithm>
#include <array>

#include "formats/rcpcv/sysex_template.h"

namespace kadrel {
namespace {

constexpr std::string_view kSignature = "COME ON MUSIC";
constexpr uint8_t kMt32Model = 0x16, kGsModel = 0x42;

// Pauses after a message (the wire time of the bytes is added by whoever places them).
constexpr uint32_t kMt32ResetPause = 400'000;
constexpr uint32_t kMt32Pause = 20'000;
constexpr uint32_t kGsResetPause = 50'000;
constexpr uint32_t kGsPause = 4'000;

// The MT-32 takes at most 256 data bytes in one message.
constexpr size_t kMt32MaxData = 256;

uint8_t At(std::string_view b, size_t i) { return i < b.size() ? static_cast<uint8_t>(b[i]) : 0; }

class Cm6Reader {
 public:
  Cm6Reader(std::string_view file, std::vector<SetupMessage>& out) : f_(file), out_(out) {}

  void Read(bool withCm32p);

 private:
  void Send(uint32_t address, size_t at, size_t length) {
    out_.push_back({RolandDataSet(kMt32Model, address, f_.substr(at, length)), kMt32Pause});
  }
  // A run of records of recordSize bytes each, split into messages that stay within
  // the module's limit without cutting a record.
  void SendRecords(uint32_t address, size_t at, size_t recordSize, size_t records) {
    const size_t perMessage = std::max<size_t>(1, kMt32MaxData / recordSize);
    for (size_t first = 0; first < records; first += perMessage) {
      const size_t count = std::min(perMessage, records - first);
      Send(RolandAddressPlus(address, static_cast<uint32_t>(first * recordSize)), at + first * recordSize,
           count * recordSize);
    }
  }
  std::array<bool, 64> UsedMemoryTimbres() const;

  std::string_view f_;
  std::vector<SetupMessage>& out_;
};

// File layout: 0080 system area (17h bytes), 00A0 patch temporary area of 8 parts and
// the rhythm part (9 x 10h), 0130 rhythm setup of keys 24-108 (85 x 4), 0284 timbre
// temporary area of 8 parts (8 x F6h), 0A34 patch memory (128 x 8), 0E34 timbre memory
// (64 x 100h, F6h used), then for the CM-64: 4E34 CM-32P patch temporary area (6 x 15h),
// 4EB2 CM-32P patch memory (128 x 13h), 5832 CM-32P system area (11h).
constexpr size_t kCm6Mt32End = 0x4E34, kCm6Cm64End = 0x5843;

// Memory timbres that a patch or a rhythm key can select; only those are loaded.
std::array<bool, 64> Cm6Reader::UsedMemoryTimbres() const {
  std::array<bool, 64> used{};
  auto patch = [&](size_t at) {
    if (At(f_, at) == 2 && At(f_, at + 1) < 64) used[At(f_, at + 1)] = true;  // group "i" = memory
  };
  for (size_t i = 0; i < 128; ++i) patch(0x0A34 + i * 8);
  for (size_t part = 0; part < 8; ++part) patch(0x00A0 + part * 0x10);
  for (size_t key = 0; key < 85; ++key) {
    const uint8_t timbre = At(f_, 0x0130 + key * 4);
    if (timbre < 64) used[timbre] = true;
  }
  return used;
}

void Cm6Reader::Read(bool withCm32p) {
  out_.push_back({RolandDataSet(kMt32Model, 0x7F0000, std::string_view("\0", 1)), kMt32ResetPause});
  Send(0x100000, 0x0080, 0x17);  // partial reserves must go as one package: they do
  const std::array<bool, 64> used = UsedMemoryTimbres();
  for (uint32_t t = 0; t < 64; ++t)
    if (used[t]) Send(RolandAddressPlus(0x080000, t * 0x100), 0x0E34 + t * 0x100, 0xF6);
  SendRecords(0x050000, 0x0A34, 8, 128);
  // A patch change makes a part reload its timbre, so the timbres of the parts go last.
  SendRecords(0x030000, 0x00A0, 0x10, 9);
  SendRecords(0x030110, 0x0130, 4, 85);
  for (uint32_t part = 0; part < 8; ++part) Send(RolandAddressPlus(0x040000, part * 0xF6), 0x0284 + part * 0xF6, 0xF6);
  if (withCm32p) {
    SendRecords(0x510000, 0x4EB2, 0x13, 128);
    SendRecords(0x500000, 0x4E34, 0x15, 6);
    Send(0x520000, 0x5832, 0x11);
  }
}

// File layout: 0020 master tune (4 nibbles), volume, key shift, pan; 0027 reverb
// (40 01 30-36); 002E chorus (40 01 38-3F); 0036 sixteen part records of 7Ah bytes in
// MIDI channel order; 07D6 two drum maps of 82 keys (27-108) x 4 bytes (level, pan,
// reverb, chorus); 0A6E master fine tuning; 0A70 master coarse tuning.
constexpr size_t kGsdSize = 0x0A71;

class GsdReader {
 public:
  GsdReader(std::string_view file, std::vector<SetupMessage>& out) : f_(file), out_(out) {}
  void Read();

 private:
  void Send(uint32_t address, size_t at, size_t length) {
    out_.push_back({RolandDataSet(kGsModel, address, f_.substr(at, length)), kGsPause});
  }

  std::string_view f_;
  std::vector<SetupMessage>& out_;
};

// The module numbers its parts by block: block 0 is part 10, blocks 1-9 parts 1-9,
// blocks A-F parts 11-16.
uint32_t BlockOfChannel(uint32_t channel) { return channel < 9 ? channel + 1 : channel == 9 ? 0 : channel; }

void GsdReader::Read() {
  out_.push_back({RolandDataSet(kGsModel, 0x40007F, std::string_view("\0", 1)), kGsResetPause});
  Send(0x400000, 0x20, 4);  // master tune
  for (uint32_t i = 0; i < 3; ++i) Send(0x400004 + i, 0x24 + i, 1);  // volume, key shift, pan
  for (uint32_t i = 0; i < 7; ++i) Send(0x400130 + i, 0x27 + i, 1);  // reverb
  for (uint32_t i = 0; i < 8; ++i) Send(0x400138 + i, 0x2E + i, 1);  // chorus
  std::string voiceReserve(16, '\0');
  for (uint32_t ch = 0; ch < 16; ++ch) {
    const size_t part = 0x36 + ch * 0x7A;
    const uint32_t block = BlockOfChannel(ch);
    const uint32_t patch = 0x401000 | block << 8, controllers = 0x402000 | block << 8;
    Send(patch, part, 0x23);                // tone number .. reverb send level
    Send(patch | 0x30, part + 0x23, 8);     // tone modify 1-8
    Send(patch | 0x40, part + 0x2B, 12);    // scale tuning C-B
    for (uint32_t c = 0; c < 6; ++c) Send(controllers | c << 4, part + 0x37 + c * 0x0B, 0x0B);
    voiceReserve[block] = f_[part + 0x79];
  }
  // The voice reserves of all parts go as one message, in block order.
  out_.push_back({RolandDataSet(kGsModel, 0x400110, voiceReserve), kGsPause});
  for (uint32_t map = 0; map < 2; ++map) {
    const size_t drums = 0x07D6 + map * 0x14C;
    static constexpr uint32_t kParameter[4] = {2, 4, 5, 6};  // level, pan, reverb, chorus
    for (size_t p = 0; p < 4; ++p) {
      std::string values;
      for (size_t key = 0; key < 82; ++key) values.push_back(f_[drums + key * 4 + p]);
      out_.push_back({RolandDataSet(kGsModel, 0x41001B | (map << 4 | kParameter[p]) << 8, values), kGsPause});
    }
  }
}

}  // namespace

uint32_t RolandAddressPlus(uint32_t address, uint32_t offset) {
  uint32_t linear = (address >> 16 & 0x7F) << 14 | (address >> 8 & 0x7F) << 7 | (address & 0x7F);
  linear += offset;
  return (linear >> 14 & 0x7F) << 16 | (linear >> 7 & 0x7F) << 8 | (linear & 0x7F);
}

std::string RolandDataSet(uint8_t model, uint32_t address, std::string_view data) {
  std::string body;
  body.push_back(static_cast<char>(address >> 16 & 0x7F));
  body.push_back(static_cast<char>(address >> 8 & 0x7F));
  body.push_back(static_cast<char>(address & 0x7F));
  for (char c : data) body.push_back(static_cast<char>(c & 0x7F));
  std::string msg = {'\xF0', '\x41', '\x10', static_cast<char>(model), '\x12'};
  msg += body;
  msg.push_back(static_cast<char>(RolandChecksum(body)));
  msg.push_back('\xF7');
  return msg;
}

bool ControlFileMessages(ControlFileKind kind, std::string_view file, std::vector<SetupMessage>& out,
                         std::string& problem) {
  out.clear();
  if (file.substr(0, kSignature.size()) != kSignature) {
    problem = "not a control file";
    return false;
  }
  if (kind == ControlFileKind::kGsd) {
    if (file.substr(0x0E, 14) != "GS CONTROL 1.0") {
      problem = "not a GS control file";
      return false;
    }
    if (file.size() < kGsdSize) {
      problem = "the file is incomplete";
      return false;
    }
    GsdReader(file, out).Read();
    // Nothing known says how these two reached the module; a file that changes them
    // is converted without them and says so.
    if (At(file, 0x0A6E) != 0x00 || At(file, 0x0A6F) != 0x20 || At(file, 0x0A70) != 0x40)
      problem = "its master fine and coarse tuning are not applied";
    return true;
  }
  if (file.substr(0x10, 2) != "R ") {
    problem = "not an MT-32 control file";
    return false;
  }
  if (file.size() < kCm6Mt32End) {
    problem = "the file is incomplete";
    return false;
  }
  const bool cm64 = file.substr(0x12, 5) == "CM-64";
  if (cm64 && file.size() < kCm6Cm64End) problem = "the CM-32P part of the file is incomplete";
  Cm6Reader(file, out).Read(cm64 && file.size() >= kCm6Cm64End);
  return true;
}

}  // namespace kadrel
