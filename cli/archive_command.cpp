// kadrel-cli archive: list, extract and rename LZH members, and make stored archives.
//
//   archive list ARCHIVE [PATTERNS...]
//   archive extract ARCHIVE DEST [MEMBER SPEC...]      (-jxPATTERN excludes)
//   archive rename ARCHIVE OLD NEW
//   archive create-stored [--level N] OUT.LZH [MEMBER=]FILE...
//
// Names given on the command line are UTF-8 and are converted to CP932 where they are
// compared with member names.

#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <iterator>

#include "cli/cli_common.h"
#include "base/encoding.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"
#include "archive/lzh_writer.h"
#include "archive/unlha.h"

namespace kadrel::cli {
namespace {

std::string Hex(std::string_view bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  return out;
}

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char buf[4096];
  return ::getcwd(buf, sizeof buf) ? std::string(buf) + "/" + path : path;
}

int List(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError{"archive list ARCHIVE [PATTERNS]"};
  auto src = FileByteSource::Open(args[0]);
  if (!src) {
    std::cerr << "kadrel-cli: cannot open " << args[0] << "\n";
    return kExitFailure;
  }
  LzhListing listing = ListLzhArchive(*src);
  std::string patterns;
  for (size_t i = 1; i < args.size(); ++i) patterns += "\"" + PreferCp932(args[i]) + "\" ";
  for (const auto& m : listing.members) {
    if (!patterns.empty() && (m.IsDirectory() || !MemberMatchesAny(SplitWildcardText(patterns), m.Path()))) continue;
    nlohmann::ordered_json j;
    j["path"] = DisplayText(m.Path());
    j["path_cp932_hex"] = Hex(m.Path());
    j["base_name"] = DisplayText(m.name);
    j["extracted_name"] = ExtractedFileName(m.name);
    j["size"] = m.originalSize;
    j["compressed_size"] = m.compressedSize;
    j["dos_date"] = m.dosDate;
    j["dos_time"] = m.dosTime;
    j["method"] = m.method;
    j["header_level"] = m.level;
    j["os"] = m.os ? std::string(1, static_cast<char>(m.os)) : std::string();
    j["crc"] = m.crc;
    j["directory"] = m.IsDirectory();
    PrintJsonLine(j);
  }
  if (listing.damaged) {
    std::cerr << "kadrel-cli: " << args[0] << ": " << listing.error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

int Extract(const std::vector<std::string>& args) {
  if (args.size() < 2) throw UsageError{"archive extract ARCHIVE DEST [MEMBER SPEC...]"};
  std::string dest = AbsolutePath(args[1]);
  if (dest.back() != '/') dest += '/';
  std::string spec;
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string cp932 = PreferCp932(args[i]);
    spec += cp932.rfind("-jx", 0) == 0 ? " " + cp932 + " " : "\"" + cp932 + "\" ";
  }
  std::string report;
  const int rc = Unlha(ExtractCommandLine(AbsolutePath(args[0]), dest, spec), &report);
  std::cerr << report;
  return rc == 0 ? kExitOk : (rc == 2 ? kExitUsage : kExitFailure);
}

int Rename(const std::vector<std::string>& args) {
  if (args.size() != 3) throw UsageError{"archive rename ARCHIVE OLD NEW"};
  RenameResult r = RenameLzhMembers(AbsolutePath(args[0]), PreferCp932(args[1]), PreferCp932(args[2]));
  if (!r.ok) {
    std::cerr << "kadrel-cli: " << r.error << "\n";
    return kExitFailure;
  }
  if (r.renamed == 0) {
    std::cerr << "kadrel-cli: no member named " << args[1] << "\n";
    return kExitFailure;
  }
  std::cout << "renamed " << r.renamed << " member(s)\n";
  return kExitOk;
}

int CreateStored(std::vector<std::string> args) {
  int level = 2;
  if (args.size() >= 2 && args[0] == "--level") {
    level = std::atoi(args[1].c_str());
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() < 2 || level < 0 || level > 2) throw UsageError{"archive create-stored [--level 0|1|2] OUT.LZH [MEMBER=]FILE..."};
  std::vector<StoredMember> members;
  for (size_t i = 1; i < args.size(); ++i) {
    const size_t eq = args[i].find('=');
    const std::string file = eq == std::string::npos ? args[i] : args[i].substr(eq + 1);
    std::string member = eq == std::string::npos ? file.substr(file.rfind('/') + 1) : args[i].substr(0, eq);
    std::ifstream in(file, std::ios::binary);
    struct stat st {};
    if (!in || ::stat(file.c_str(), &st) != 0) {
      std::cerr << "kadrel-cli: cannot read " << file << "\n";
      return kExitFailure;
    }
    StoredMember m;
    m.path = PreferCp932(member);
    m.data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    m.unixTime = static_cast<uint32_t>(st.st_mtime);
    members.push_back(std::move(m));
  }
  std::string error;
  if (!WriteStoredArchive(args[0], members, level, &error)) {
    std::cerr << "kadrel-cli: " << error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

int RunArchive(std::vector<std::string> args) {
  if (args.empty()) throw UsageError{"archive list|extract|rename|create-stored ..."};
  const std::string sub = args[0];
  args.erase(args.begin());
  if (sub == "list") return List(args);
  if (sub == "extract") return Extract(args);
  if (sub == "rename") return Rename(args);
  if (sub == "create-stored") return CreateStored(args);
  throw UsageError{"unknown archive command " + sub};
}

}  // namespace kadrel::cli
