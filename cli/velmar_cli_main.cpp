// velmar-cli: the service tool's commands for scripts and test benches.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
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
    "  --help          show this help; COMMAND --help shows the command's help\n"
    "\n"
    "Commands:\n";

void PrintProgramHelp(const std::vector<CliCommand>& commands) {
  std::fputs(kProgramUsage, stdout);
  int width = 0;
  for (const CliCommand& command : commands) {
    width = std::max(width, static_cast<int>(command.synopsis.size()));
  }
  for (const CliCommand& command : commands) {
    std::printf("  %-*s  %s%s\n", width, command.synopsis.c_str(), command.help.c_str(),
                command.json ? " [json]" : "");
  }
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

// Number of leading words of `words` (from `first`) that name `command`, or 0.
size_t MatchLength(const CliCommand& command, const std::vector<std::string>& words, size_t first) {
  std::istringstream name(command.name);
  std::string part;
  size_t index = first;
  while (name >> part) {
    if (index >= words.size() || words[index] != part) {
      return 0;
    }
    ++index;
  }
  return index - first;
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "velmar-cli: %s\nTry 'velmar-cli --help'.\n", problem.c_str());
  return kExitUsage;
}

int Run(const std::vector<std::string>& words) {
  CliOptions options;
  size_t index = 0;
  for (; index < words.size() && words[index].rfind("--", 0) == 0; ++index) {
    const std::string& option = words[index];
    bool takesValue = option == "--device" || option == "--port" || option == "--baud" ||
                      option == "--db" || option == "--trace";
    if (option == "--help") {
      PrintProgramHelp(AllCommands());
      return kExitOk;
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
  const CliCommand* best = nullptr;
  size_t bestLength = 0;
  for (const CliCommand& command : commands) {
    size_t length = MatchLength(command, words, index);
    if (length > bestLength) {
      best = &command;
      bestLength = length;
    }
  }
  if (best == nullptr) {
    return UsageError("unknown command '" + words[index] + "'");
  }
  std::vector<std::string> rest(words.begin() + static_cast<long>(index + bestLength), words.end());
  // --json may also follow the command, where scripts tend to put it.
  const auto jsonWords = std::remove(rest.begin(), rest.end(), std::string("--json"));
  options.json = options.json || jsonWords != rest.end();
  rest.erase(jsonWords, rest.end());
  for (const std::string& word : rest) {
    if (word == "--help") {
      std::printf("Usage: velmar-cli [options] %s\n%s\n", best->synopsis.c_str(),
                  best->help.c_str());
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
  return context.interrupt.Requested() ? kExitInterrupted : status;
}

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  velmar::InstallInterruptHandlers();
  return velmar::Run(words);
}
