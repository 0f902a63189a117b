// Loading the script file into the engine.
#pragma once

#include <string>
#include <vector>

namespace ixo {

class Engine;

// Reads a script file, undoes its byte inversion and builds the line, event and
// function tables. A file that cannot be read leaves the tables empty and asks
// the application to terminate; returns whether the file was read.
bool LoadScript(Engine& engine, const std::string& path);

// Builds the tables from lines already decoded (tests and in-memory sources).
void LoadScriptLines(Engine& engine, const std::vector<std::string>& lines);

}  // namespace ixo
