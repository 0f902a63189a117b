#include "engine/host_path.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/ascii_case.h"

namespace ixo {

namespace {

namespace fs = std::filesystem;

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

// The entry of folder whose name equals name without regard to ASCII case.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, const std::string& name) {
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
  if (error) return std::nullopt;
  const std::string wanted = LowerAscii(name);
  for (const fs::directory_entry& entry : entries) {
    std::string candidate = entry.path().filename().string();
    if (LowerAscii(candidate) == wanted) return folder / candidate;
  }
  return std::nullopt;
}

}  // namespace

std::string HostPath(std::string_view script_path) {
  std::string path(script_path);
  std::replace(path.begin(), path.end(), '\\', '/');
  const bool has_drive = path.size() >= 2 && path[1] == ':' &&
                         ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
  if (has_drive) {
    path.erase(0, 2);
    if (path.empty() || path[0] != '/') path = "/" + path;
  }
  if (path.empty() || Exists(path)) return path;

  const fs::path written(path);
  fs::path resolved = written.root_path();
  bool found_so_far = true;
  for (const fs::path& part : written.relative_path()) {
    const std::string name = part.string();
    fs::path as_written = resolved / part;
    if (!found_so_far || name == "." || name == ".." || Exists(as_written)) {
      resolved = as_written;
      continue;
    }
    if (std::optional<fs::path> match = FindIgnoringCase(resolved, name)) {
      resolved = *match;
    } else {
      resolved = as_written;
      found_so_far = false;
    }
  }
  std::string result = resolved.string();
  // A trailing separator names a folder; keep it.
  if (path.back() == '/' && (result.empty() || result.back() != '/')) result += '/';
  return result;
}

}  // namespace ixo
