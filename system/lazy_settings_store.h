// The user's settings store, opened at its first use rather than at start-up:
// most objects never touch it, and they should not pay for opening a database.
#pragma once

#include <memory>

#include "system/settings_store.h"

namespace ixo::system {

class SqliteSettingsStore;

class LazySettingsStore : public SettingsStore {
 public:
  LazySettingsStore();
  ~LazySettingsStore() override;

  bool OpenKey(Root root, std::string_view path, bool create) override;
  bool DeleteKey(Root root, std::string_view path) override;
  std::vector<std::string> SubKeys(Root root, std::string_view path) override;
  std::vector<std::string> ValueNames(Root root, std::string_view path) override;
  std::optional<SettingsValue> ReadValue(Root root, std::string_view path, std::string_view name) override;
  bool WriteValue(Root root, std::string_view path, std::string_view name, const SettingsValue& value) override;
  bool DeleteValue(Root root, std::string_view path, std::string_view name) override;
  const std::string& LastError() const override;

 private:
  SettingsStore& Store();
  std::unique_ptr<SqliteSettingsStore> store_;
};

}  // namespace ixo::system
