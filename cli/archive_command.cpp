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

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

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

struct ListArgs {
  std::string archive;
  std::vector<std::string> patterns;
};

int List(const ListArgs& args) {
  auto src = FileByteSource::Open(args.archive);
  if (!src) {
    std::cerr << "kadrel-cli: cannot open " << args.archive << "\n";
    return kExitFailure;
  }
  LzhListing listing = ListLzhArchive(*src);
  std::string patterns;
  for (const std::string& p : args.patterns) patterns += "\"" + PreferCp932(p) + "\" ";
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
    std::cerr << "kadrel-cli: " << args.archive << ": " << listing.error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

struct ExtractArgs {
  std::string archive;
  std::string dest;
  std::vector<std::string> specs;  // members and -jxPATTERN exclusions, in their order
};

int Extract(const ExtractArgs& args) {
  std::string dest = AbsolutePath(args.dest);
  if (dest.back() != '/') dest += '/';
  std::string spec;
  for (const std::string& word : args.specs) {
    const std::string cp932 = PreferCp932(word);
    spec += cp932.rfind("-jx", 0) == 0 ? " " + cp932 + " " : "\"" + cp932 + "\" ";
  }
  std::string report;
  const int rc = Unlha(ExtractCommandLine(AbsolutePath(args.archive), dest, spec), &report);
  std::cerr << report;
  return rc == 0 ? kExitOk : (rc == 2 ? kExitUsage : kExitFailure);
}

struct RenameArgs {
  std::string archive;
  std::string oldName;
  std::string newName;
};

int Rename(const RenameArgs& args) {
  RenameResult r = RenameLzhMembers(AbsolutePath(args.archive), PreferCp932(args.oldName), PreferCp932(args.newName));
  if (!r.ok) {
    std::cerr << "kadrel-cli: " << r.error << "\n";
    return kExitFailure;
  }
  if (r.renamed == 0) {
    std::cerr << "kadrel-cli: no member named " << args.oldName << "\n";
    return kExitFailure;
  }
  std::cout << "renamed " << r.renamed << " member(s)\n";
  return kExitOk;
}

struct CreateStoredArgs {
  int level = 2;
  std::string archive;
  std::vector<std::string> members;  // [MEMBER=]FILE
};

int CreateStored(const CreateStoredArgs& args) {
  std::vector<StoredMember> members;
  for (const std::string& arg : args.members) {
    const size_t eq = arg.find('=');
    const std::string file = eq == std::string::npos ? arg : arg.substr(eq + 1);
    std::string member = eq == std::string::npos ? file.substr(file.rfind('/') + 1) : arg.substr(0, eq);
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
  if (!WriteStoredArchive(args.archive, members, args.level, &error)) {
    std::cerr << "kadrel-cli: " << error << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

// Registers leaf under archive; its callback hands the parsed args to the runner.
template <typename Args>
std::shared_ptr<Args> Leaf(CLI::App* leaf, CommandRunner& run, int (*runner)(const Args&)) {
  auto args = std::make_shared<Args>();
  leaf->callback([&run, args, runner] { run = [args, runner] { return runner(*args); }; });
  return args;
}

}  // namespace

void AddArchiveCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* archive = app.add_subcommand("archive", "List, extract and rename LZH members; make stored archives");
  archive->require_subcommand(1);

  CLI::App* list = archive->add_subcommand("list", "Members of an LZH archive (JSON Lines)");
  auto listArgs = Leaf(list, run, List);
  list->add_option("ARCHIVE", listArgs->archive, "The LZH archive")->required();
  list->add_option("PATTERNS", listArgs->patterns, "Only the files matching one of these wildcards");

  // The members to extract may be mixed with -jxPATTERN exclusions, which CLI11 would
  // take for options: everything after DEST is kept as extra arguments, in order.
  CLI::App* extract = archive->add_subcommand("extract", "Extract members under their base names");
  auto extractArgs = std::make_shared<ExtractArgs>();
  extract->add_option("ARCHIVE", extractArgs->archive, "The LZH archive")->required();
  extract->add_option("DEST", extractArgs->dest, "The folder to extract into")->required();
  extract->allow_extras();
  extract->footer(
      "SPEC...  after DEST: members or wildcards to extract (all when none);\n"
      "         -jxPATTERN leaves out the members matching PATTERN");
  extract->callback([&run, extract, extractArgs] {
    extractArgs->specs = extract->remaining();
    for (const std::string& word : extractArgs->specs)
      if (word.size() > 1 && word[0] == '-' && word.rfind("-jx", 0) != 0)
        throw CLI::ExtrasError(extract->get_name(), {word});  // an unknown flag, not a member
    run = [extractArgs] { return Extract(*extractArgs); };
  });

  CLI::App* rename = archive->add_subcommand("rename", "Rename members inside an archive");
  auto renameArgs = Leaf(rename, run, Rename);
  rename->add_option("ARCHIVE", renameArgs->archive, "The LZH archive, changed in place")->required();
  rename->add_option("OLD", renameArgs->oldName, "The member's name (base name or path)")->required();
  rename->add_option("NEW", renameArgs->newName, "Its new name")->required();

  CLI::App* create = archive->add_subcommand("create-stored", "Make an archive of stored (uncompressed) members");
  auto createArgs = Leaf(create, run, CreateStored);
  create->add_option("--level", createArgs->level, "Header level of the members")
      ->capture_default_str()
      ->check(CLI::Range(0, 2));
  create->add_option("OUT.LZH", createArgs->archive, "The archive to write")->required();
  create->add_option("FILE", createArgs->members, "[MEMBER=]FILE: a file, stored as MEMBER or under its base name")
      ->required();
}

}  // namespace kadrel::cli
