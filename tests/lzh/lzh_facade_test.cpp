// The designed library operations, the turn table and the extraction thread.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "archive/lha_unpack.h"
#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using namespace std::chrono_literals;
using test::RecordingMessageBox;
using test::TempDir;

TEST(LzhFacade, VersionSwitch) {
  SetLhaLibraryForTesting(88);
  EXPECT_FALSE(LhaAvailable());
  EXPECT_EQ(UnlhaOpenArchive("/nonexistent.lzh"), 0);
  SetLhaLibraryForTesting(89);
  EXPECT_TRUE(LhaAvailable());
  SetLhaLibraryForTesting(std::nullopt);
  EXPECT_FALSE(LhaAvailable());
  ResetLhaLibraryForTesting();
  EXPECT_TRUE(LhaAvailable());
}

TEST(LzhFacade, FindFirstNextFillTheRecordAndHonourPatterns) {
  TempDir dir;
  const std::string archive = dir.Write(
      "a.lzh", BuildStoredArchive({{"doc/readme.txt", "hello", 1262304000}, {Cp932("曲/ソング.MID"), "MThd"},
                                   {"NOTES.DOC", "x"}, {"d/", "", 0, true}}));
  UnlhaSetCursorMode(false);
  UnlhaHandle h = UnlhaOpenArchive(archive, kUnlhaOpenMode);
  TUnlhaMemberInfo r;
  std::vector<std::string> names;
  for (int rc = UnlhaFindFirst(h, "*.*", r); rc == 0; rc = UnlhaFindNext(h, r)) names.push_back(r.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"doc/readme.txt", Cp932("曲/ソング.MID"), "NOTES.DOC"}));

  ASSERT_EQ(UnlhaFindFirst(h, "*.TXT *.DOC ", r), 0);
  EXPECT_EQ(r.Name, "doc/readme.txt");
  EXPECT_EQ(r.BaseName(), "readme.txt");
  EXPECT_EQ(r.Size, 5u);
  EXPECT_EQ(r.DosDate, DosStampFromUnixTime(1262304000).date);
  EXPECT_EQ(r.DosTime, DosStampFromUnixTime(1262304000).time);
  ASSERT_EQ(UnlhaFindNext(h, r), 0);
  EXPECT_EQ(r.Name, "NOTES.DOC");
  EXPECT_NE(UnlhaFindNext(h, r), 0);
  EXPECT_NE(UnlhaFindFirst(h, "*.RCP", r), 0);
  UnlhaCloseArchive(h);
  EXPECT_NE(UnlhaFindFirst(h, "*.*", r), 0);  // closed handle
  EXPECT_NE(UnlhaFindFirst(UnlhaOpenArchive(dir.path() + "missing.lzh"), "*.*", r), 0);
}

TEST(LzhFacade, CheckItemPresence) {
  TempDir dir;
  dir.Write("loose.mid", "x");
  dir.Write("a.lzh", BuildStoredArchive({{"sub/IN ARC.MID", "x"}, {"B.RCP", "y"}}));
  EXPECT_EQ(CheckItemPresence(dir.path(), "loose.mid", ""), 0);
  EXPECT_EQ(CheckItemPresence(dir.path(), "gone.mid", "."), 1);
  EXPECT_EQ(CheckItemPresence(dir.path(), "B.RCP", "a.lzh"), 0);
  EXPECT_EQ(CheckItemPresence(dir.path(), "in arc.mid", "a.lzh"), 0);  // blank inside, letter case
  EXPECT_EQ(CheckItemPresence(dir.path(), "C.RCP", "a.lzh"), 1);
  EXPECT_EQ(CheckItemPresence(dir.path(), "B.RCP", "none.lzh"), 2);
  EXPECT_EQ(UnLhaManagement().Owner(), 0);
}

TEST(LzhTurns, LowestWaitingSlotGoesFirst) {
  TUnLhaManagement table;
  ASSERT_TRUE(table.Request(kSlotRename));
  std::vector<int> order;
  std::mutex m;
  auto user = [&](int slot) {
    ASSERT_TRUE(table.Request(slot));
    {
      std::lock_guard lock(m);
      order.push_back(slot);
    }
    table.Release(slot);
  };
  std::thread t5(user, kSlotListPlay);
  while (!table.Requested(kSlotListPlay)) std::this_thread::sleep_for(1ms);
  std::thread t1(user, kSlotFolderScan);
  while (!table.Requested(kSlotFolderScan)) std::this_thread::sleep_for(1ms);
  table.Release(kSlotRename);
  t1.join();
  t5.join();
  EXPECT_EQ(order, (std::vector<int>{kSlotFolderScan, kSlotListPlay}));
  EXPECT_EQ(table.Owner(), 0);
}

TEST(LzhTurns, GivingUpWithdrawsAndServicesTheCaller) {
  TUnLhaManagement table;
  ASSERT_TRUE(table.Request(kSlotUnpack));
  int serviced = 0;
  std::atomic<bool> stop{false};
  std::thread t([&] {
    EXPECT_FALSE(table.Request(kSlotDetailWindow, [&] { return stop.load(); }, 1ms, [&] { ++serviced; }));
  });
  std::this_thread::sleep_for(20ms);
  stop = true;
  t.join();
  EXPECT_GT(serviced, 0);
  EXPECT_FALSE(table.Requested(kSlotDetailWindow));
  table.Release(kSlotUnpack);
  EXPECT_EQ(table.Owner(), 0);
  EXPECT_FALSE(table.Request(0));
  EXPECT_FALSE(table.Request(12));
}

// Many threads requesting, holding and giving up at once: never two holders, never a
// turn lost (the table ends free and every non-withdrawn request was served).
TEST(LzhTurns, StressWithdrawalsNeverLoseOrShareTheTurn) {
  TUnLhaManagement table;
  std::atomic<int> inside{0}, served{0}, overlaps{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 12; ++t) {
    threads.emplace_back([&, t] {
      const int slot = 1 + t % kUnLhaSlotCount;
      for (int i = 0; i < 150; ++i) {
        int budget = (i + t) % 3;  // some give up at once, some after a few pauses, some never
        auto giveUp = [&budget, i] { return i % 4 == 0 && budget-- <= 0; };
        if (!table.Request(slot, giveUp, std::chrono::milliseconds(0))) continue;
        if (inside.fetch_add(1) != 0) ++overlaps;
        ++served;
        inside.fetch_sub(1);
        table.Release(slot);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_GT(served.load(), 12 * 150 * 3 / 4 - 1);
  EXPECT_EQ(table.Owner(), 0);
  for (int s = 1; s <= kUnLhaSlotCount; ++s) EXPECT_FALSE(table.Requested(s));
}

TEST(LzhUnpack, OneCommandPerNonEmptySpecAndMembersLandInTheDestination) {
  TempDir dir;
  const std::string archive =
      dir.Write("a.lzh", BuildStoredArchive({{"doc/readme.txt", "r"}, {"SONG.MID", "m"}, {"SONG.WRD", "w"}}));
  const std::string dest = dir.MakeFolder("work");
  std::vector<std::string> commands;
  std::mutex m;
  SetUnlhaCommandObserver([&](const std::string& c) {
    std::lock_guard lock(m);
    commands.push_back(c);
  });
  RecordingMessageBox box;
  int serviced = 0;
  EXPECT_TRUE(UnpackAndWait(archive, "\"SONG.MID\"", "\"doc/readme.txt\"", dest + "/", box, [&] { ++serviced; }));
  EXPECT_EQ(commands.size(), 2u);
  EXPECT_TRUE(UnpackAndWait(archive, "\"SONG.WRD\"", "", dest + "/", box));
  SetUnlhaCommandObserver({});
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0], "e -n1 -gp0 -a0 \"" + archive + "\" \"" + dest + "/\" \"SONG.MID\"");
  for (const char* f : {"SONG.MID", "readme.txt", "SONG.WRD"}) EXPECT_TRUE(std::filesystem::exists(dest + "/" + f));
  EXPECT_TRUE(box.shown.empty());

  SetLhaLibraryForTesting(std::nullopt);
  EXPECT_FALSE(UnpackAndWait(archive, "\"SONG.MID\"", "", dest + "/", box));
  ResetLhaLibraryForTesting();
}

TEST(LzhUnpack, AbortAtCloseShowsTheConfirmation) {
  TUnLhaManagement table;
  ASSERT_TRUE(table.Request(kSlotFolderScan));  // someone else holds the library
  RecordingMessageBox box;
  auto job = TLHAunpack::Start({"/nonexistent.lzh", "\"A\"", "", "/tmp/"}, box, table);
  std::this_thread::sleep_for(5ms);
  TLHAunpack::SetAbort(true);
  job->Join();
  TLHAunpack::SetAbort(false);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, kLhaUnpackAbortedMessage);
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(table.Owner(), kSlotFolderScan);
}

}  // namespace
}  // namespace kadrel
