// A fresh folder for each test, set as IXO_HOME and removed afterwards. Tests
// run in parallel processes, so the folder is named after the test and the process.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "system/ixo_home.h"
#include "system/sqlite_settings_store.h"
#include "system/sqlite_statement.h"

namespace ixo::system {

class SettingsFolderTest : public testing::Test {
 protected:
  SettingsFolderTest() {
    folder_ = std::filesystem::path(testing::TempDir()) /
              ("settings_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    // Below the test's folder, so that the store has to create its own folder.
    setenv("IXO_HOME", (folder_ / "home").c_str(), 1);
  }
  ~SettingsFolderTest() override { std::filesystem::remove_all(folder_); }

  static std::filesystem::path DatabasePath() { return IxoHome() / kSettingsDatabaseName; }

  static SqliteSettingsStore OpenStore(std::chrono::milliseconds busy_timeout = kDefaultBusyTimeout) {
    return SqliteSettingsStore(DatabasePath(), busy_timeout);
  }

  std::filesystem::path folder_;
};

// A connection of its own to the database, for what the store does not offer:
// holding a transaction open, checking integrity, looking at the tables.
class RawDatabase {
 public:
  explicit RawDatabase(const std::filesystem::path& path) {
    sqlite3* opened = nullptr;
    sqlite3_open(path.c_str(), &opened);
    connection_.reset(opened);
  }
  bool Exec(const std::string& sql) {
    return sqlite3_exec(connection_.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  // The first column of the first row; "<none>" when there is no row or the query fails.
  std::string Query(const std::string& sql) {
    Statement query(connection_.get(), sql);
    return query.Step() == SQLITE_ROW ? query.BytesColumn(0) : "<none>";
  }

 private:
  Connection connection_;
};

}  // namespace ixo::system
