#include "system/settings_schema.h"

#include "system/sqlite_statement.h"

namespace ixo::system {

namespace {

// Every key, roots included, is one row; a root is the row with the empty
// path. folded_path is the lookup form (lower-case names joined by "\"), so
// a key and all its sub-keys are one range of the unique index.
constexpr const char* kCreateTables = R"sql(
  CREATE TABLE keys (
    id          INTEGER PRIMARY KEY,
    root        INTEGER NOT NULL,
    parent      INTEGER REFERENCES keys(id),
    name        TEXT NOT NULL,
    folded_path TEXT NOT NULL,
    UNIQUE (root, folded_path)
  );
  CREATE INDEX keys_by_parent ON keys(parent);
  CREATE TABLE key_values (
    key_id      INTEGER NOT NULL REFERENCES keys(id),
    name        TEXT NOT NULL,
    folded_name TEXT NOT NULL,
    type        INTEGER NOT NULL,
    data,
    PRIMARY KEY (key_id, folded_name)
  ) WITHOUT ROWID;
  INSERT INTO keys (root, parent, name, folded_path) VALUES (0, NULL, '', ''), (1, NULL, '', ''),
    (2, NULL, '', ''), (3, NULL, '', ''), (4, NULL, '', '');
)sql";

bool ReadVersion(sqlite3* connection, int& version) {
  Statement statement(connection, "PRAGMA user_version");
  if (statement.Step() != SQLITE_ROW) return false;
  version = static_cast<int>(statement.IntegerColumn(0));
  return true;
}

bool CreateTables(sqlite3* connection) {
  std::string set_version = "PRAGMA user_version = " + std::to_string(kSettingsSchemaVersion);
  return sqlite3_exec(connection, kCreateTables, nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_exec(connection, set_version.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string Reason(sqlite3* connection) { return sqlite3_errmsg(connection); }

}  // namespace

bool PrepareSettingsSchema(sqlite3* connection, std::string& error) {
  int version = 0;
  if (!ReadVersion(connection, version)) {
    error = Reason(connection);
    return false;
  }
  if (version == 0) {
    // Another engine may be creating the tables right now: take the write lock
    // first and look again under it.
    if (sqlite3_exec(connection, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
      error = Reason(connection);
      return false;
    }
    bool created = ReadVersion(connection, version) &&
                   (version != 0 || CreateTables(connection)) &&
                   ReadVersion(connection, version);
    if (!created || sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
      error = Reason(connection);
      sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
      return false;
    }
  }
  if (version != kSettingsSchemaVersion) {
    error = "unknown schema version " + std::to_string(version) + " (written by a newer engine?)";
    return false;
  }
  return true;
}

}  // namespace ixo::system
