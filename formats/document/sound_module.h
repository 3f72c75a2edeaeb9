#pragma once
// Which sound module a MIDI file was written for, guessed from its title, its file
// name or its document, for choosing the conversion tool's configuration.

#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "catalog/smfk_info.h"

namespace kadrel {

enum class SoundModuleSource {
  Title = 1,     // one line: the title
  FileName = 2,  // one line: the file name
  Document = 3,  // the document's first lines
};

// Lines of a document consulted for the sound module.
inline constexpr int kSoundModuleDocumentLines = 50;

// Index of the module in `modules` that fits the lines best, or -1. With the document
// as source, a document that is not named after the music file counts only when it
// mentions the music file or its archive.
int DetectSoundModule(const TMusicFileInfo& r, const std::vector<std::string>& lines, SoundModuleSource source,
                      const std::vector<TSmfkItem>& modules);

}  // namespace kadrel
