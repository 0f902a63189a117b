// The running object and its package: extraction into a fresh folder with the
// header remembered, unique ids, and removal of the folder at the end.
#pragma once

#include <string>
#include <string_view>

namespace ixo {

class Engine;
class RandomGenerator;

struct ExtractRequest {
  std::string package_path;
  std::string destination;           // ends with "/"; empty: see make_extraction_folder
  bool make_extraction_folder = false;
  std::string selection;             // empty: every file
  bool register_instance = false;
};

// Extracts a package and stores its header fields as the current header (and its
// family id as the extracted family id). With make_extraction_folder a fresh
// folder under the temporary-files folder becomes the destination and the current
// extraction folder; without a destination, files go to the engine's own folder
// there. With register_instance the family id becomes the current family id.
// False when the package is missing or its directory cannot be trusted.
bool ExtractPackage(Engine& engine, const ExtractRequest& request);

// 16 characters: two digits, four capitals, four digits, four capitals, two
// digits, each drawn with one short step of the engine's generator.
std::string MakeUniqueId(RandomGenerator& random);

// Deletes the files directly inside a folder, then the folder when all are gone.
bool RemoveFolder(const std::string& folder);

// $TMPDIR (or /tmp) followed by "/zodizarez/": the engine's own temporary folder,
// created when missing.
std::string EngineTemporaryFolder();

}  // namespace ixo
