#include "rename/member_rename.h"

#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"
#include "archive/lzh_writer.h"

namespace kadrel {

int CountNamedMembers(const std::string& folder, const std::string& archive, const std::string& member) {
  const LzhListing listing = ListLzhFile(folder + archive);
  if (listing.members.empty() && listing.damaged) return -1;
  int count = 0;
  for (const LzhMember& m : listing.members)
    if (!m.IsDirectory() && MemberNamesEqual(m.name, member)) ++count;
  return count;
}

bool MemberExists(const std::string& folder, const std::string& archive, const std::string& member) {
  return CountNamedMembers(folder, archive, member) > 0;
}

bool RenameMember(const std::string& folder, const std::string& archive, const std::string& oldName,
                  const std::string& newName, std::string* why) {
  const RenameResult r = RenameLzhMembers(folder + archive, oldName, newName);
  if (r.ok && r.renamed > 0) return true;
  if (why) *why = r.ok ? "no member was renamed" : r.error;
  return false;
}

}  // namespace kadrel
