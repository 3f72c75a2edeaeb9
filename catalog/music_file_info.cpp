#include "catalog/music_file_info.h"

#include "base/encoding.h"

namespace kadrel {

void TMusicFileInfo::ClearInfoTexts() {
  Title.clear();
  Artist.clear();
  Album.clear();
  Composer.clear();
  SongWriter.clear();
  DataMaker.clear();
}

const std::string& ParentEntryTitle() {
  static const std::string title = Cp932("１つ上のフォルダへ移動します");
  return title;
}

}  // namespace kadrel
