#include "formats/rcpcv/recomposer_converter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include <fmt/format.h>

#include "base/byte_source.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "formats/rcpcv/rcp_song.h"
#include "formats/rcpcv/setup_track.h"
#include "formats/rcpcv/smf_writer.h"

namespace kadrel {
namespace {

RcpConvertResult Failure(RcpConvertError error, std::string message) {
  RcpConvertResult r;
  r.error = error;
  r.message = std::move(message);
  return r;
}

std::string Bytes(std::initializer_list<unsigned> list) {
  std::string s;
  for (unsigned b : list) s.push_back(static_cast<char>(b));
  return s;
}

void AddMeta(SongExpansion& state, uint8_t type, const std::string& data) {
  state.conductor.AddData(0, state.seq++, MidiEventKind::kMeta, type, data);
}

uint32_t HeaderTempoMicros(const RcpSong& song) {
  return static_cast<uint32_t>(std::min(std::round(60'000'000.0 / song.tempo), double(0xFFFFFF)));
}

void AddHeaderMeta(const RcpSong& song, SongExpansion& state, WarningList& warnings) {
  state.conductor.name = song.title;
  size_t lines = song.memo.size();
  while (lines > 0 && song.memo[lines - 1].empty()) --lines;
  for (size_t i = 0; i < lines; ++i) AddMeta(state, 0x01, song.memo[i].empty() ? " " : song.memo[i]);

  const int den = song.beatDenominator;
  if (song.beatNumerator > 0 && den > 0 && (den & (den - 1)) == 0) {
    unsigned log2 = 0;
    while ((1 << log2) < den) ++log2;
    AddMeta(state, 0x58, Bytes({unsigned(song.beatNumerator), log2, 24, 8}));
  } else {
    warnings.Add(fmt::format("time signature {}/{} cannot be written; left out", song.beatNumerator, den));
  }
  const int count = song.key & 7;
  AddMeta(state, 0x59, Bytes({unsigned((song.key & 8) ? -count : count) & 0xFF, (song.key & 0x10) ? 1u : 0u}));
  const uint32_t micros = HeaderTempoMicros(song);
  AddMeta(state, 0x51, Bytes({micros >> 16 & 0xFF, micros >> 8 & 0xFF, micros & 0xFF}));
}

// Old files store ST+ unsigned; files that name their track count, and files whose
// offsets all read as small signed values, use signed offsets.
bool SignedStartOffsets(const RcpSong& song) {
  if (song.family == RcpFamily::kG || song.trackCountStored) return true;
  for (const RcpTrack& t : song.tracks) {
    const int v = int8_t(t.startOffset);
    if (v < -99 || v > 99) return false;
  }
  return true;
}

// The control files named in the header, read and turned into exclusives. A file that
// is missing or unreadable is reported and left out; the song is converted all the same.
std::vector<SetupGroup> LoadControlFiles(const RcpSong& song, const RcpConvertOptions& options,
                                         WarningList& warnings) {
  std::vector<SetupGroup> groups;
  for (const RcpControlFile& file : song.controlFiles) {
    const std::string shown = DisplayText(file.name);
    std::optional<std::string> bytes;
    if (options.readControlFile) bytes = options.readControlFile(file.name);
    if (!bytes) {
      warnings.Add(fmt::format("control file {} not found; converted without it", shown));
      continue;
    }
    SetupGroup group;
    group.port = file.port;
    group.label = file.name;
    std::string problem;
    if (!ControlFileMessages(file.kind, *bytes, group.messages, problem)) {
      warnings.Add(fmt::format("control file {}: {}; converted without it", shown, problem));
      continue;
    }
    if (!problem.empty()) warnings.Add(fmt::format("control file {}: {}", shown, problem));
    groups.push_back(std::move(group));
  }
  return groups;
}

int64_t MeasureTicks(const RcpSong& song) {
  const int den = song.beatDenominator;
  if (song.beatNumerator <= 0 || den <= 0 || (den & (den - 1)) != 0) return int64_t(song.timebase) * 4;
  return std::max<int64_t>(1, int64_t(song.timebase) * 4 * song.beatNumerator / den);
}

void ShiftEvents(MidiTrack& track, size_t from, int64_t ticks) {
  for (size_t i = from; i < track.events.size(); ++i) track.events[i].tick += ticks;
  track.endTick += ticks;
}

std::optional<std::string> ReadWholeFile(const std::string& path, RcpConvertError& error) {
  auto source = FileByteSource::Open(path);
  if (!source) {
    error = RcpConvertError::kCannotRead;
    return std::nullopt;
  }
  if (source->Size() > kMaxRecomposerFileSize) {
    error = RcpConvertError::kTooLarge;
    return std::nullopt;
  }
  size_t got = 0;
  std::string bytes = source->Read(0, static_cast<size_t>(source->Size()), &got);
  if (got != source->Size()) {
    error = RcpConvertError::kCannotRead;
    return std::nullopt;
  }
  return bytes;
}

// A control file next to the song: the folder entry whose name equals the stored one
// (as bytes or decoded from Shift-JIS) without regard to letter case. Only entries of
// that folder are considered, so a stored name cannot lead elsewhere.
std::optional<std::string> ReadSiblingFile(const std::string& folder, const std::string& name) {
  const std::string decoded = DisplayText(name);
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (!EqualsIgnoreCase(entry, name) && !EqualsIgnoreCase(entry, decoded)) continue;
    RcpConvertError error;
    if (auto bytes = ReadWholeFile(it->path().string(), error)) return bytes;
  }
  return std::nullopt;
}

}  // namespace

RcpConvertResult ConvertRecomposer(std::string_view bytes, const RcpConvertOptions& options) {
  if (bytes.size() > kMaxRecomposerFileSize) return Failure(RcpConvertError::kTooLarge, "the file is too large");
  WarningList warnings;
  RcpSong song;
  switch (ReadRcpSong(bytes, song, warnings)) {
    case RcpReadResult::kOk: break;
    case RcpReadResult::kNotRecomposer:
      return Failure(RcpConvertError::kNotRecomposer, "not a Recomposer sequence file");
    case RcpReadResult::kTruncated:
      return Failure(RcpConvertError::kTruncated, "the Recomposer header is incomplete");
    case RcpReadResult::kUnsupported:
      return Failure(RcpConvertError::kUnsupported, "Recomposer 1.0 (MCP) files cannot be converted");
  }
  const std::vector<SetupGroup> setup = LoadControlFiles(song, options, warnings);

  SongExpansion state;
  AddHeaderMeta(song, state, warnings);
  const size_t headerEvents = state.conductor.events.size();
  const bool signedOffsets = SignedStartOffsets(song);
  std::vector<MidiTrack> tracks;
  tracks.emplace_back();  // the conductor, filled below
  for (size_t i = 0; i < song.tracks.size(); ++i) {
    if (options.progress) options.progress(static_cast<int>(i * 99 / song.tracks.size()));
    const RcpTrack& t = song.tracks[i];
    if (t.muted) continue;
    MidiTrack track = ExpandTrack(song, t, static_cast<int>(i), signedOffsets, options.limits, state, warnings);
    const bool empty = std::all_of(track.events.begin(), track.events.end(), [](const MidiEvent& e) {
      return e.kind == MidiEventKind::kDeleted || (e.kind == MidiEventKind::kMeta && e.status == 0x21);
    });
    if (!empty) tracks.push_back(std::move(track));
  }
  tracks[0] = std::move(state.conductor);

  // The song moves behind the exclusives that set up its sound modules.
  SetupLayout layout = LayOutSetup(setup, song.timebase, HeaderTempoMicros(song), MeasureTicks(song));
  if (!layout.tracks.empty()) {
    ShiftEvents(tracks[0], headerEvents, layout.songStart);
    for (size_t i = 1; i < tracks.size(); ++i) ShiftEvents(tracks[i], 0, layout.songStart);
    for (const SetupGroup& g : setup) state.usesPortB = state.usesPortB || g.port == 1;
    tracks.insert(tracks.begin() + 1, std::make_move_iterator(layout.tracks.begin()),
                  std::make_move_iterator(layout.tracks.end()));
  }

  RcpConvertResult result;
  result.smf = WriteSmf(song.timebase, tracks, state.usesPortB);
  result.warnings = warnings.Texts();
  if (options.progress) options.progress(99);
  return result;
}

RcpConvertResult ConvertRecomposerFile(const std::string& path, RcpConvertOptions options) {
  RcpConvertError error = RcpConvertError::kNone;
  std::optional<std::string> bytes = ReadWholeFile(path, error);
  if (!bytes) {
    return Failure(error, error == RcpConvertError::kTooLarge ? "the file is too large" : "cannot read the file");
  }
  if (!options.readControlFile) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    options.readControlFile = [folder](const std::string& name) { return ReadSiblingFile(folder, name); };
  }
  return ConvertRecomposer(*bytes, options);
}

}  // namespace kadrel
