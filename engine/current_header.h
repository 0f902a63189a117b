// Who the running object is: the header fields of its package, where it came
// from and where it was extracted. Builds write these fields into new packages.
#pragma once

#include <string>

namespace ixo {

struct CurrentHeader {
  std::string family_id;
  std::string object_id;
  std::string creator_id;
  std::string short_note;
  std::string long_note;
  std::string package_path;
  std::string object_name;
  std::string extraction_folder;     // ends with "/"
  std::string extracted_family_id;   // the family id of the package extracted last
};

}  // namespace ixo
