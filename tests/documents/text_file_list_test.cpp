#include "formats/document/text_file_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>

#include "support/temp_dir.h"

namespace kadrel {
namespace {

using Names = std::vector<std::string>;

// Runs the end call on the worker and records the thread it ran on.
class RecordingBridge : public IWindowBridge {
 public:
  bool RunOnWindowThread(const std::function<void()>& call) override {
    call();
    ended.set_value();
    return true;
  }
  std::promise<void> ended;
};

TEST(TextFileListTest, ListsArchiveMembersAndFilesBeside) {
  test::TempDir dir;
  dir.Write("song.txt", "x");
  dir.Write("SONG.DOC", "x");
  dir.Write("SONG.MID", "x");
  dir.Write("OTHER.TXT", "x");
  dir.Write("SONG.ﾎｿｸ", "x");  // a UTF-8 name, against the CP932 extension of the settings
  dir.MakeFolder("SONG.HED");                       // a folder is not a document

  std::string listedArchive, listedPatterns;
  TextFileListArchiveAccess access;
  access.available = true;
  int turns = 0;
  access.takeTurn = [&](const std::function<bool()>&) -> std::function<void()> {
    ++turns;
    return [&] { --turns; };
  };
  access.list = [&](const std::string& archive, const std::string& patterns) {
    listedArchive = archive;
    listedPatterns = patterns;
    return Names{"README.TXT", "DOCS/SONG.DOC"};
  };

  RecordingBridge bridge;
  bool endRan = false;
  TGetTextFileList worker(dir.path(), "SONG.LZH", "SONG.MID", "\xCE\xBF\xB8,HED,DOC,TXT", access, bridge,
                          [&] { endRan = true; });
  worker.Start();
  ASSERT_EQ(bridge.ended.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  worker.Join();

  EXPECT_TRUE(endRan);
  EXPECT_TRUE(worker.Finished());
  EXPECT_EQ(turns, 0);  // the turn was given back
  EXPECT_EQ(listedArchive, dir.path() + "SONG.LZH");
  EXPECT_EQ(listedPatterns, "*.\xCE\xBF\xB8 *.HED *.DOC *.TXT ");
  EXPECT_EQ(worker.ArchiveDocuments(), (Names{"README.TXT", "SONG.DOC"}));
  EXPECT_EQ(worker.BesideDocuments(), (Names{"SONG.ﾎｿｸ", "SONG.DOC", "song.txt"}));
}

TEST(TextFileListTest, GivenUpTurnSkipsTheArchiveButStillEnds) {
  test::TempDir dir;
  dir.Write("A.TXT", "x");
  TextFileListArchiveAccess access;
  access.available = true;
  access.takeTurn = [](const std::function<bool()>&) { return std::function<void()>(); };
  bool listed = false;
  access.list = [&](const std::string&, const std::string&) {
    listed = true;
    return Names{};
  };
  DirectWindowBridge bridge;
  bool ended = false;
  TGetTextFileList worker(dir.path(), "A.LZH", "A.MID", "TXT", access, bridge, [&] { ended = true; });
  worker.Run();
  EXPECT_FALSE(listed);
  EXPECT_TRUE(ended);
  EXPECT_EQ(worker.BesideDocuments(), Names{"A.TXT"});
}

TEST(TextFileListTest, TerminatedWorkerDoesNotSignal) {
  test::TempDir dir;
  DirectWindowBridge bridge;
  bool ended = false;
  TGetTextFileList worker(dir.path() + "missing", "", "A.MID", "TXT", {}, bridge, [&] { ended = true; });
  worker.Terminate();
  worker.Run();
  EXPECT_FALSE(ended);
  EXPECT_TRUE(worker.BesideDocuments().empty());
}

}  // namespace
}  // namespace kadrel
