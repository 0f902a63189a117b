// Fuzz target: a package file from a stranger is read and extracted into a
// private folder; nothing may be written anywhere else.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "package/package_extractor.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fs::path root = fs::temp_directory_path() / ("fuzz_package_" + std::to_string(getpid()));
  const fs::path destination = root / "out";
  fs::create_directories(destination);
  const std::string package_path = (root / "input.ixo").string();
  std::ofstream(package_path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  std::string error;
  ixo::package::ExtractFiles(package_path, destination.string() + "/", "", error);
  // Only plain files may appear, and only inside the destination.
  for (const fs::directory_entry& entry : fs::directory_iterator(root))
    if (entry.path() != destination && entry.path() != package_path) std::abort();
  for (const fs::directory_entry& entry : fs::directory_iterator(destination))
    if (!entry.is_regular_file()) std::abort();
  fs::remove_all(destination);
  return 0;
}
