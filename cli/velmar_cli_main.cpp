// velmar-cli: the service tool's commands for scripts and test benches.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
#include "command_lookup.h"
#include "interrupt_signal.h"

namespace velmar {
namespace {

constexpr const char* kProgramUsage =
    "Usage: velmar-cli [options] COMMAND [ARGS]\n"
    "\n"
    "Options (before the command):\n"
    "  --device PATH   serial device to use (overrides --port)\n"
    "  --port N        COM port 1..4: $VELMAR_COM<N>, else /dev/ttyS<N-1> (default 1)\n"
    "  --baud B        line speed (default 19200)\n"
    "  --db PATH       configuration database to use instead of config.db\n"
    "  --trace FILE    append every frame sent and received to FILE, one line each:\n"
    "                  milliseconds, TX/RX, the bytes in hex, [name] (default $VELMAR_TRACE)\n"
    "  --json          print a reading command's result as one JSON document (the\n"
    "                  commands marked [json]; field names in the README)\n"
    "  --yes           answer Yes to every question\n"
    "  --service       the service engineer's switch: enables hours reset and memory\n"
    "                  read/write (without it they answer \"Feature not available.\")\n"
    "  --quiet         no progress bars (they are drawn only when stderr is a terminal)\n"
    "  -h, --help      show this help; COMMAND --help or help COMMAND shows a command's\n"
    "                  help, a command group alone (e.g. 'setup') lists its commands\n"
    "  --version       show the program's version\n"
    "\n"
    "Exit status:\n"
    "  0    the command succeeded\n"
    "  1    the command failed (a warning or error was shown, a check failed),\n"
    "       or setup diff found differences\n"
    "  2    the command line is wrong (unknown command or option, missing argument)\n"
    "  3    the serial port cannot be opened\n"
    "  130  interrupted (Ctrl-C or SIGTERM)\n"
    "\n"
    "Commands:\n";

void PrintProgramHelp(const std::vector<CliCommand>& commands) {
  std::fputs(kProgramUsage, stdout);
  std::vector<const CliCommand*> all;
  for (const CliCommand& command : commands) {
    all.push_back(&command);
  }
  PrintCommandTable(stdout, all);
}

void PrintCommandHelp(const CliCommand& command) {
  std::printf("Usage: velmar-cli [options] %s\n%s\n", command.synopsis.c_str(),
              command.help.c_str());
}

bool ParseNumber(const std::string& text, int low, int high, int& value) {
  char* end = nullptr;
  long number = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || number < low || number > high) {
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "velmar-cli: %s\nTry 'velmar-cli --help'.\n", problem.c_str());
  return kExitUsage;
}

// A group named alone lists its commands (on stdout, a success); a group followed by a word
// that names none of them is a usage error that lists them on stderr.
int ShowGroup(const CommandGroup& group, const std::vector<std::string>& words, size_t first) {
  const bool alone = first + group.length == words.size();
  std::FILE* stream = alone ? stdout : stderr;
  if (!alone) {
    std::fprintf(stderr, "velmar-cli: unknown command '%s %s'\n", group.name.c_str(),
                 words[first + group.length].c_str());
  }
  std::fprintf(stream, "Commands of velmar-cli %s:\n", group.name.c_str());
  PrintCommandTable(stream, group.members);
  return alone ? kExitOk : kExitUsage;
}

// help [COMMAND]: the program's help, a command's help or a group's commands.
int ShowHelp(const std::vector<CliCommand>& commands, const std::vector<std::string>& words,
             size_t first) {
  if (first >= words.size()) {
    PrintProgramHelp(commands);
    return kExitOk;
  }
  const CommandMatch match = FindCommand(commands, words, first);
  if (match.command != nullptr && first + match.length == words.size()) {
    PrintCommandHelp(*match.command);
    return kExitOk;
  }
  const CommandGroup group = FindGroup(commands, words, first);
  if (group.members.empty()) {
    return UsageError("unknown command '" + words[first] + "'");
  }
  return ShowGroup(group, words, first);
}

int Run(const std::vector<std::string>& words) {
  CliOptions options;
  size_t index = 0;
  for (; index < words.size() && words[index].rfind("-", 0) == 0; ++index) {
    const std::string& option = words[index];
    bool takesValue = option == "--device" || option == "--port" || option == "--baud" ||
                      option == "--db" || option == "--trace";
    if (option == "--help" || option == "-h") {
      PrintProgramHelp(AllCommands());
      return kExitOk;
    }
    if (option == "--version") {
      std::printf("velmar-cli %s\n", VELMAR_VERSION);
      return kExitOk;
    }
    if (option == "--quiet") {
      options.quiet = true;
      continue;
    }
    if (option == "--yes") {
      options.yes = true;
      continue;
    }
    if (option == "--service") {
      options.service = true;
      continue;
    }
    if (option == "--json") {
      options.json = true;
      continue;
    }
    if (!takesValue) {
      return UsageError("unknown option '" + option + "'");
    }
    if (index + 1 >= words.size()) {
      return UsageError("option '" + option + "' needs a value");
    }
    const std::string& value = words[++index];
    if (option == "--device") {
      options.device = value;
    } else if (option == "--db") {
      options.db = value;
    } else if (option == "--trace") {
      options.trace = value;
    } else if (option == "--port" && !ParseNumber(value, 1, 4, options.port)) {
      return UsageError("--port takes 1, 2, 3 or 4");
    } else if (option == "--baud" && !ParseNumber(value, 1, 1000000, options.baud)) {
      return UsageError("--baud takes a positive number");
    }
  }
  if (index >= words.size()) {
    return UsageError("no command given");
  }

  std::vector<CliCommand> commands = AllCommands();
  if (words[index] == "help") {
    return ShowHelp(commands, words, index + 1);
  }
  const CommandMatch match = FindCommand(commands, words, index);
  const CliCommand* best = match.command;
  if (best == nullptr) {
    const CommandGroup group = FindGroup(commands, words, index);
    if (group.members.empty()) {
      return UsageError("unknown command '" + words[index] + "'");
    }
    return ShowGroup(group, words, index);
  }
  std::vector<std::string> rest(words.begin() + static_cast<long>(index + match.length),
                                words.end());
  // --json may also follow the command, where scripts tend to put it.
  const auto jsonWords = std::remove(rest.begin(), rest.end(), std::string("--json"));
  options.json = options.json || jsonWords != rest.end();
  rest.erase(jsonWords, rest.end());
  for (const std::string& word : rest) {
    if (word == "--help" || word == "-h") {
      PrintCommandHelp(*best);
      return kExitOk;
    }
  }

  if (options.json && !best->json) {
    return UsageError("'" + best->name + "' has no --json output");
  }
  std::unique_ptr<FrameTrace> trace;
  std::string traceError;
  if (!FrameTrace::OpenRequested(options.trace, trace, traceError)) {
    std::fprintf(stderr, "velmar-cli: %s\n", traceError.c_str());
    return kExitFailure;
  }
  CliContext context(options);
  context.session.link.SetTrace(trace.get());
  context.command = best;
  CommandArgs args(rest);
  int status = best->run(context, args);
  if (status == kExitOk && context.ui.FailureShown()) {
    status = kExitFailure;
  }
  if (context.interrupt.Requested()) {
    return kExitInterrupted;
  }
  // Output that never arrived (a full disk, a closed pipe) is a failure, not a success.
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "velmar-cli: standard output: %s\n", std::strerror(errno));
    return kExitFailure;
  }
  return status;
}

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  velmar::InstallInterruptHandlers();
  return velmar::Run(words);
}
