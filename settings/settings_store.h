#pragma once
// The persistent settings tree: one SQLite database per user holding keys and values
// exactly as the tree lays them out. Key paths and value names match without regard
// to ASCII letter case; strings are kept as the bytes given; integers are 32-bit.
// RegTreat is the layer the rest of the program uses; this class is its storage.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kadrel {

enum class ValueKind { Int, Str };

struct StoredValue {
  ValueKind kind = ValueKind::Int;
  int32_t number = 0;
  std::string text;

  static StoredValue Int(int32_t v) { return {ValueKind::Int, v, {}}; }
  static StoredValue Str(std::string v) { return {ValueKind::Str, 0, std::move(v)}; }
  bool operator==(const StoredValue&) const = default;
};

struct StoredEntry {
  std::string name;  // as first written
  StoredValue value;
};

struct StoredKey {
  std::string path;  // "\a\b" as first written; "" for the root
  std::vector<StoredEntry> values;  // ordered by folded name
};

struct StoreOpenOptions {
  bool readOnly = false;  // never create, write or move anything
};

struct StoreOpenReport {
  bool created = false;          // a new, empty store was made
  std::string movedAsideTo;      // a damaged or foreign file was renamed to this path
  std::string error;             // set when the store could not be opened at all
};

class SettingsStore {
 public:
  // Opens (or creates) the database at `dbPath`. A file that is not a settings
  // database of this program is moved aside with a time-stamped name and a new store
  // is created; the report says so. Null only when even that fails (or, read-only,
  // when the file is missing or unusable).
  static std::unique_ptr<SettingsStore> Open(const std::string& dbPath, StoreOpenReport* report,
                                             StoreOpenOptions options = {});
  // A store that lives only as long as the object (used when no file can be opened).
  static std::unique_ptr<SettingsStore> OpenInMemory();
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  const std::string& path() const { return path_; }
  bool readOnly() const { return readOnly_; }

  std::optional<StoredValue> Get(std::string_view key, std::string_view name);
  bool Put(std::string_view key, std::string_view name, const StoredValue& value);
  // True when the value was present (and is now gone).
  bool Remove(std::string_view key, std::string_view name);

  bool KeyExists(std::string_view key);
  // Creates the key and every missing parent.
  bool EnsureKey(std::string_view key);
  // Removes the key with everything below it; true when it was present.
  bool RemoveKey(std::string_view key);
  // Names of the direct subkeys, in case-insensitive order.
  std::vector<std::string> SubKeys(std::string_view key);
  // Every key with its values, ordered by folded path.
  std::vector<StoredKey> Snapshot();
  // Empties the whole tree.
  bool Clear();

  // Groups many operations into one write transaction (also keeps other writers out
  // meanwhile). Nested use joins the outer transaction.
  class Batch {
   public:
    explicit Batch(SettingsStore& store);
    ~Batch();  // commits
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    void Abandon();  // roll back instead of committing

   private:
    SettingsStore& store_;
    bool owner_ = false;
    bool abandon_ = false;
  };

  // Failures of the storage since the last reset (disk full, locked beyond the
  // timeout, read-only file, ...).
  int errorCount() const { return errors_; }
  const std::string& lastError() const { return lastError_; }
  void ResetErrors() { errors_ = 0; lastError_.clear(); }

  // Number of value look-ups since the store was opened (for measurements).
  uint64_t lookups() const { return lookups_; }

 private:
  SettingsStore() = default;
  bool Initialise(bool createSchema);
  bool Exec(const char* sql);
  sqlite3_stmt* Prepare(sqlite3_stmt*& slot, const char* sql);
  bool Step(sqlite3_stmt* st, bool wantRow);
  void Fail(const char* what);
  bool BeginWrite(bool& began);
  bool EndWrite(bool began, bool ok);

  sqlite3* db_ = nullptr;
  std::string path_;
  bool readOnly_ = false;
  int errors_ = 0;
  uint64_t lookups_ = 0;
  std::string lastError_;
  sqlite3_stmt* getValue_ = nullptr;
  sqlite3_stmt* putValue_ = nullptr;
  sqlite3_stmt* removeValue_ = nullptr;
  sqlite3_stmt* keyExists_ = nullptr;
  sqlite3_stmt* insertKey_ = nullptr;
  sqlite3_stmt* subKeys_ = nullptr;
};

// Application id written into the database header ("Kdrl").
inline constexpr int32_t kSettingsApplicationId = 0x4B64726C;

}  // namespace kadrel
