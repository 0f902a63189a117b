#include "system/sqlite_settings_store.h"

#include <system_error>
#include <type_traits>

#include "system/settings_key_path.h"
#include "system/settings_schema.h"

namespace ixo::system {

namespace {

// The type column of key_values. Written to disk: never renumber.
enum ValueTypeCode : int64_t { kStringCode = 1, kIntegerCode = 2, kBytesCode = 3 };

// Lists a key's sub-keys or values: ?1 is the root, ?2 the key's lookup form.
constexpr std::string_view kSelectSubKeys =
    "SELECT child.name FROM keys child JOIN keys parent ON child.parent = parent.id "
    "WHERE parent.root = ?1 AND parent.folded_path = ?2 ORDER BY child.folded_path";
constexpr std::string_view kSelectValueNames =
    "SELECT v.name FROM key_values v JOIN keys k ON k.id = v.key_id "
    "WHERE k.root = ?1 AND k.folded_path = ?2 ORDER BY v.folded_name";

// A key and all its sub-keys: its own path, and every path that begins with it
// and "\". Those are the paths from "path\" up to "path]", "]" being the byte after "\".
constexpr std::string_view kKeyAndSubKeys =
    "SELECT id FROM keys WHERE root = ?1 AND (folded_path = ?2 OR (folded_path >= ?3 AND folded_path < ?4))";

int64_t RootCode(Root root) { return static_cast<int64_t>(root); }

bool IsLockError(int code) {
  int primary = code & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Journal in WAL mode so that readers never wait for a writer, sync each
// commit, and make sure the tables exist. Returns why not, or nothing.
std::string SetUpConnection(sqlite3* connection) {
  {
    // Finalized before the schema's transaction, which cannot commit while a statement runs.
    Statement journal(connection, "PRAGMA journal_mode = WAL");
    if (journal.Step() != SQLITE_ROW) return sqlite3_errmsg(connection);
    if (journal.BytesColumn(0) != "wal") return "the database cannot use a write-ahead log";
  }
  if (sqlite3_exec(connection, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr) != SQLITE_OK)
    return sqlite3_errmsg(connection);
  std::string error;
  if (!PrepareSettingsSchema(connection, error)) return error;
  return std::string();
}

void BindKeyAndSubKeys(Statement& statement, Root root, const std::string& folded) {
  statement.BindInteger(1, RootCode(root)).BindText(2, folded).BindText(3, folded + "\\").BindText(4, folded + "]");
}

}  // namespace

SqliteSettingsStore::SqliteSettingsStore(std::filesystem::path database, std::chrono::milliseconds busy_timeout)
    : database_(std::move(database)), busy_timeout_(busy_timeout) {
  Connect();
}

bool SqliteSettingsStore::Begin() {
  last_error_.clear();
  return connection_ != nullptr || Connect();
}

bool SqliteSettingsStore::Connect() {
  std::string reason;
  std::error_code folder_error;
  std::filesystem::path folder = database_.parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, folder_error);
  if (folder_error) {
    reason = "cannot create the folder " + folder.string() + ": " + folder_error.message();
  } else {
    sqlite3* opened = nullptr;
    int result = sqlite3_open_v2(database_.c_str(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection connection(opened);
    if (result != SQLITE_OK) {
      reason = opened ? sqlite3_errmsg(opened) : "out of memory";
    } else {
      sqlite3_extended_result_codes(opened, 1);
      sqlite3_busy_timeout(opened, static_cast<int>(busy_timeout_.count()));
      reason = SetUpConnection(opened);
      if (reason.empty()) connection_ = std::move(connection);
    }
  }
  if (!reason.empty()) last_error_ = "the settings store " + database_.string() + " cannot be opened: " + reason;
  return connection_ != nullptr;
}

void SqliteSettingsStore::Fail(std::string_view doing) {
  int code = sqlite3_extended_errcode(connection_.get());
  // A step that found the stored keys inconsistent reports no SQLite error.
  std::string reason = code == SQLITE_OK ? "the stored keys are inconsistent" : sqlite3_errmsg(connection_.get());
  last_error_ = "cannot " + std::string(doing) + " in the settings store " + database_.string() + ": " + reason;
  if (IsLockError(code))
    last_error_ += " (another program kept it locked for more than " + std::to_string(busy_timeout_.count()) + " ms)";
}

template <typename Body>
bool SqliteSettingsStore::InWriteTransaction(std::string_view doing, Body body) {
  if (!Begin()) return false;
  // IMMEDIATE takes the write lock before anything is read, waiting up to the
  // busy timeout for other writers. A deferred transaction would read first
  // and could then fail to upgrade without waiting at all.
  if (sqlite3_exec(connection_.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail(doing);
    return false;
  }
  if (body() && sqlite3_exec(connection_.get(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  Fail(doing);
  sqlite3_exec(connection_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  return false;
}

bool SqliteSettingsStore::FindKey(Root root, const std::string& folded_path, std::optional<int64_t>& key) {
  Statement find(connection_.get(), "SELECT id FROM keys WHERE root = ?1 AND folded_path = ?2");
  find.BindInteger(1, RootCode(root)).BindText(2, folded_path);
  int result = find.Step();
  key = result == SQLITE_ROW ? std::optional<int64_t>(find.IntegerColumn(0)) : std::nullopt;
  return result == SQLITE_ROW || result == SQLITE_DONE;
}

std::optional<int64_t> SqliteSettingsStore::CreateKey(Root root, std::string_view path) {
  std::optional<int64_t> key;
  if (!FindKey(root, "", key)) return std::nullopt;
  std::string folded;
  for (const std::string& name : ParseKeyPath(path).names) {
    if (!key) return std::nullopt;
    folded = FoldedChild(folded, name);
    // The first writer's case stays: an existing key is left as it is.
    Statement insert(connection_.get(),
                     "INSERT INTO keys (root, parent, name, folded_path) VALUES (?1, ?2, ?3, ?4) "
                     "ON CONFLICT (root, folded_path) DO NOTHING");
    insert.BindInteger(1, RootCode(root)).BindInteger(2, *key).BindText(3, name).BindText(4, folded);
    if (!insert.Run() || !FindKey(root, folded, key)) return std::nullopt;
  }
  return key;
}

bool SqliteSettingsStore::OpenKey(Root root, std::string_view path, bool create) {
  if (create) return InWriteTransaction("create a key", [&] { return CreateKey(root, path).has_value(); });
  if (!Begin()) return false;
  std::optional<int64_t> key;
  if (!FindKey(root, ParseKeyPath(path).folded, key)) {
    Fail("open a key");
    return false;
  }
  return key.has_value();
}

bool SqliteSettingsStore::DeleteKey(Root root, std::string_view path) {
  KeyPath key = ParseKeyPath(path);
  if (key.names.empty()) {
    last_error_ = "a root of the settings store cannot be deleted";
    return false;
  }
  bool deleted = false;
  bool done = InWriteTransaction("delete a key", [&] {
    Statement values(connection_.get(), "DELETE FROM key_values WHERE key_id IN (" + std::string(kKeyAndSubKeys) + ")");
    Statement keys(connection_.get(), "DELETE FROM keys WHERE id IN (" + std::string(kKeyAndSubKeys) + ")");
    BindKeyAndSubKeys(values, root, key.folded);
    BindKeyAndSubKeys(keys, root, key.folded);
    if (!values.Run() || !keys.Run()) return false;
    deleted = sqlite3_changes(connection_.get()) > 0;
    return true;
  });
  return done && deleted;
}

std::vector<std::string> SqliteSettingsStore::Names(std::string_view sql, Root root, std::string_view path) {
  std::vector<std::string> names;
  if (!Begin()) return names;
  Statement select(connection_.get(), sql);
  select.BindInteger(1, RootCode(root)).BindText(2, ParseKeyPath(path).folded);
  int result;
  while ((result = select.Step()) == SQLITE_ROW) names.push_back(select.BytesColumn(0));
  if (result != SQLITE_DONE) {
    Fail("list a key");
    names.clear();
  }
  return names;
}

std::vector<std::string> SqliteSettingsStore::SubKeys(Root root, std::string_view path) {
  return Names(kSelectSubKeys, root, path);
}

std::vector<std::string> SqliteSettingsStore::ValueNames(Root root, std::string_view path) {
  return Names(kSelectValueNames, root, path);
}

std::optional<SettingsValue> SqliteSettingsStore::ReadValue(Root root, std::string_view path, std::string_view name) {
  if (!Begin()) return std::nullopt;
  Statement read(connection_.get(),
                 "SELECT v.type, v.data FROM key_values v JOIN keys k ON k.id = v.key_id "
                 "WHERE k.root = ?1 AND k.folded_path = ?2 AND v.folded_name = ?3");
  read.BindInteger(1, RootCode(root)).BindText(2, ParseKeyPath(path).folded).BindText(3, FoldName(name));
  int result = read.Step();
  if (result == SQLITE_DONE) return std::nullopt;
  if (result != SQLITE_ROW) {
    Fail("read a value");
    return std::nullopt;
  }
  switch (read.IntegerColumn(0)) {
    case kStringCode: return SettingsValue(read.BytesColumn(1));
    case kIntegerCode: return SettingsValue(static_cast<int32_t>(read.IntegerColumn(1)));
    case kBytesCode: return SettingsValue(ByteValue{read.BytesColumn(1)});
  }
  last_error_ = "the value " + std::string(name) + " in the settings store has an unknown type";
  return std::nullopt;
}

bool SqliteSettingsStore::WriteValue(Root root, std::string_view path, std::string_view name,
                                     const SettingsValue& value) {
  return InWriteTransaction("write a value", [&] {
    std::optional<int64_t> key = CreateKey(root, path);
    if (!key) return false;
    // An existing value keeps the case of its name and takes the new type and data.
    Statement write(connection_.get(),
                    "INSERT INTO key_values (key_id, name, folded_name, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
                    "ON CONFLICT (key_id, folded_name) DO UPDATE SET type = excluded.type, data = excluded.data");
    write.BindInteger(1, *key).BindText(2, name).BindText(3, FoldName(name));
    std::visit(
        [&write](const auto& data) {
          using Type = std::decay_t<decltype(data)>;
          if constexpr (std::is_same_v<Type, std::string>) write.BindInteger(4, kStringCode).BindText(5, data);
          if constexpr (std::is_same_v<Type, int32_t>) write.BindInteger(4, kIntegerCode).BindInteger(5, data);
          if constexpr (std::is_same_v<Type, ByteValue>) write.BindInteger(4, kBytesCode).BindBlob(5, data.bytes);
        },
        value);
    return write.Run();
  });
}

bool SqliteSettingsStore::DeleteValue(Root root, std::string_view path, std::string_view name) {
  bool deleted = false;
  bool done = InWriteTransaction("delete a value", [&] {
    Statement erase(connection_.get(),
                    "DELETE FROM key_values WHERE folded_name = ?3 "
                    "AND key_id = (SELECT id FROM keys WHERE root = ?1 AND folded_path = ?2)");
    erase.BindInteger(1, RootCode(root)).BindText(2, ParseKeyPath(path).folded).BindText(3, FoldName(name));
    if (!erase.Run()) return false;
    deleted = sqlite3_changes(connection_.get()) > 0;
    return true;
  });
  return done && deleted;
}

}  // namespace ixo::system
