// The settings store kept in an SQLite database, shared by every engine of the
// user. Each write is one transaction in WAL mode, synced before it returns, so
// engines writing at once wait for each other instead of losing writes, and a
// crash loses nothing that was written. Not for use from several threads.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "system/settings_store.h"
#include "system/sqlite_statement.h"

namespace ixo::system {

// The database's file name inside IxoHome().
inline constexpr char kSettingsDatabaseName[] = "registry.db";

// How long a write waits for other engines before it gives up.
inline constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};

class SqliteSettingsStore : public SettingsStore {
 public:
  // Opens, or creates with its folder, the database. When that fails the
  // store still answers, as an empty store that cannot be written, and tries
  // to open the database again on each later operation.
  explicit SqliteSettingsStore(std::filesystem::path database,
                               std::chrono::milliseconds busy_timeout = kDefaultBusyTimeout);

  bool IsOpen() const { return connection_ != nullptr; }

  bool OpenKey(Root root, std::string_view path, bool create) override;
  bool DeleteKey(Root root, std::string_view path) override;
  std::vector<std::string> SubKeys(Root root, std::string_view path) override;
  std::vector<std::string> ValueNames(Root root, std::string_view path) override;
  std::optional<SettingsValue> ReadValue(Root root, std::string_view path, std::string_view name) override;
  bool WriteValue(Root root, std::string_view path, std::string_view name, const SettingsValue& value) override;
  bool DeleteValue(Root root, std::string_view path, std::string_view name) override;
  const std::string& LastError() const override { return last_error_; }

 private:
  // Clears the last error and makes sure the database is open.
  bool Begin();
  bool Connect();
  // Runs body inside a write transaction, rolled back when body or the commit fails.
  template <typename Body>
  bool InWriteTransaction(std::string_view doing, Body body);
  // False on a database error; key is left empty when the key is missing.
  bool FindKey(Root root, const std::string& folded_path, std::optional<int64_t>& key);
  std::optional<int64_t> CreateKey(Root root, std::string_view path);
  std::vector<std::string> Names(std::string_view sql, Root root, std::string_view path);
  // Records why doing failed, from the connection's last error.
  void Fail(std::string_view doing);

  std::filesystem::path database_;
  std::chrono::milliseconds busy_timeout_;
  Connection connection_;
  std::string last_error_;
};

}  // namespace ixo::system
