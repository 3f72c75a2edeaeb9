#include "formats/read_header_info.h"

#include "catalog/format_table.h"

namespace kadrel {
namespace {

void ResetReaderFields(TMusicFileInfo& r) {
  r.ClearInfoTexts();
  r.Detail.clear();
  r.MacBinary = 0;
  r.InfoState = kInfoRead;
}

void RunReader(const ByteSource& source, TMusicFileInfo& r, const HeaderReadOptions& options) {
  if (r.FileType < 0 || r.FileType >= kFormatCount) {
    r.InfoState = kInfoFormatMismatch;
    return;
  }
  const ReaderKind kind = kFormatTable[r.FileType].Reader;
  if (kind == ReaderKind::MgsScript) return ReadMgsScript(source, r);
  if (kind == ReaderKind::PlayList) return ReadPlayListHeader(source, r);

  r.MacBinary = HasMacBinaryHeader(source) ? 1 : 0;
  const ReaderInput in{source, r.MacBinary ? 128u : 0u, options};
  switch (kind) {
    case ReaderKind::StandardMidi: return ReadStandardMidiHeader(in, r);
    case ReaderKind::RiffMidi: return ReadRiffMidiHeader(in, r);
    case ReaderKind::Recomposer2: return ReadRecomposer2Header(in, r);
    case ReaderKind::Recomposer3: return ReadRecomposer3Header(in, r);
    case ReaderKind::RiffMpegWaveAiff: return ReadRiffMpegWaveHeader(in, r);
    case ReaderKind::Mod: return ReadModHeader(in, r);
    case ReaderKind::TwinVq: return ReadTwinVqHeader(in, r);
    default: return;
  }
}

}  // namespace

void ReadHeaderInfoFrom(const ByteSource& source, TMusicFileInfo& r, const HeaderReadOptions& options) {
  ResetReaderFields(r);
  RunReader(source, r, options);
}

void ReadHeaderInfo(const std::string& folder, TMusicFileInfo& r, const HeaderReadOptions& options) {
  ResetReaderFields(r);
  auto source = FileByteSource::Open(folder + r.FileName + r.FileExt);
  if (!source) {
    r.InfoState = kInfoCannotOpen;
    return;
  }
  RunReader(*source, r, options);
}

void ReadHeaderInfoAt(int folderFd, const std::string& name, std::optional<uint64_t> listedSize, TMusicFileInfo& r,
                      const HeaderReadOptions& options) {
  ResetReaderFields(r);
  auto source = FileByteSource::OpenAt(folderFd, name, listedSize);
  if (!source) {
    r.InfoState = kInfoCannotOpen;
    return;
  }
  RunReader(*source, r, options);
}

void ReadHeaderInfoUnlessTooLarge(const std::string& folder, TMusicFileInfo& r, const HeaderReadOptions& options) {
  if (r.InfoState != kInfoTooLarge) ReadHeaderInfo(folder, r, options);
}

void ApplyPlaceholderTitleRule(TMusicFileInfo& r) {
  const bool cvs = r.Title.find("CVS") != std::string::npos && r.Title.find("Creat") != std::string::npos;
  if (cvs || r.Title.find("untitled") != std::string::npos) r.Title.clear();
}

}  // namespace kadrel
