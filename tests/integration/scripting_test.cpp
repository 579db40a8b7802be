// What scripts use: --json, --trace, setup diff and ports, against velmar-sim where a unit is
// needed.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "child_process.h"
#include "run_cli.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

// Parses `json` with Python's own parser and prints `expression` over it (the document is `d`).
RunResult Evaluate(const std::string& json, const std::string& expression) {
  return RunProgram({"/usr/bin/python3", "-c",
                     "import json, sys\nd = json.loads(sys.argv[1])\n"
                     "sys.stdout.write(str(" +
                         expression + "))",
                     json});
}

// Every reading command's document holds what its text output shows: the expression renders the
// document back into the text form, which must begin the text run's stdout.
TEST(JsonOutput, EachReadingCommandsDocumentParsesAndHoldsTheTextsValues) {
  SimProcess sim({"--serial", "40123", "--run-hours", "1232", "--powered-hours", "5678",
                  "--log-record", "3:code=7,run-hours=12"});
  ASSERT_FALSE(sim.Device().empty());
  TempFolder folder;
  const std::string setupFile = (folder.Path() / "unit.cfg").string();
  ASSERT_EQ(RunCli(sim.Device(), {"setup", "save-default", setupFile}).status, 0);
  const std::string kv = "''.join('%s = %s\\n' % kv for kv in d['setup'].items())";
  const std::string db = std::string("--db=") + VELMAR_DEMO_DB;
  struct Case {
    std::vector<std::string> command;
    std::string render;
  };
  const Case cases[] = {
      {{"version"}, "'Firmware Version: Actuator firmware version is ' + d['firmware_version']"},
      {{"identify"},
       "'Serial Number: %s\\nModel Number: %s\\nPart Number: %s\\n' % (d['serial_number'], "
       "d['model_number'], d['part_number'])"},
      {{"hours", "run"}, "'Run Hours Status: %d Hours\\n' % d['run_hours']"},
      {{"hours", "powered"}, "'Powered Hours Status: %d Hours\\n' % d['powered_hours']"},
      {{"status"},
       "''.join('%s = %s [%d]\\n' % (q['name'], q['value'], q['bar_percent']) for q in "
       "d['quantities']) + 'Mode = %s\\nFaults = %s\\n' % (d['mode'], d['faults'])"},
      {{"diagnose"}, "''.join(line + '\\n' for line in d['status_lines'])"},
      {{"--service", "memory", "read", "4"}, "d['data'] + '\\n'"},
      {{"faults", "log"},
       "'\\n'.join(''.join('%s = %s\\n' % kv for kv in r['fields'].items()) for r in "
       "d['records'])"},
      {{"setup", "show", setupFile}, kv},
      {{"setup", "check", setupFile},
       "d['file'] + \": every value passes the setup pages' checks.\\n\" if d['passed'] else "
       "''.join('%s = %s: %s\\n' % (r['key'], r['value'], r['range']) for r in d['refusals'])"},
      {{"faults", "config", "show"},
       "''.join('%s @0x%04X: F1 high=%s low=%s persist=%s; F2 high=%s low=%s persist=%s; "
       "options=0x%04X\\n' % (r['type'], r['address'], *[r[k] or '-' for k in ('f1_high', "
       "'f1_low', 'persist1', 'f2_high', 'f2_low', 'persist2')], r['options']) for r in "
       "d['records'])"},
      {{"--db", VELMAR_DEMO_DB, "db", "list"}, "''.join(c + '\\n' for c in d['configurations'])"},
      {{"--db", VELMAR_DEMO_DB, "db", "version"},
       "d['version'] + '\\n' + d['program_part_number'] + '\\n'"},
      {{"--db", VELMAR_DEMO_DB, "db", "setup", "1045210-001"}, kv},
      {{"ports"},
       "(lambda v: ''.join('%s%s: %s\\n' % (x['path'], ' -> ' + x['target'] if 'target' in x "
       "else '', v(x)) for x in d['devices']) + ''.join('COM %d = %s: %s\\n' % (p['port'], "
       "p['path'], v(p)) for p in d['com_ports']))(lambda x: 'can be opened' if x['openable'] "
       "else 'cannot be opened: ' + x['error'])"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command.back());
    const RunResult text = RunCli(sim.Device(), c.command);
    std::vector<std::string> jsonCommand = c.command;
    jsonCommand.push_back("--json");
    const RunResult json = RunCli(sim.Device(), jsonCommand);
    EXPECT_EQ(json.status, text.status) << json.err;
    const RunResult rendered = Evaluate(json.out, c.render);
    ASSERT_EQ(rendered.status, 0) << json.out << rendered.err;
    EXPECT_FALSE(rendered.out.empty());
    EXPECT_EQ(text.out.rfind(rendered.out, 0), 0u) << text.out << "\n---\n" << rendered.out;
  }
  // An upload's document is the record it saved (the file holds no OrvikPartNo).
  const RunResult uploaded =
      RunCli(sim.Device(), {"--json", "setup", "upload", "--out", setupFile});
  ASSERT_EQ(uploaded.status, 0) << uploaded.err;
  const std::string saved =
      Evaluate(uploaded.out,
               "''.join('%s = %s\\n' % kv for kv in d['setup'].items() if kv[0] != 'OrvikPartNo')")
          .out;
  EXPECT_NE(saved.find("SERIALNO = 40123\n"), std::string::npos) << uploaded.out;
  EXPECT_EQ(RunCli(sim.Device(), {"setup", "show", setupFile}).out.rfind(saved, 0), 0u) << saved;
}

TEST(JsonOutput, TextIsEscapedIntoValidJsonAndErrorsKeepStderrAndStatus) {
  // A quote, a backslash, a control character, UTF-8 "é" and a lone Latin-1 byte.
  SimProcess sim({"--model", "a\"b\\c\x01\xC3\xA9\xFF"});
  ASSERT_FALSE(sim.Device().empty());
  const RunResult odd = RunCli(sim.Device(), {"--json", "identify"});
  ASSERT_EQ(odd.status, 0) << odd.err;
  EXPECT_EQ(Evaluate(odd.out, "d['model_number'] == 'a\"b\\\\c\\x01\\xe9\\xff'").out, "True")
      << odd.out;

  TempFolder folder;
  const std::string setupFile = (folder.Path() / "x.cfg").string();
  const struct {
    std::vector<std::string> argv;
    int status;
  } errors[] = {
      {{VELMAR_CLI_PATH, "--json", "setup", "show", "/nonexistent/x.cfg"}, 1},
      {{VELMAR_CLI_PATH, "--device", "/dev/velmar-no-such-port", "--json", "version"}, 3},
      {{VELMAR_CLI_PATH, "--json", "setup", "save-default", setupFile}, 2},
      {{VELMAR_CLI_PATH, "--json", "status", "--watch"}, 2},
  };
  for (const auto& e : errors) {
    SCOPED_TRACE(e.argv[e.argv.size() - 1]);
    const RunResult result = RunProgram(e.argv);
    EXPECT_EQ(result.status, e.status);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err, "");
  }
}

// The hex bytes of the trace lines in one direction, in order.
std::vector<std::string> Frames(const std::string& trace, const std::string& direction) {
  std::vector<std::string> frames;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(" " + direction + " ");
    if (at != std::string::npos) {
      frames.push_back(line.substr(at + 4, line.rfind(" [") - at - 4));
    }
  }
  return frames;
}

TEST(FrameTraceEndToEnd, WhatOneSideSendsTheOtherReceives) {
  TempFolder folder;
  const std::string cliTrace = (folder.Path() / "cli.trace").string();
  const std::string simTrace = (folder.Path() / "sim.trace").string();
  {
    SimProcess sim({"--trace", simTrace});
    ASSERT_FALSE(sim.Device().empty());
    ASSERT_EQ(RunCli(sim.Device(), {"--trace", cliTrace, "identify"}).status, 0);
  }
  const std::string cli = ReadBytes(cliTrace), device = ReadBytes(simTrace);
  EXPECT_NE(cli.find(" TX 01 0C 09 04 00 06 00 CE 9D [read-words]\n"), std::string::npos) << cli;
  EXPECT_FALSE(Frames(cli, "TX").empty());
  EXPECT_EQ(Frames(cli, "TX"), Frames(device, "RX"));
  EXPECT_EQ(Frames(cli, "RX"), Frames(device, "TX"));
}

TEST(SetupDiff, OneLinePerDifferingKeyNumbersAsNumbers) {
  TempFolder folder;
  const auto file = [&](const std::string& name, const std::string& lines) {
    WriteBytes(folder.Path() / name, lines);
    return (folder.Path() / name).string();
  };
  const std::string base = file("base.cfg", "SPAN = 5.9\r\nMAXFORCE = 1000\r\nMODELNO = ABC\r\n");
  const struct {
    const char* name;
    std::string a, b;
    std::string out;
    int status;
  } cases[] = {
      {"the same file", base, base, "", 0},
      {"numbers written differently",
       file("same.cfg", "SPAN = 5.9000\nMAXFORCE = 1000.0\nMODELNO = ABC\nDATETIME = 1/1/2020\n"),
       base, "", 0},
      {"two keys differ, in file order", file("other.cfg", "MODELNO = ABD\r\nMAXFORCE = 900\r\n"),
       base, "MODELNO: ABD -> ABC\nMAXFORCE: 900 -> 1000\n", 1},
      // A key the file lacks keeps the default record's value.
      {"a key left out", file("short.cfg", "SPAN = 5.9\r\n"), base,
       "MODELNO: LMX4100-262K -> ABC\n", 1},
      {"a side that cannot be read", base, (folder.Path() / "missing.cfg").string(), "", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RunResult result = RunProgram({VELMAR_CLI_PATH, "setup", "diff", c.a, c.b});
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.status, c.status) << result.err;
  }
}

TEST(Ports, ListsTheDevicesWithTheirTargetsAndWhetherTheyOpen) {
  SimProcess sim({});
  ASSERT_FALSE(sim.Device().empty());
  TempFolder folder;
  const std::filesystem::path dev = folder.Path();
  std::filesystem::create_directories(dev / "serial/by-id");
  std::filesystem::create_symlink(sim.Device(), dev / "ttyUSB0");
  std::filesystem::create_symlink("../../ttyUSB0", dev / "serial/by-id/usb-Velmar-if00");
  for (const char* name : {"ttyACM3", "ttyS10", "ttyS9", "ttyX1", "ttyUSB"}) {
    std::filesystem::create_symlink("/nonexistent", dev / name);
  }
  setenv("VELMAR_COM2", sim.Device().c_str(), 1);
  setenv("VELMAR_COM3", "/nonexistent", 1);
  const RunResult result = RunProgram({VELMAR_CLI_PATH, "ports", "--dev", dev.string()});
  unsetenv("VELMAR_COM2");
  unsetenv("VELMAR_COM3");
  const std::string d = dev.string() + "/",
                    missing = ": cannot be opened: No such file or directory\n";
  EXPECT_EQ(result.status, 0);
  const std::string devices =
      d + "ttyACM3" + missing + d + "ttyS9" + missing + d + "ttyS10" + missing + d +
      "ttyUSB0: can be opened\n" + d + "serial/by-id/usb-Velmar-if00 -> " +
      std::filesystem::canonical(sim.Device()).string() + ": can be opened\n";
  EXPECT_EQ(result.out.substr(0, devices.size()), devices);
  EXPECT_NE(result.out.find("COM 2 = " + sim.Device() + ": can be opened\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("COM 3 = /nonexistent" + missing), std::string::npos);
}

}  // namespace
}  // namespace velmar::test
