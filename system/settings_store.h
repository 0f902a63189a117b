// The settings store: small named values kept for the user between runs, in
// five separate trees of keys. A key is a path of names separated by "\";
// names are matched without regard to ASCII letter case and keep the case in
// which they were first written. Each key holds named values; the empty name
// is the key's default value.
//
// Failures are never thrown: an operation returns false or nothing and
// LastError() says why. A missing key or value is not a failure, so after a
// read that returned nothing an empty LastError() means "not there".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ixo::system {

// The numbers are written to disk: never renumber them.
enum class Root { kClassesRoot = 0, kCurrentUser = 1, kLocalMachine = 2, kUsers = 3, kCurrentConfig = 4 };

// Raw bytes, kept apart from strings so that a value remembers which it is.
struct ByteValue {
  std::string bytes;
  bool operator==(const ByteValue&) const = default;
};

// A string, a 32-bit integer or raw bytes. Strings are byte strings, as scripts see them.
using SettingsValue = std::variant<std::string, int32_t, ByteValue>;

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Whether the key exists afterwards. With create, the key and every missing
  // key above it are created. The empty path is the root itself, which always exists.
  virtual bool OpenKey(Root root, std::string_view path, bool create) = 0;
  // Deletes the key with all its sub-keys and their values; false when the key
  // was missing or is a root.
  virtual bool DeleteKey(Root root, std::string_view path) = 0;
  // Names in the case first written, in case-insensitive order; empty when the key is missing.
  virtual std::vector<std::string> SubKeys(Root root, std::string_view path) = 0;
  virtual std::vector<std::string> ValueNames(Root root, std::string_view path) = 0;

  // Nothing when the key or the value is missing.
  virtual std::optional<SettingsValue> ReadValue(Root root, std::string_view path, std::string_view name) = 0;
  // Creates the key when missing; a value of another type is replaced, its name keeps its first case.
  virtual bool WriteValue(Root root, std::string_view path, std::string_view name, const SettingsValue& value) = 0;
  // False when the value was missing.
  virtual bool DeleteValue(Root root, std::string_view path, std::string_view name) = 0;

  // Why the most recent operation failed; empty when it did not.
  virtual const std::string& LastError() const = 0;

  // Reads of one type: a value stored as another type reads as missing.
  std::optional<std::string> ReadString(Root root, std::string_view path, std::string_view name) {
    return ReadAs<std::string>(root, path, name);
  }
  std::optional<int32_t> ReadInteger(Root root, std::string_view path, std::string_view name) {
    return ReadAs<int32_t>(root, path, name);
  }
  std::optional<std::string> ReadBytes(Root root, std::string_view path, std::string_view name) {
    std::optional<ByteValue> value = ReadAs<ByteValue>(root, path, name);
    return value ? std::optional<std::string>(std::move(value->bytes)) : std::nullopt;
  }
  bool WriteString(Root root, std::string_view path, std::string_view name, std::string_view text) {
    return WriteValue(root, path, name, SettingsValue(std::string(text)));
  }
  bool WriteInteger(Root root, std::string_view path, std::string_view name, int32_t number) {
    return WriteValue(root, path, name, SettingsValue(number));
  }
  bool WriteBytes(Root root, std::string_view path, std::string_view name, std::string_view bytes) {
    return WriteValue(root, path, name, SettingsValue(ByteValue{std::string(bytes)}));
  }

 private:
  template <typename T>
  std::optional<T> ReadAs(Root root, std::string_view path, std::string_view name) {
    std::optional<SettingsValue> value = ReadValue(root, path, name);
    if (!value || !std::holds_alternative<T>(*value)) return std::nullopt;
    return std::get<T>(std::move(*value));
  }
};

}  // namespace ixo::system
