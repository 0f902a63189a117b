#include "engine/script_loader.h"

#include <fstream>
#include <iterator>

#include "engine/engine.h"
#include "engine/script_file.h"

namespace ixo {

void LoadScriptLines(Engine& engine, const std::vector<std::string>& lines) {
  engine.script.Load(lines);
  engine.blocks.Reset();
  engine.decoded_lines.Reset();
  if (engine.hooks.on_error_report)
    for (const std::string& warning : engine.script.warnings()) engine.hooks.on_error_report(warning);
}

bool LoadScript(Engine& engine, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    engine.script.Clear();
    engine.platform.application->RequestTerminate();
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  LoadScriptLines(engine, DecodeScriptFile(std::move(bytes)));
  return true;
}

}  // namespace ixo
