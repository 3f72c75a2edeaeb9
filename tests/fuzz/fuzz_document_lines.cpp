// Arbitrary bytes as a document: loaded from a file, then every line reader, the
// readers over the lines and the sound-module guess.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/document/document_readers.h"
#include "formats/document/line_readers.h"
#include "formats/document/load_document.h"
#include "formats/document/sound_module.h"

namespace {

char scratchPath[] = "/tmp/kadrel-fuzz-docXXXXXX";

const char* ScratchFile() {
  static const bool made = [] {
    int fd = ::mkstemp(scratchPath);
    if (fd >= 0) ::close(fd);
    std::atexit([] { ::unlink(scratchPath); });
    return true;
  }();
  (void)made;
  return scratchPath;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  if (FILE* f = std::fopen(ScratchFile(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  std::vector<std::string> lines;
  if (!LoadDocument(lines, ScratchFile(), 50)) return 0;
  if (lines.size() > 50) __builtin_trap();

  for (const std::string& line : lines) {
    (void)ReadTitleLine(line);
    (void)ReadArtistLine(line);
    (void)ReadDataMakerLine(line);
    ComposerLyricistLine v = ReadComposerLyricistLine(line);
    if (v.composer.size() > line.size() || v.lyricist.size() > line.size()) __builtin_trap();
  }
  TMusicFileInfo r;
  r.FileName = "SONG";
  r.FileExt = ".MID";
  r.Archiver = "SONG.LZH";
  r.DocFile = "README.TXT";
  SilentMessageBox messages;
  ReadTitleFromDocument(lines, r, messages);
  ReadArtistFromDocument(lines, r, messages);
  ReadComposerLyricistFromDocument(lines, r, messages);
  ReadDataMakerFromDocument(lines, r, messages);
  static const std::vector<TSmfkItem> modules = DefaultSoundModules();
  const int index = DetectSoundModule(r, lines, SoundModuleSource::Document, modules);
  if (index < -1 || index >= static_cast<int>(modules.size())) __builtin_trap();
  return 0;
}
