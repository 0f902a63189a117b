#include "system/settings_key_path.h"

#include "engine/ascii_case.h"

namespace ixo::system {

KeyPath ParseKeyPath(std::string_view path) {
  KeyPath key;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      std::string_view name = path.substr(start, end - start);
      key.names.emplace_back(name);
      key.folded = FoldedChild(key.folded, name);
    }
    start = end + 1;
  }
  return key;
}

std::string FoldName(std::string_view name) { return LowerAscii(name); }

std::string FoldedChild(std::string_view parent_folded, std::string_view name) {
  std::string folded(parent_folded);
  if (!folded.empty()) folded += '\\';
  folded += LowerAscii(name);
  return folded;
}

}  // namespace ixo::system
