// Every field of every record a full scan lists, and their order, compared with a dump
// kept in tests/scan/golden/. The folders are the sample collection and a generated one
// with the awkward cases of the listing and the readers (links, a pipe, hidden files,
// titles past the head window, ID3 trailers, archives at every header level).
// KADREL_WRITE_GOLDEN=1 rewrites the dumps instead of comparing.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fmt/format.h>

#include "archive/lzh_writer.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "scan/lzh_archive_port.h"
#include "scan/scan_fixture.h"
#include "support/test_data.h"

namespace kadrel {
namespace {
using namespace kadrel::test;
namespace fs = std::filesystem;

constexpr std::time_t kFixedTime = 946684800;  // 2000-01-01
constexpr uint32_t kMemberTime = 1000000000;

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '|' && c != '\\') out += static_cast<char>(c);
    else out += fmt::format("\\x{:02X}", c);
  }
  return out;
}

std::string Dump(const std::vector<std::unique_ptr<TMusicFileInfo>>& list, const std::string& folder) {
  const DosStamp fixed = DosStampFromUnixTime(kFixedTime);
  std::ostringstream out;
  for (const auto& p : list) {
    const TMusicFileInfo& r = *p;
    std::string doc = r.DocFile;
    if (doc.starts_with(folder)) doc = "<folder>/" + doc.substr(folder.size());
    std::string stamp;
    if (r.ItemKind == kParentEntry) stamp = "-";
    else if (r.ItemKind != kArchiveMember && r.DosDate == fixed.date && r.DosTime == fixed.time) stamp = "fixed";
    else stamp = fmt::format("{:04X}:{:04X}", r.DosDate, r.DosTime);
    out << r.ItemKind << '|' << Escaped(r.FileName) << '|' << Escaped(r.FileExt) << '|' << r.FileType << '|'
        << Escaped(r.Detail) << '|' << r.Info << '|' << stamp << '|' << r.Size << '|' << Escaped(r.LinkFile) << '|'
        << Escaped(doc) << '|' << Escaped(r.Archiver) << '|' << Escaped(r.Title) << '|' << Escaped(r.Artist) << '|'
        << Escaped(r.Album) << '|' << Escaped(r.Composer) << '|' << Escaped(r.SongWriter) << '|'
        << Escaped(r.DataMaker) << '|' << r.IconIndex << '|' << int(r.MacBinary) << '|' << r.InfoState << '\n';
  }
  return out.str();
}

void FixTimes(const std::string& folder) {
  const timespec times[2] = {{kFixedTime, 0}, {kFixedTime, 0}};
  for (const auto& e : fs::recursive_directory_iterator(folder))
    ::utimensat(AT_FDCWD, e.path().c_str(), times, AT_SYMLINK_NOFOLLOW);
}

void CopyFlat(const std::string& from, const std::string& to, const std::string& prefix) {
  for (const auto& e : fs::recursive_directory_iterator(from)) {
    if (!e.is_regular_file()) continue;
    const std::string name = e.path().filename().string();
    if (name.ends_with(".md")) continue;
    std::string tag = fs::relative(e.path().parent_path(), from).string();
    for (char& c : tag)
      if (c == '/') c = '_';
    fs::copy_file(e.path(), to + prefix + tag + "_" + name);
  }
}

std::string Document(const std::string& title, const std::string& composer) {
  return Cp932("曲名：" + title + "\r\n作曲：" + composer + "\r\n編曲：ＭＩＤＩ太郎\r\n作詞：山田\r\n");
}

std::string Id3v1(const std::string& title) {
  std::string tag = "TAG" + title;
  tag.resize(128, '\0');
  return tag;
}

StoredMember Member(const std::string& path, const std::string& data) { return {path, data, kMemberTime, false}; }

// A folder with the cases a faster listing or reader could get wrong.
void MakeGenerated(const TempDir& dir) {
  const std::string& f = dir.path();
  CopyFlat(TestDataDir(), f, "D_");
  for (int i = 0; i < 30; ++i) {
    const std::string stem = fmt::format("TUNE{:02}", i);
    const std::string ext = i % 3 == 0 ? ".mid" : ".MID";
    dir.Write(stem + ext, i % 4 == 0 ? Smf({EndOfTrack()}, 0) : Midi(Cp932("曲 ") + std::to_string(i)));
    if (i % 4 == 0) dir.Write(stem + (i % 8 == 0 ? ".TXT" : ".doc"), Document("文書の曲" + std::to_string(i), "作者"));
    if (i % 5 == 0) dir.Write(stem + ".WRD", "w");
    if (i % 7 == 0) dir.Write(stem + ".sry", "s");
  }
  // A title past the first 4 KiB and a long file with an ID3v1 trailer.
  dir.Write("LATE.MID", Smf({std::string(5000, '\0') + TrackName("late title") + EndOfTrack()}, 0));
  dir.Write("TAIL.MP3", std::string("\xFF\xFB\x90\x00", 4) + std::string(100000, '\x55') + Id3v1("trailer"));
  dir.Write("SHORT.MP3", "ID3");
  dir.Write("EMPTY.MID", "");
  dir.Write("SONG.MGS", "#TITLE  \r\n@MIDIPLAY  TUNE01.MID\r\n");
  dir.Write("OWN.MGS", Cp932("#TITLE  自分の題\r\n@MIDIPLAY  MISSING.MID\r\n"));
  dir.Write(".HIDDEN.MID", Midi("hidden"));
  dir.MakeFolder("SUB.MID");
  dir.MakeFolder("Folder");
  fs::create_symlink("TUNE01.MID", f + "LINKED.MID");
  fs::create_symlink("NOWHERE.MID", f + "DANGLING.MID");
  fs::create_symlink("Folder", f + "FOLDERLINK.MID");
  ::mkfifo((f + "PIPE.MID").c_str(), 0644);
  dir.Write(Cp932("日本語の曲.MID"), Midi(Cp932("日本語")));

  for (int level = 0; level <= 2; ++level) {
    std::vector<StoredMember> members;
    for (int m = 0; m < 6; ++m) {
      const std::string name = fmt::format("DATA/M{}{}.MID", level, m);
      members.push_back(Member(name, m % 2 ? Midi("member " + std::to_string(m)) : Smf({EndOfTrack()}, 0)));
    }
    members.push_back(Member("README.TXT", Document("書庫の曲", "作者")));
    members.push_back(Member(fmt::format("M{}1.WRD", level), "w"));
    members.push_back(Member("PLAY.MGS", fmt::format("#TITLE  \r\n@MIDIPLAY  M{}3.MID\r\n", level)));
    std::string error;
    ASSERT_TRUE(WriteStoredArchive(f + fmt::format("PACK{}.LZH", level), members, level, &error)) << error;
  }
  dir.Write("PACK0.TXT", Document("書庫の横", "横"));
  dir.Write("BROKEN.LZH", "not an archive at all");
}

struct Setting {
  const char* name;
  void (*apply)(ScanSettings&, TSortState&);
};

const Setting kSettings[] = {
    {"default", [](ScanSettings&, TSortState&) {}},
    {"everything",
     [](ScanSettings& s, TSortState&) {
       s.main.Formats = FormatFilter(0x1FFFF);
       s.main.TitleGetstyle = 3;
       s.main.OthersGetstyle = 7;
       s.main.MgsMusicInVisible = true;
       s.main.ScanSortMode = 0;
     }},
    {"sorted-by-title",
     [](ScanSettings& s, TSortState& sort) {
       s.main.ScanSortMode = 1;
       s.main.ShowWhileScanning = true;
       sort = TSortState{8, kAscending};
     }},
};

fs::path GoldenFolder() { return fs::path(KADREL_SAMPLES_DIR).parent_path() / "tests/scan/golden"; }

void CompareWithGolden(const std::string& collection, const std::string& folder) {
  for (const Setting& setting : kSettings) {
    TempDir work;
    LzhArchivePort port;
    ScanHarness scan;
    scan.settings().workFolder = work.path();
    scan.settings().useIndex = false;
    setting.apply(scan.settings(), scan.view.sort);
    scan.Open(folder, &port);
    const std::string dump = Dump(scan.view.list, folder);
    const fs::path golden = GoldenFolder() / (collection + "-" + setting.name + ".txt");
    if (std::getenv("KADREL_WRITE_GOLDEN")) {
      fs::create_directories(golden.parent_path());
      std::ofstream(golden, std::ios::binary) << dump;
      continue;
    }
    EXPECT_EQ(dump, ReadFileBytes(golden.string())) << golden;
  }
}

// Members of level 2 archives get local times: the dumps were made in UTC.
class ScanRecordsGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) savedTz_ = tz;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  void TearDown() override {
    if (savedTz_) ::setenv("TZ", savedTz_->c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> savedTz_;
};

TEST_F(ScanRecordsGolden, SampleCollection) {
  TempDir dir;
  fs::copy(KADREL_SAMPLES_DIR, dir.path(), fs::copy_options::recursive);
  FixTimes(dir.path());
  CompareWithGolden("samples", dir.path());
}

TEST_F(ScanRecordsGolden, GeneratedFolder) {
  TempDir dir;
  MakeGenerated(dir);
  FixTimes(dir.path());
  CompareWithGolden("generated", dir.path());
}

}  // namespace
}  // namespace kadrel
