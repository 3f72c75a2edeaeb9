#include "settings/settings_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <fmt/format.h>

#include "settings/key_path.h"

namespace kadrel {

namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 10000;

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    " fold BLOB PRIMARY KEY,"   // folded full path, "" for the root
    " path BLOB NOT NULL,"      // full path as first written
    " parent BLOB"              // folded path of the parent, NULL for the root
    ") WITHOUT ROWID;"
    "CREATE INDEX IF NOT EXISTS keys_parent ON keys(parent);"
    "CREATE TABLE IF NOT EXISTS vals("
    " key BLOB NOT NULL,"       // folded key path
    " fold BLOB NOT NULL,"      // folded value name
    " name BLOB NOT NULL,"      // value name as first written
    " kind INTEGER NOT NULL,"   // 0 integer, 1 string
    " ival INTEGER,"
    " sval BLOB,"
    " PRIMARY KEY(key, fold)"
    ") WITHOUT ROWID;"
    "INSERT OR IGNORE INTO keys(fold, path, parent) VALUES(x'', x'', NULL);";

void BindBytes(sqlite3_stmt* st, int index, std::string_view bytes) {
  sqlite3_bind_blob(st, index, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

std::string ColumnBytes(sqlite3_stmt* st, int column) {
  const void* p = sqlite3_column_blob(st, column);
  int n = sqlite3_column_bytes(st, column);
  return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
}

bool Exists(const std::string& path) {
  struct stat sb;
  return ::lstat(path.c_str(), &sb) == 0;
}

// "settings.db" -> "settings.db.damaged-20240131-235959" (with "-2", "-3"... when taken).
std::string AsideName(const std::string& path) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  std::string base = path + ".damaged-" + stamp;
  std::string name = base;
  for (int n = 2; Exists(name) && n < 1000; ++n) name = fmt::format("{}-{}", base, n);
  return name;
}

// True when the file's header marks a database in write-ahead-log mode (format bytes
// 18 and 19 both 2).
bool HeaderSaysWal(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char header[20] = {};
  const bool read = ::pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
  ::close(fd);
  return read && header[18] == 2 && header[19] == 2;
}

// A "file:" URI for `path` with the given query ('%', '?' and '#' escaped).
std::string FileUri(const std::string& path, const char* query) {
  std::string uri = "file:";
  for (char c : path) {
    if (c == '%' || c == '?' || c == '#') uri += fmt::format("%{:02X}", static_cast<unsigned char>(c));
    else uri += c;
  }
  return uri + "?" + query;
}

enum class Verdict { Usable, Empty, Unusable };

// Looks at an opened file: our database, an empty file, or something else (damaged
// or another program's database).
Verdict Inspect(sqlite3* db) {
  sqlite3_stmt* st = nullptr;
  auto scalar = [&](const char* sql, int64_t& out) {
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return false;
    bool ok = sqlite3_step(st) == SQLITE_ROW;
    if (ok) out = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    st = nullptr;
    return ok;
  };
  int64_t appId = 0, tables = 0, ours = 0;
  if (!scalar("PRAGMA application_id", appId)) return Verdict::Unusable;
  if (!scalar("SELECT count(*) FROM sqlite_master", tables)) return Verdict::Unusable;
  if (appId == 0 && tables == 0) return Verdict::Empty;
  if (appId != kSettingsApplicationId) return Verdict::Unusable;
  if (!scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND name IN ('keys','vals')", ours) || ours != 2)
    return Verdict::Unusable;
  if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr) != SQLITE_OK) return Verdict::Unusable;
  bool ok = sqlite3_step(st) == SQLITE_ROW &&
            std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) == "ok";
  sqlite3_finalize(st);
  return ok ? Verdict::Usable : Verdict::Unusable;
}

}  // namespace

std::unique_ptr<SettingsStore> SettingsStore::Open(const std::string& dbPath, StoreOpenReport* report,
                                                   StoreOpenOptions options) {
  StoreOpenReport local;
  StoreOpenReport& rep = report ? *report : local;
  rep = {};
  std::unique_ptr<SettingsStore> store(new SettingsStore());
  store->path_ = dbPath;
  store->readOnly_ = options.readOnly;

  const bool existed = Exists(dbPath);
  if (options.readOnly && !existed) {
    rep.error = "no settings database at " + dbPath;
    return nullptr;
  }
  int flags = options.readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  flags |= SQLITE_OPEN_NOMUTEX;
  // A reader of a write-ahead-log database makes the -wal and -shm files when they are
  // missing and, being read-only, leaves them behind. They are missing only when no
  // connection has the store open, so nothing can change it under a read: it is read
  // as an unchanging file, without the log and its locks. (Stores are left in rollback
  // mode by the last writer to close, so this is the case only for a store last
  // closed otherwise.)
  std::string target = dbPath;
  if (options.readOnly && HeaderSaysWal(dbPath) && !Exists(dbPath + "-wal")) {
    target = FileUri(dbPath, "immutable=1");
    flags |= SQLITE_OPEN_URI;
  }

  for (int attempt = 0; attempt < 2; ++attempt) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(target.c_str(), &db, flags, nullptr);
    Verdict verdict = Verdict::Unusable;
    if (rc == SQLITE_OK) {
      sqlite3_busy_timeout(db, kBusyTimeoutMs);
      verdict = Inspect(db);
    }
    if (verdict != Verdict::Unusable) {
      store->db_ = db;
      if (options.readOnly) {
        if (verdict == Verdict::Empty) {
          rep.error = dbPath + " holds no settings";
          return nullptr;
        }
        return store;
      }
      if (!store->Initialise(verdict == Verdict::Empty)) {
        rep.error = "cannot initialise " + dbPath + ": " + store->lastError_;
        return nullptr;
      }
      rep.created = rep.created || verdict == Verdict::Empty;
      return store;
    }
    std::string why = db ? sqlite3_errmsg(db) : "cannot open";
    sqlite3_close_v2(db);
    if (options.readOnly || attempt > 0 || !Exists(dbPath)) {
      rep.error = "cannot use " + dbPath + ": " + why;
      return nullptr;
    }
    // Keep the unusable file (and its journal) for the user; start a new store.
    std::string aside = AsideName(dbPath);
    if (std::rename(dbPath.c_str(), aside.c_str()) != 0) {
      rep.error = "cannot move " + dbPath + " aside: " + std::strerror(errno);
      return nullptr;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
      std::string from = dbPath + suffix;
      if (Exists(from)) std::rename(from.c_str(), (aside + suffix).c_str());
    }
    rep.movedAsideTo = aside;
  }
  return nullptr;
}

std::unique_ptr<SettingsStore> SettingsStore::OpenInMemory() {
  std::unique_ptr<SettingsStore> store(new SettingsStore());
  store->path_ = ":memory:";
  if (sqlite3_open_v2(":memory:", &store->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr) != SQLITE_OK ||
      !store->Initialise(true))
    return nullptr;
  return store;
}

SettingsStore::~SettingsStore() {
  for (sqlite3_stmt* st : {getValue_, putValue_, removeValue_, keyExists_, insertKey_, subKeys_}) sqlite3_finalize(st);
  if (!db_) return;
  // The last writer to close puts the store back in rollback mode (the log is folded
  // in and removed), so that read-only openings make no files beside it. With other
  // connections open this fails at once and the log stays for them.
  if (!readOnly_ && path_ != ":memory:") {
    sqlite3_busy_timeout(db_, 0);
    sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
  }
  sqlite3_close_v2(db_);
}

bool SettingsStore::Initialise(bool createSchema) {
  // WAL lets readers go on while another process writes; NORMAL sync keeps the file
  // consistent after a crash (the last transaction may be lost, never half-applied).
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, "PRAGMA journal_mode=WAL", -1, &st, nullptr) == SQLITE_OK) sqlite3_step(st);
  sqlite3_finalize(st);
  if (!Exec("PRAGMA synchronous=NORMAL")) return false;
  if (!createSchema) return true;
  if (!Exec("BEGIN IMMEDIATE")) return false;
  bool ok = Exec(fmt::format("PRAGMA application_id={}", kSettingsApplicationId).c_str()) &&
            Exec(fmt::format("PRAGMA user_version={}", kSchemaVersion).c_str()) && Exec(kSchema);
  ok = Exec(ok ? "COMMIT" : "ROLLBACK") && ok;
  return ok;
}

bool SettingsStore::Exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  ++errors_;
  lastError_ = message ? message : "sqlite error";
  sqlite3_free(message);
  return false;
}

void SettingsStore::Fail(const char* what) {
  ++errors_;
  lastError_ = fmt::format("{}: {}", what, sqlite3_errmsg(db_));
}

sqlite3_stmt* SettingsStore::Prepare(sqlite3_stmt*& slot, const char* sql) {
  if (!slot && sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
    Fail("prepare");
    slot = nullptr;
    return nullptr;
  }
  sqlite3_reset(slot);
  sqlite3_clear_bindings(slot);
  return slot;
}

bool SettingsStore::Step(sqlite3_stmt* st, bool wantRow) {
  int rc = sqlite3_step(st);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) Fail("step");
  if (!wantRow) return rc == SQLITE_DONE;
  return false;
}

bool SettingsStore::BeginWrite(bool& began) {
  began = false;
  if (readOnly_) {
    ++errors_;
    lastError_ = "the settings are open for reading only";
    return false;
  }
  if (sqlite3_get_autocommit(db_)) {
    if (!Exec("BEGIN IMMEDIATE")) return false;
    began = true;
  }
  return true;
}

bool SettingsStore::EndWrite(bool began, bool ok) {
  if (!began) return ok;
  if (ok) return Exec("COMMIT");
  Exec("ROLLBACK");
  return false;
}

std::optional<StoredValue> SettingsStore::Get(std::string_view key, std::string_view name) {
  ++lookups_;
  sqlite3_stmt* st = Prepare(getValue_, "SELECT kind, ival, sval FROM vals WHERE key=?1 AND fold=?2");
  if (!st) return std::nullopt;
  BindBytes(st, 1, FoldKeyPath(key));
  BindBytes(st, 2, FoldName(name));
  if (!Step(st, true)) return std::nullopt;
  StoredValue v;
  if (sqlite3_column_int(st, 0) == 1) {
    v.kind = ValueKind::Str;
    v.text = ColumnBytes(st, 2);
  } else {
    v.number = static_cast<int32_t>(sqlite3_column_int64(st, 1));
  }
  sqlite3_reset(st);
  return v;
}

bool SettingsStore::KeyExists(std::string_view key) {
  sqlite3_stmt* st = Prepare(keyExists_, "SELECT 1 FROM keys WHERE fold=?1");
  if (!st) return false;
  BindBytes(st, 1, FoldKeyPath(key));
  bool found = Step(st, true);
  sqlite3_reset(st);
  return found;
}

bool SettingsStore::EnsureKey(std::string_view key) {
  if (const std::string why = KeyPathProblem(key); !why.empty()) {
    ++errors_;
    lastError_ = why;
    return false;
  }
  if (KeyExists(key)) return true;
  bool began = false;
  if (!BeginWrite(began)) return false;
  auto parts = SplitKeyPath(key);
  bool ok = true;
  std::string path, fold, parent;
  for (const auto& part : parts) {
    parent = fold;
    path += '\\' + part;
    fold += '\\' + FoldName(part);
    sqlite3_stmt* st = Prepare(insertKey_, "INSERT OR IGNORE INTO keys(fold, path, parent) VALUES(?1, ?2, ?3)");
    if (!st) {
      ok = false;
      break;
    }
    BindBytes(st, 1, fold);
    BindBytes(st, 2, path);
    BindBytes(st, 3, parent);
    if (!Step(st, false)) {
      ok = false;
      break;
    }
  }
  return EndWrite(began, ok);
}

bool SettingsStore::Put(std::string_view key, std::string_view name, const StoredValue& value) {
  if (const std::string why = ValueProblem(name, value.text); !why.empty()) {
    ++errors_;
    lastError_ = why;
    return false;
  }
  bool began = false;
  if (!BeginWrite(began)) return false;
  bool ok = EnsureKey(key);
  if (ok) {
    sqlite3_stmt* st = Prepare(putValue_,
                               "INSERT INTO vals(key, fold, name, kind, ival, sval) VALUES(?1, ?2, ?3, ?4, ?5, ?6) "
                               "ON CONFLICT(key, fold) DO UPDATE SET kind=excluded.kind, ival=excluded.ival, "
                               "sval=excluded.sval");
    ok = st != nullptr;
    if (ok) {
      BindBytes(st, 1, FoldKeyPath(key));
      BindBytes(st, 2, FoldName(name));
      BindBytes(st, 3, name);
      if (value.kind == ValueKind::Str) {
        sqlite3_bind_int(st, 4, 1);
        sqlite3_bind_null(st, 5);
        BindBytes(st, 6, value.text);
      } else {
        sqlite3_bind_int(st, 4, 0);
        sqlite3_bind_int64(st, 5, value.number);
        sqlite3_bind_null(st, 6);
      }
      ok = Step(st, false);
    }
  }
  return EndWrite(began, ok);
}

bool SettingsStore::Remove(std::string_view key, std::string_view name) {
  bool began = false;
  if (readOnly_) return BeginWrite(began);
  sqlite3_stmt* st = Prepare(removeValue_, "DELETE FROM vals WHERE key=?1 AND fold=?2");
  if (!st) return false;
  BindBytes(st, 1, FoldKeyPath(key));
  BindBytes(st, 2, FoldName(name));
  return Step(st, false) && sqlite3_changes(db_) > 0;
}

bool SettingsStore::RemoveKey(std::string_view key) {
  std::string fold = FoldKeyPath(key);
  if (fold.empty()) return Clear();
  if (!KeyExists(key)) return false;
  bool began = false;
  if (!BeginWrite(began)) return false;
  static const char* kSub =
      "WITH RECURSIVE sub(f) AS (SELECT fold FROM keys WHERE fold=?1 "
      "UNION ALL SELECT k.fold FROM keys k JOIN sub ON k.parent=sub.f) ";
  bool ok = true;
  for (const char* tail : {"DELETE FROM vals WHERE key IN sub", "DELETE FROM keys WHERE fold IN sub"}) {
    sqlite3_stmt* st = nullptr;
    std::string sql = std::string(kSub) + tail;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      Fail("prepare");
      ok = false;
      break;
    }
    BindBytes(st, 1, fold);
    ok = Step(st, false);
    sqlite3_finalize(st);
    if (!ok) break;
  }
  return EndWrite(began, ok);
}

std::vector<std::string> SettingsStore::SubKeys(std::string_view key) {
  std::vector<std::string> names;
  sqlite3_stmt* st = Prepare(subKeys_, "SELECT path FROM keys WHERE parent=?1 ORDER BY fold");
  if (!st) return names;
  BindBytes(st, 1, FoldKeyPath(key));
  while (Step(st, true)) {
    auto parts = SplitKeyPath(ColumnBytes(st, 0));
    if (!parts.empty()) names.push_back(parts.back());
  }
  return names;
}

std::vector<StoredKey> SettingsStore::Snapshot() {
  std::vector<StoredKey> keys;
  sqlite3_stmt* st = nullptr;
  const char* sql =
      "SELECT k.path, v.name, v.kind, v.ival, v.sval FROM keys k LEFT JOIN vals v ON v.key=k.fold "
      "ORDER BY k.fold, v.fold";
  if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK) {
    Fail("prepare");
    return keys;
  }
  while (Step(st, true)) {
    std::string path = ColumnBytes(st, 0);
    if (keys.empty() || keys.back().path != path) keys.push_back({path, {}});
    if (sqlite3_column_type(st, 1) == SQLITE_NULL) continue;
    StoredEntry e;
    e.name = ColumnBytes(st, 1);
    if (sqlite3_column_int(st, 2) == 1) e.value = StoredValue::Str(ColumnBytes(st, 4));
    else e.value = StoredValue::Int(static_cast<int32_t>(sqlite3_column_int64(st, 3)));
    keys.back().values.push_back(std::move(e));
  }
  sqlite3_finalize(st);
  return keys;
}

bool SettingsStore::Clear() {
  bool began = false;
  if (!BeginWrite(began)) return false;
  bool ok = Exec("DELETE FROM vals") && Exec("DELETE FROM keys WHERE fold <> x''");
  return EndWrite(began, ok);
}

SettingsStore::Batch::Batch(SettingsStore& store) : store_(store) {
  if (!store_.readOnly_ && sqlite3_get_autocommit(store_.db_)) owner_ = store_.Exec("BEGIN IMMEDIATE");
}

SettingsStore::Batch::~Batch() {
  if (!owner_) return;
  if (abandon_) store_.Exec("ROLLBACK");
  else if (!store_.Exec("COMMIT")) store_.Exec("ROLLBACK");
}

void SettingsStore::Batch::Abandon() { abandon_ = true; }

}  // namespace kadrel
