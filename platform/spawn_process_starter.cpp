#include "platform/spawn_process_starter.h"

#include <spawn.h>
#include <sys/types.h>

extern char** environ;

namespace ixo::platform {

std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

bool SpawnProcessStarter::Open(const std::string& program, const std::string& parameters) {
  std::vector<std::string> words{program};
  words.insert(words.end(), leading_arguments_.begin(), leading_arguments_.end());
  for (std::string& word : SplitCommandLine(parameters)) words.push_back(std::move(word));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  return posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) == 0;
}

}  // namespace ixo::platform
