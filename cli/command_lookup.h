#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"

namespace velmar {

// The command named by the longest run of `words` from `first`; `length` is that run's length.
struct CommandMatch {
  const CliCommand* command = nullptr;
  size_t length = 0;
};
CommandMatch FindCommand(const std::vector<CliCommand>& commands,
                         const std::vector<std::string>& words, size_t first);

// A command group ("setup", "faults config"): the longest run of `words` from `first` that
// begins the name of a longer command, and those commands. Empty when no name begins so.
struct CommandGroup {
  std::string name;
  size_t length = 0;  // words in the name
  std::vector<const CliCommand*> members;
};
CommandGroup FindGroup(const std::vector<CliCommand>& commands,
                       const std::vector<std::string>& words, size_t first);

// One line per command: synopsis, then what it does, in aligned columns; "[json]" marks the
// commands that take --json.
void PrintCommandTable(std::FILE* stream, const std::vector<const CliCommand*>& commands);

}  // namespace velmar
