// The archive library facade and its command interpreter.

#include "archive/unlha.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <mutex>

#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"
#include "archive/lzh_writer.h"

namespace kadrel {
namespace {

// The version this layer reports: 1.00 (everything the program relies on is supported).
constexpr int kLayerVersion = 100;

std::mutex g_versionMutex;
std::optional<int> g_version = kLayerVersion;

struct OpenArchive {
  LzhListing listing;
  std::vector<std::string> patterns;
  size_t next = 0;
};

std::mutex g_handleMutex;
std::map<UnlhaHandle, OpenArchive> g_handles;
UnlhaHandle g_nextHandle = 1;

std::mutex g_observerMutex;
std::function<void(const std::string&)> g_observer;

void Fill(const LzhMember& m, TUnlhaMemberInfo& r) {
  r.Size = m.originalSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(m.originalSize);
  r.DosDate = m.dosDate;
  r.DosTime = m.dosTime;
  r.Name = m.Path();
  r.Method = m.method;
  r.HeaderLevel = m.level;
  r.CompressedSize = m.compressedSize;
}

int FindFrom(OpenArchive& a, TUnlhaMemberInfo& r) {
  while (a.next < a.listing.members.size()) {
    const LzhMember& m = a.listing.members[a.next++];
    if (m.IsDirectory()) continue;
    if (a.patterns.empty() || MemberMatchesAny(a.patterns, m.Path())) {
      Fill(m, r);
      return 0;
    }
  }
  return -1;
}

struct Token {
  std::string text;
  bool quoted = false;  // began with a double quote: never a switch
};

// Blanks separate tokens; double quotes group (and are removed).
std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> out;
  Token cur;
  bool inQuotes = false, any = false;
  for (char c : line) {  // '"' and ' ' are never Shift-JIS trail bytes
    if (c == '"') {
      if (!any) cur.quoted = true;
      inQuotes = !inQuotes;
      any = true;
    } else if (!inQuotes && (c == ' ' || c == '\t')) {
      if (any) out.push_back(cur);
      cur = Token{};
      any = false;
    } else {
      cur.text += c;
      any = true;
    }
  }
  if (any) out.push_back(cur);
  return out;
}

bool IsSwitch(const Token& t) { return !t.quoted && t.text.size() > 1 && t.text[0] == '-'; }

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char buf[4096];
  if (::getcwd(buf, sizeof buf) == nullptr) return path;
  return std::string(buf) + "/" + path;
}

void Note(std::string* report, const std::string& line) {
  if (report) *report += line + "\n";
}

const char* StatusText(LzhDecodeStatus s) {
  switch (s) {
    case LzhDecodeStatus::Ok: return "ok";
    case LzhDecodeStatus::Partial: return "partial";
    case LzhDecodeStatus::UnsupportedMethod: return "unsupported method";
    case LzhDecodeStatus::DataError: return "data error (length or CRC)";
    case LzhDecodeStatus::Implausible: return "damaged (declared size larger than the method can make of the data)";
    case LzhDecodeStatus::WriteError: return "cannot write the file";
    case LzhDecodeStatus::Refused: return "refused (not a regular file or unsafe name)";
  }
  return "?";
}

int RunExtract(const std::vector<Token>& tokens, std::string* report) {
  std::vector<std::string> positional, includes, excludes;
  for (size_t i = 1; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (IsSwitch(t)) {
      if (t.text.size() > 3 && (t.text.compare(0, 3, "-jx") == 0 || t.text.compare(0, 3, "-JX") == 0))
        excludes.push_back(t.text.substr(3));
      continue;  // -n1 -gp0 -a0 and the like: nothing to do
    }
    positional.push_back(t.text);
  }
  if (positional.size() < 2 || positional[1].empty() || positional[1].back() != '/') {
    Note(report, "usage: e [switches] \"archive\" \"dest/\" [members]");
    return 2;
  }
  const std::string archive = AbsolutePath(positional[0]);
  const std::string dest = AbsolutePath(positional[1]);
  includes.assign(positional.begin() + 2, positional.end());

  auto src = FileByteSource::Open(archive);
  if (!src) {
    Note(report, "cannot open " + archive);
    return 1;
  }
  struct stat st {};
  if (::stat(dest.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    Note(report, "destination folder missing: " + dest);
    return 1;
  }
  LzhListing listing = ListLzhArchive(*src);
  int result = 0, matched = 0;
  if (listing.damaged) {
    Note(report, "archive damaged: " + listing.error);
    result = 1;
  }
  for (const auto& m : listing.members) {
    if (m.IsDirectory()) continue;
    if (!includes.empty() && !MemberMatchesAny(includes, m.Path())) continue;
    if (MemberMatchesAny(excludes, m.Path())) continue;
    ++matched;
    std::string written;
    LzhDecodeStatus s = ExtractLzhMember(*src, m, dest, &written);
    if (s == LzhDecodeStatus::Ok) {
      Note(report, "extracted " + m.Path() + " -> " + written);
    } else {
      Note(report, fmt::format("skipped {}: {}", m.Path(), StatusText(s)));
      result = 1;
    }
  }
  if (matched == 0) {
    Note(report, "no matching member");
    result = 1;
  }
  return result;
}

int RunRename(const std::vector<Token>& tokens, std::string* report) {
  std::vector<std::string> positional;
  std::string newName;
  bool haveNew = false;
  for (size_t i = 1; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (IsSwitch(t)) {
      if (t.text.compare(0, 3, "-gr") == 0) {
        newName = t.text.substr(3);
        haveNew = true;
      }
      continue;
    }
    positional.push_back(t.text);
  }
  if (positional.size() != 2 || !haveNew) {
    Note(report, "usage: n archive old -n -grnew");
    return 2;
  }
  RenameResult r = RenameLzhMembers(AbsolutePath(positional[0]), positional[1], newName);
  if (!r.ok) {
    Note(report, "rename failed: " + r.error);
    return 1;
  }
  if (r.renamed == 0) {
    Note(report, "no member named " + positional[1]);
    return 1;
  }
  Note(report, fmt::format("renamed {} member(s)", r.renamed));
  return 0;
}

}  // namespace

std::string TUnlhaMemberInfo::BaseName() const { return LzhBaseName(Name); }

int UnlhaGetVersion() {
  std::lock_guard lock(g_versionMutex);
  return g_version.value_or(0);
}

void UnlhaSetCursorMode(bool) {}

UnlhaHandle UnlhaOpenArchive(const std::string& archivePath, uint32_t) {
  if (!LhaAvailable()) return 0;
  auto file = FileByteSource::Open(archivePath);
  if (!file) return 0;
  OpenArchive a;
  a.listing = ListLzhArchive(*file);
  std::lock_guard lock(g_handleMutex);
  const UnlhaHandle h = g_nextHandle++;
  g_handles.emplace(h, std::move(a));
  return h;
}

int UnlhaFindFirst(UnlhaHandle handle, const std::string& wildcardText, TUnlhaMemberInfo& record) {
  std::lock_guard lock(g_handleMutex);
  auto it = g_handles.find(handle);
  if (it == g_handles.end()) return -1;
  it->second.patterns = SplitWildcardText(wildcardText);
  it->second.next = 0;
  return FindFrom(it->second, record);
}

int UnlhaFindNext(UnlhaHandle handle, TUnlhaMemberInfo& record) {
  std::lock_guard lock(g_handleMutex);
  auto it = g_handles.find(handle);
  if (it == g_handles.end()) return -1;
  return FindFrom(it->second, record);
}

int UnlhaCloseArchive(UnlhaHandle handle) {
  std::lock_guard lock(g_handleMutex);
  return g_handles.erase(handle) == 1 ? 0 : -1;
}

int Unlha(const std::string& commandLine, std::string* report) {
  {
    std::lock_guard lock(g_observerMutex);
    if (g_observer) g_observer(commandLine);
  }
  if (!LhaAvailable()) {
    Note(report, "archive library missing");
    return 1;
  }
  std::vector<Token> tokens = Tokenize(commandLine);
  if (tokens.empty()) return 2;
  const std::string& cmd = tokens[0].text;
  if (cmd == "e" || cmd == "E") return RunExtract(tokens, report);
  if (cmd == "n" || cmd == "N") return RunRename(tokens, report);
  Note(report, "unknown command " + cmd);
  return 2;
}

bool LhaAvailable() { return UnlhaGetVersion() > 88; }

std::string LhaVersionText() {
  int v = UnlhaGetVersion();
  return fmt::format("{:.11g}", v / 100.0);
}

std::string LhaLibraryName() { return "liblhasa"; }

void SetLhaLibraryForTesting(std::optional<int> version) {
  std::lock_guard lock(g_versionMutex);
  g_version = version;
}

void SetUnlhaCommandObserver(std::function<void(const std::string&)> observer) {
  std::lock_guard lock(g_observerMutex);
  g_observer = std::move(observer);
}

void ResetLhaLibraryForTesting() { SetLhaLibraryForTesting(kLayerVersion); }

std::string ExtractCommandLine(const std::string& archivePath, const std::string& destFolder,
                               const std::string& memberSpec) {
  return "e -n1 -gp0 -a0 \"" + archivePath + "\" \"" + destFolder + "\" " + memberSpec;
}

}  // namespace kadrel
