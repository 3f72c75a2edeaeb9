// Key definition files: the built-in default against a file written by hand, the
// round trip, damaged files and the search for the file at start-up.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "commands/command_names.h"
#include "commands/key_file.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

using test::ReadFileBytes;
using test::RecordingMessageBox;
using test::TempDir;

std::string Lines(const std::vector<std::string>& lines, std::string_view end = "\r\n") {
  std::string out;
  for (const std::string& line : lines) out += line + std::string(end);
  return out;
}

// The default file's lines, as CP932 text without line ends.
std::vector<std::string> DefaultLines() {
  std::vector<std::string> lines;
  const std::string bytes = DefaultKeyFileBytes();
  for (size_t start = 0; start < bytes.size();) {
    const size_t end = bytes.find("\r\n", start);
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Texts(const RecordingMessageBox& box) {
  std::vector<std::string> texts;
  for (const MessageRequest& r : box.shown) texts.push_back(r.text);
  return texts;
}

TEST(KeyFile, DefaultEqualsTheHandWrittenFile) {
  const std::string golden = ReadFileBytes(test::TestDataDir() + "keys/Default.Key");
  ASSERT_EQ(golden.size(), 1680u);
  EXPECT_EQ(DefaultKeyFileBytes(), golden);
}

TEST(KeyFile, LoadingRenamesOldNamesAndSavingWritesTheSameFileBack) {
  KeyTable table;
  ASSERT_EQ(ReadKeyFile(DefaultKeyFileBytes(), table), KeyFileStatus::Ok);
  const std::string reread = CommandBytes("ファイル情報を完全に再取得");
  EXPECT_EQ(table.Cell(kFirstLetterRow + ('I' - 'A'), 2), reread);
  EXPECT_EQ(table.Cell(kFirstLetterRow + ('W' - 'A'), 1), reread);
  EXPECT_EQ(table.Cell(kFirstCharacterRow, 2), UnsettableMarkerBytes());

  // Apart from the two renamed cells the saved file is the default, byte for byte.
  std::string expected = DefaultKeyFileBytes();
  const std::string old = CommandBytes("インデックスの再構築");
  for (size_t at; (at = expected.find(old)) != std::string::npos;) expected.replace(at, old.size(), reread);
  EXPECT_EQ(FormatKeyFile(table), expected);

  KeyTable again;
  ASSERT_EQ(ReadKeyFile(FormatKeyFile(table), again), KeyFileStatus::Ok);
  EXPECT_EQ(again, table);
}

TEST(KeyFile, DamagedFilesAreRefusedWithTheirMessages) {
  std::vector<std::string> lines = DefaultLines();
  struct Case {
    const char* what;
    std::string bytes;
    KeyFileStatus status;
  };
  std::vector<std::string> version = lines;
  version[1] = "0.01";
  std::vector<std::string> header = lines;
  header[0] = "[KadrelKeyCustomizeFile] ";
  std::vector<std::string> short68(lines.begin(), lines.end() - 1);
  std::vector<std::string> short66(lines.begin(), lines.begin() + 66);
  const Case cases[] = {
      {"version 0.01", Lines(version), KeyFileStatus::WrongVersion},
      {"header", Lines(header), KeyFileStatus::WrongFormat},
      {"66 lines", Lines(short66), KeyFileStatus::WrongFormat},
      {"68 lines", Lines(short68), KeyFileStatus::ReadError},
      {"empty", "", KeyFileStatus::WrongFormat},
  };
  for (const Case& c : cases) {
    KeyTable table;
    EXPECT_EQ(ReadKeyFile(c.bytes, table), c.status) << c.what;
  }
  EXPECT_EQ(KeyFileStatusMessage(KeyFileStatus::WrongVersion), "キー定義ファイルのVersionが異なります.");

  // 68 lines: rows 1 … 66 were read, row 67 stays as it was.
  KeyTable table;
  table.SetCell(67, 1, "x");
  ReadKeyFile(Lines(short68), table);
  EXPECT_EQ(table.Cell(kFirstCharacterRow + 7, 1), CommandBytes("現在のdriveのRootFolderへ"));
  EXPECT_EQ(table.Cell(67, 1), "x");
}

TEST(KeyFile, LineEndsQuotesOldNamesAndDigitMarkers) {
  std::vector<std::string> lines = DefaultLines();
  KeyTable expected;
  ReadKeyFile(DefaultKeyFileBytes(), expected);

  KeyTable unix;
  EXPECT_EQ(ReadKeyFile(Lines(lines, "\n"), unix), KeyFileStatus::Ok);
  EXPECT_EQ(unix, expected);

  lines[2] = "  \"Return\",\"" + CommandBytes("最適な方法で開く") + "\",\"a,b\",,  ";
  lines[3] = "BS," + CommandBytes("現在の曲を最初から") + "," + CommandBytes("曲(ListPlay含)を直ちに終了") + ",,";
  lines[1 + kFirstDigitRow] = CommandBytes("１") + ",," + UnsettableMarkerBytes() + "," + UnsettableMarkerBytes() + ",";
  lines[1 + kFirstCharacterRow] = CommandBytes("，") + ",,x,y,z";
  KeyTable t;
  ASSERT_EQ(ReadKeyFile(Lines(lines), t), KeyFileStatus::Ok);
  EXPECT_EQ(t.Cell(1, 1), CommandBytes("最適な方法で開く"));
  EXPECT_EQ(t.Cell(1, 2), "a,b");
  EXPECT_EQ(t.Cell(2, 1), CommandBytes("リプレイをする"));
  EXPECT_EQ(t.Cell(2, 2), CommandBytes("演奏を終了する"));
  EXPECT_EQ(t.Cell(kFirstDigitRow, 2), "");
  EXPECT_EQ(t.Cell(kFirstDigitRow, 3), "");
  EXPECT_EQ(t.Cell(kFirstCharacterRow, 2), UnsettableMarkerBytes());

  // A name with a comma is quoted when written, so it reads back as one field.
  KeyTable back;
  ASSERT_EQ(ReadKeyFile(FormatKeyFile(t), back), KeyFileStatus::Ok);
  EXPECT_EQ(back, t);
}

TEST(KeyFile, FirstStartWritesDefaultKeyAndSaysSoOnce) {
  TempDir config;
  RecordingMessageBox box;
  KeyTable table;
  const std::string stored = config.path() + "Default.Key";
  KeyFileLoad load = LoadKeyFile(table, stored, {config.path(), true}, box);
  ASSERT_TRUE(load.ok);
  EXPECT_EQ(load.path, stored);
  EXPECT_EQ(ReadFileBytes(stored), DefaultKeyFileBytes());
  EXPECT_EQ(Texts(box), std::vector<std::string>{std::string(keytext::kWroteDefault)});
  EXPECT_EQ(table.KeyRowCommand(kFirstLetterRow + ('I' - 'A'), {.ctrl = true}),
            CommandBytes("ファイル情報を完全に再取得"));

  load = LoadKeyFile(table, stored, {config.path(), false}, box);
  EXPECT_TRUE(load.ok);
  EXPECT_EQ(box.shown.size(), 1u);
}

TEST(KeyFile, TheDefaultFileIsFoundInAnyLetterCase) {
  TempDir config;
  const std::string lower = config.Write("default.key", DefaultKeyFileBytes());
  RecordingMessageBox box;
  KeyTable table;
  const KeyFileLoad load = LoadKeyFile(table, config.path() + "Default.Key", {config.path(), false}, box);
  EXPECT_TRUE(load.ok);
  EXPECT_EQ(load.path, lower);
  EXPECT_TRUE(box.shown.empty());
}

TEST(KeyFile, AStoredFileInAGoneFolderFallsBackToTheConfigurationFolder) {
  TempDir config;
  const std::string mine = config.Write("Mine.Key", DefaultKeyFileBytes());
  RecordingMessageBox box;
  KeyTable table;
  const KeyFileLoad load = LoadKeyFile(table, "/nonexistent/old/Mine.Key", {config.path(), true}, box);
  EXPECT_TRUE(load.ok);
  EXPECT_EQ(load.path, mine);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].text.find("/nonexistent/old/"), std::string::npos);
}

TEST(KeyFile, RefusedFilesLeaveNoCurrentFileAndWarnByPhase) {
  TempDir config;
  std::vector<std::string> lines = DefaultLines();
  lines[1] = "0.01";
  const std::string path = config.Write("Old.Key", Lines(lines));
  for (bool starting : {true, false}) {
    RecordingMessageBox box;
    KeyTable table;
    const KeyFileLoad load = LoadKeyFile(table, path, {config.path(), starting}, box);
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(Texts(box), (std::vector<std::string>{std::string(keytext::kWrongVersion),
                                                     std::string(starting ? keytext::kFailedAtStart
                                                                          : keytext::kNoKeyFile)}));
    EXPECT_EQ(box.shown[0].kind, MessageKind::Warning);
  }
  // Far more than a key file holds is not read at all.
  const std::string huge = config.Write("Huge.Key", DefaultKeyFileBytes() + std::string(kKeyFileMaxBytes, '\n'));
  RecordingMessageBox box;
  KeyTable table;
  EXPECT_FALSE(LoadKeyFile(table, huge, {config.path(), false}, box).ok);
  EXPECT_EQ(box.shown.at(0).text, keytext::kWrongFormat);
}

TEST(KeyFile, AFailedWriteIsReportedNotTakenForAFile) {
  TempDir config;
  const std::string folder = config.path();
  RecordingMessageBox box;
  KeyTable table;
  const KeyFileLoad load = LoadKeyFile(table, "", {folder + "missing/", true}, box);
  EXPECT_FALSE(load.ok);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(box.shown[1].text, keytext::kFailedAtStart);

  std::string error;
  EXPECT_FALSE(SaveKeyFile(table, folder + "missing/x.key", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kadrel
