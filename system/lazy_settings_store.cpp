#include "system/lazy_settings_store.h"

#include "system/ixo_home.h"
#include "system/sqlite_settings_store.h"

namespace ixo::system {

LazySettingsStore::LazySettingsStore() = default;
LazySettingsStore::~LazySettingsStore() = default;

SettingsStore& LazySettingsStore::Store() {
  if (!store_) store_ = std::make_unique<SqliteSettingsStore>(IxoHome() / kSettingsDatabaseName);
  return *store_;
}

bool LazySettingsStore::OpenKey(Root root, std::string_view path, bool create) {
  return Store().OpenKey(root, path, create);
}
bool LazySettingsStore::DeleteKey(Root root, std::string_view path) { return Store().DeleteKey(root, path); }
std::vector<std::string> LazySettingsStore::SubKeys(Root root, std::string_view path) {
  return Store().SubKeys(root, path);
}
std::vector<std::string> LazySettingsStore::ValueNames(Root root, std::string_view path) {
  return Store().ValueNames(root, path);
}
std::optional<SettingsValue> LazySettingsStore::ReadValue(Root root, std::string_view path, std::string_view name) {
  return Store().ReadValue(root, path, name);
}
bool LazySettingsStore::WriteValue(Root root, std::string_view path, std::string_view name,
                                   const SettingsValue& value) {
  return Store().WriteValue(root, path, name, value);
}
bool LazySettingsStore::DeleteValue(Root root, std::string_view path, std::string_view name) {
  return Store().DeleteValue(root, path, name);
}
const std::string& LazySettingsStore::LastError() const {
  static const std::string kNotOpenedYet;
  return store_ ? store_->LastError() : kNotOpenedYet;
}

}  // namespace ixo::system
