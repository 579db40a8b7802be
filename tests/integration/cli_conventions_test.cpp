// velmar-cli's help, version and command groups, and the exit statuses they end with.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace velmar::test {
namespace {

TEST(CliConventions, HelpVersionAndGroupsAnswerOnTheRightStreamWithTheRightStatus) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;  // expected in stdout ("" when stdout must be empty)
    std::string err;  // expected in stderr ("" when stderr must be empty)
  } cases[] = {
      {{"--help"}, 0, "Exit status:\n  0    the command succeeded\n", ""},
      {{"-h"}, 0, "\n  3    the serial port cannot be opened\n", ""},
      {{"help"}, 0, "Usage: velmar-cli [options] COMMAND [ARGS]\n", ""},
      {{"help", "hours", "run"}, 0, "Usage: velmar-cli [options] hours run\n", ""},
      {{"help", "setup"}, 0, "Commands of velmar-cli setup:\n  setup ", ""},
      {{"help", "frobnicate"}, 2, "", "velmar-cli: unknown command 'frobnicate'\n"},
      {{"hours", "run", "-h"}, 0, "Usage: velmar-cli [options] hours run\n", ""},
      {{"--version"}, 0, "velmar-cli " VELMAR_VERSION "\n", ""},
      {{"setup"}, 0, "Commands of velmar-cli setup:\n", ""},
      {{"hours"}, 0, "  hours run ", ""},
      {{"db"}, 0, "  db list ", ""},
      {{"faults", "config"}, 0, "Commands of velmar-cli faults config:\n  faults config ", ""},
      {{"setup", "frobnicate"},
       2,
       "",
       "velmar-cli: unknown command 'setup frobnicate'\nCommands of velmar-cli setup:\n"},
      {{"frobnicate"}, 2, "", "velmar-cli: unknown command 'frobnicate'\n"},
      {{"-x", "version"}, 2, "", "velmar-cli: unknown option '-x'\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> argv = {VELMAR_CLI_PATH};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(argv.back());
    const RunResult result = RunProgram(argv);
    EXPECT_EQ(result.status, c.status);
    if (c.out.empty()) {
      EXPECT_EQ(result.out, "");
    } else {
      EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
    }
    if (c.err.empty()) {
      EXPECT_EQ(result.err, "");
    } else {
      EXPECT_EQ(result.err.find(c.err), 0u) << result.err;
    }
  }
}

// The lines of a command table that begin a command ("  NAME ..."), those that begin with
// `prefix` among them.
std::vector<std::string> CommandLines(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ' &&
        line.compare(0, prefix.size(), prefix) == 0) {
      lines.push_back(line);
    }
  }
  return lines;
}

// A group lists exactly the commands of the full help whose names begin with it.
TEST(CliConventions, AGroupListsOnlyItsOwnCommands) {
  const RunResult all = RunProgram({VELMAR_CLI_PATH, "--help"});
  for (const std::vector<std::string>& group : {std::vector<std::string>{"hours"},
                                                {"setup"},
                                                {"db"},
                                                {"faults"},
                                                {"faults", "config"},
                                                {"memory"},
                                                {"convert"}}) {
    std::vector<std::string> argv = {VELMAR_CLI_PATH};
    argv.insert(argv.end(), group.begin(), group.end());
    const std::string name = group.size() == 1 ? group[0] : group[0] + " " + group[1];
    SCOPED_TRACE(name);
    const RunResult listed = RunProgram(argv);
    ASSERT_EQ(listed.status, 0);
    const std::vector<std::string> members = CommandLines(listed.out, "");
    EXPECT_FALSE(members.empty());
    EXPECT_EQ(CommandLines(listed.out, "  " + name + " "), members) << listed.out;
    EXPECT_EQ(members.size(), CommandLines(all.out, "  " + name + " ").size()) << listed.out;
  }
}

}  // namespace
}  // namespace velmar::test
