#pragma once
// The archive library facade: the seven operations the rest of the program calls, with
// the results they rely on, on top of our header walker and liblhasa's decoders.
// All paths are absolute; nothing here changes the working directory.
//
//   UnlhaGetVersion()                 version x 100 (> 88 means usable)
//   UnlhaSetCursorMode(flag)          accepted and ignored (no cursor to change)
//   UnlhaOpenArchive(path, mode)      handle (0 when the archive cannot be read; FindFirst
//                                     on it then reports "none")
//   UnlhaFindFirst(h, wildcards, r)   0 = found, record filled; other = none
//   UnlhaFindNext(h, r)               as FindFirst, next member
//   UnlhaCloseArchive(h)              frees the handle
//   Unlha(commandLine)                runs an "e" (extract) or "n" (rename) command line
//
// Member records: size, MS-DOS date and time, member path (CP932, "/"), base name.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kadrel {

inline constexpr uint32_t kUnlhaOpenMode = 0x02800202;

struct TUnlhaMemberInfo {
  uint32_t Size = 0;        // unpacked size (capped at 0xFFFFFFFF)
  uint16_t DosDate = 0;
  uint16_t DosTime = 0;
  std::string Name;         // member path, CP932, folders separated by "/"
  // Beyond the library's record, for the command-line tool and the detail window.
  std::string Method;       // "-lh5-"
  int HeaderLevel = 0;
  uint64_t CompressedSize = 0;

  std::string BaseName() const;  // text after the last "/"
};

using UnlhaHandle = std::intptr_t;

int UnlhaGetVersion();
void UnlhaSetCursorMode(bool flag);
UnlhaHandle UnlhaOpenArchive(const std::string& archivePath, uint32_t mode = kUnlhaOpenMode);
// wildcardText: one pattern or several separated by blanks ("*.TXT *.DOC "), a pattern
// in double quotes may contain blanks; matched against the member's base name (or its
// whole path when the pattern has a folder part). Empty text = every member.
int UnlhaFindFirst(UnlhaHandle handle, const std::string& wildcardText, TUnlhaMemberInfo& record);
int UnlhaFindNext(UnlhaHandle handle, TUnlhaMemberInfo& record);
int UnlhaCloseArchive(UnlhaHandle handle);

// Runs a command line. Returns 0 when everything asked for was done, non-zero
// otherwise (callers that follow the designed flow ignore it and test for the file).
// `report`, when given, receives one English line per problem and per written file.
//  e [switches] "ARCHIVE" "DEST/" SPEC...   extract to DEST under base names; SPEC is a
//        member name (quoted when it has blanks) or wildcard; "-jxPATTERN" excludes.
//        No SPEC: every member.
//  n ARCHIVE OLD -n -grNEW                    rename members named OLD to NEW.
int Unlha(const std::string& commandLine, std::string* report = nullptr);

// Library presence. Always true on Linux unless switched off for tests.
bool LhaAvailable();
// The version as the about box shows it: version / 100, up to 11 significant digits.
std::string LhaVersionText();
// Where the decoders come from, for the about box ("liblhasa").
std::string LhaLibraryName();

// Test switch: pretend the library reports this version (nullopt = library missing).
// ResetLhaLibraryForTesting() restores the real state.
void SetLhaLibraryForTesting(std::optional<int> version);
void ResetLhaLibraryForTesting();

// For tests: called with every command line Unlha receives (empty function = none).
void SetUnlhaCommandObserver(std::function<void(const std::string&)> observer);

// The designed message for a missing library (UTF-8).
inline constexpr const char* kLhaMissingMessage = "UNLHA32.DLL が存在しません.処理に失敗しました.";

// Text of an extract command: e -n1 -gp0 -a0 "archive" "dest" spec
std::string ExtractCommandLine(const std::string& archivePath, const std::string& destFolder,
                               const std::string& memberSpec);

}  // namespace kadrel
