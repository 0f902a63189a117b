#include "package/package_format.h"

namespace ixo::package {

std::string ReadTextField(std::string_view block, Field field) {
  std::string_view bytes = block.substr(field.offset, field.size);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

void WriteTextField(std::string& block, Field field, std::string_view text) {
  std::string_view cut = text.substr(0, field.size);
  block.replace(field.offset, cut.size(), cut);
  if (cut.size() < field.size) block[field.offset + cut.size()] = '\0';
}

bool IsSafeStoredName(std::string_view name) {
  // A compressed entry is expanded under its plain name, which must be safe too.
  std::string_view plain = name.ends_with(kCompressedSuffix) ? name.substr(0, name.size() - 2) : name;
  for (std::string_view candidate : {name, plain})
    if (candidate.empty() || candidate == "." || candidate == "..") return false;
  return name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

}  // namespace ixo::package
