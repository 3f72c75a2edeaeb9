#pragma once
// Writing LZH archives: renaming members in place of the archive (compressed data copied
// unchanged, only headers rebuilt) and making stored (-lh0-) archives.

#include <cstdint>
#include <string>
#include <vector>

namespace kadrel {

struct StoredMember {
  std::string path;       // CP932 member path with "/" between folders
  std::string data;
  uint32_t unixTime = 0;  // levels 0/1 store it as local MS-DOS date/time
  bool directory = false; // a -lhd- folder entry (path names the folder, data ignored)
};

// The bytes of a stored archive at header level 0, 1 or 2, ended by the 0x00 byte.
// `os` is the OS id of levels 1/2. Returns an empty string when a name does not fit
// the level (level 0: 233 bytes, level 1: 230, level 2: 65000) or level is not 0-2.
std::string BuildStoredArchive(const std::vector<StoredMember>& members, int level = 2, char os = 'M');

// Builds the archive and writes it atomically (temporary file in the same folder,
// fsync, rename). False with *error set on failure.
bool WriteStoredArchive(const std::string& path, const std::vector<StoredMember>& members, int level,
                        std::string* error);

struct RenameResult {
  bool ok = false;
  int renamed = 0;     // members whose name changed
  std::string error;   // English, when !ok
};

// Renames every member whose name matches `oldName` (MemberMatchesPattern rules: base
// name, or whole path when it has a folder part; no wildcards) to the base name `newName`
// (CP932; folder kept). Supports header levels 0, 1 and 2; an archive with a level-3
// member is refused and left unchanged. The result is written to a temporary file next
// to the archive, listed and checked (data bytes unchanged, renamed members decode with
// matching CRC), then renamed over the archive. No match: ok with renamed = 0, file untouched.
RenameResult RenameLzhMembers(const std::string& archivePath, const std::string& oldName,
                              const std::string& newName);

// The same rewrite on bytes in memory (no self-check); used by RenameLzhMembers.
RenameResult RenameLzhMembersInMemory(const std::string& archive, const std::string& oldName,
                                      const std::string& newName, std::string& out);

// Atomic replacement helper (ReplaceFileAtomically, with its rules for links and
// read-only files): an existing file keeps its permissions, a new one gets `mode`
// (0644 minus umask when < 0).
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error, int mode = -1);

}  // namespace kadrel
