#pragma once
// Members of an archive as the rename sees them: found by base name without regard
// to letter case, the rule the archive rename writer renames by.

#include <string>

namespace kadrel {

// Members of folder + archive named `member`; -1 when the archive cannot be read.
int CountNamedMembers(const std::string& folder, const std::string& archive, const std::string& member);

bool MemberExists(const std::string& folder, const std::string& archive, const std::string& member);

// Renames the one member named oldName to newName (CP932 base names) through the
// archive rename writer. False with `why` (English) when the archive was left as it
// was: unreadable, a header level the writer refuses, or no member renamed.
bool RenameMember(const std::string& folder, const std::string& archive, const std::string& oldName,
                  const std::string& newName, std::string* why = nullptr);

}  // namespace kadrel
