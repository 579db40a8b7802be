#include "command_lookup.h"

#include <algorithm>
#include <sstream>

namespace velmar {

namespace {

std::vector<std::string> NameWords(const CliCommand& command) {
  std::istringstream name(command.name);
  std::vector<std::string> parts;
  for (std::string part; name >> part;) {
    parts.push_back(part);
  }
  return parts;
}

// How many leading words of `name` equal the words from `first`.
size_t CommonLength(const std::vector<std::string>& name, const std::vector<std::string>& words,
                    size_t first) {
  size_t length = 0;
  while (length < name.size() && first + length < words.size() &&
         name[length] == words[first + length]) {
    ++length;
  }
  return length;
}

}  // namespace

CommandMatch FindCommand(const std::vector<CliCommand>& commands,
                         const std::vector<std::string>& words, size_t first) {
  CommandMatch best;
  for (const CliCommand& command : commands) {
    const std::vector<std::string> name = NameWords(command);
    if (CommonLength(name, words, first) == name.size() && name.size() > best.length) {
      best = {&command, name.size()};
    }
  }
  return best;
}

CommandGroup FindGroup(const std::vector<CliCommand>& commands,
                       const std::vector<std::string>& words, size_t first) {
  size_t groupLength = 0;
  for (const CliCommand& command : commands) {
    const std::vector<std::string> name = NameWords(command);
    groupLength =
        std::max(groupLength, std::min(CommonLength(name, words, first), name.size() - 1));
  }
  CommandGroup group;
  group.length = groupLength;
  if (groupLength == 0) {
    return group;
  }
  for (size_t i = 0; i < groupLength; ++i) {
    group.name += (i == 0 ? "" : " ") + words[first + i];
  }
  for (const CliCommand& command : commands) {
    const std::vector<std::string> name = NameWords(command);
    if (name.size() > groupLength && CommonLength(name, words, first) >= groupLength) {
      group.members.push_back(&command);
    }
  }
  return group;
}

void PrintCommandTable(std::FILE* stream, const std::vector<const CliCommand*>& commands) {
  int width = 0;
  for (const CliCommand* command : commands) {
    width = std::max(width, static_cast<int>(command->synopsis.size()));
  }
  // A help text of several lines keeps to its column.
  const std::string indent = "\n" + std::string(static_cast<size_t>(width) + 4, ' ');
  for (const CliCommand* command : commands) {
    std::string help = command->help;
    for (size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1)) {
      help.replace(at, 1, indent);
    }
    std::fprintf(stream, "  %-*s  %s%s\n", width, command->synopsis.c_str(), help.c_str(),
                 command->json ? " [json]" : "");
  }
}

}  // namespace velmar
