// velmar-cli's fault log and fault file commands against velmar-sim.
#include <gtest/gtest.h>

#include "base/temp_folder.h"
#include "child_process.h"
#include "run_cli.h"
#include "support/file_bytes.h"

namespace velmar::test {
namespace {

struct Case {
  std::vector<std::string> command;
  int status;
  std::string out;
  std::string err;
};

void RunCases(const std::string& device, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string words;
    for (const std::string& word : c.command) {
      words += word + " ";
    }
    SCOPED_TRACE(words);
    const RunResult result = RunCli(device, c.command);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
  }
}

const std::string kRecord2 =
    "Record Number = 2\nLast Download Date = 03-15-24 \nFault Code = 1160\n"
    "Fault Type = Motor Temp\nFault Level = 2\nFirmware Version = 3.10\n"
    "Motor Temp 1 (deg C) = 75\nMotor Temp 2 (deg C) = 75\nMotor Temp 3 (deg C) = 75\n"
    "Electronics Temp (deg C) = 93\nMotor Current (Amps) = 2\nPosition Demand (counts) = 0\n"
    "Position Feedback (counts) = 0\nVelocity (RDC counts) = 0\n+14 Volts = 13.69\n"
    "-14 Volts = -13.69\n+120 Volts = 117.36\nPowered Hours = 0\nRun Hours = 70000\n";
const std::string kNoRecord = "Fault Log Report Status: No Fault Log Record Found\n";
const std::string kNoCommunication = "Program Error: No Communication With Actuator/QTN.\n";
const std::string kErase = "Verify Fault Log Erase: Erase all Fault Log Records? [y/N] ";

TEST(FaultCommandsWithSim, FaultLogShowSaveAndErase) {
  TempFolder folder;
  const std::string report = (folder.Path() / "record.rpt").string();
  SimProcess sim({"--log-record", "2:date=2024-03-15,code=1160,current=100,run-hours=70000",
                  "--log-record", "5:code=125", "--fail-log-slot", "4"});
  ASSERT_FALSE(sim.Device().empty());
  RunCases(sim.Device(), {
                             {{"faults", "log", "--record", "2"}, 0, kRecord2, ""},
                             {{"faults", "log", "--record", "3"}, 0, kNoRecord, ""},
                             {{"faults", "log", "--record", "17"},
                              2,
                              "",
                              "velmar-cli faults log: --record takes 1 to 16\n"
                              "Usage: velmar-cli [options] faults log [--record N] [--out FILE]\n"},
                             {{"faults", "log", "--record", "2", "--out", report}, 0, kRecord2, ""},
                             {{"faults", "file"},
                              1,
                              "",
                              "This actuator keeps a fault log: use velmar-cli faults log.\n"},
                             {{"faults", "log", "erase"}, 1, "", kErase + "no\n"},
                             {{"--yes", "faults", "log", "erase"},
                              1,
                              "",
                              kErase + "yes\n" + kNoCommunication +
                                  "Program Error: Records 1 to 3 were erased.\n"},
                         });
  const std::string content = ReadBytes(report);
  EXPECT_EQ(content.rfind("Actuator Fault Log Report\r\n\r\nReport Date :\t\t", 0), 0u);
  EXPECT_NE(content.find("\r\nRecord Number :\t\t2\r\nLast Download Date :\t03-15-24 \r\n"),
            std::string::npos);
  // Records 2 was erased, 5 is left.
  const RunResult all = RunCli(sim.Device(), {"faults", "log"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(all.out.rfind("Record Number = 5\n", 0), 0u) << all.out;
  EXPECT_NE(all.out.find("Fault Type = Undefined Type\nFault Level = 1\n"), std::string::npos);
}

TEST(FaultCommandsWithSim, AllRecordsInSlotOrderThenClearFaultsErasesTheLog) {
  SimProcess sim({"--log-record", "9:code=1110", "--log-record",
                  "2:date=2024-03-15,code=1160,"
                  "current=100,run-hours=70000"});
  ASSERT_FALSE(sim.Device().empty());
  const RunResult all = RunCli(sim.Device(), {"faults", "log"});
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(all.out.rfind(kRecord2 + "\nRecord Number = 9\n", 0), 0u) << all.out;
  RunCases(sim.Device(), {
                             {{"--yes", "faults", "clear"}, 0, "", kErase + "yes\n"},
                             {{"faults", "log"}, 0, kNoRecord, ""},
                         });
}

TEST(FaultCommandsWithSim, FaultFileUploadReportAndClear) {
  TempFolder folder;
  const std::string report = (folder.Path() / "Faults.rpt").string();
  SimProcess sim({"--firmware", "2.05", "--mode", "sum", "--fault-file",
                  "date=2024-03-15,time=10:20:30,flags=0x4001,velocity=7"});
  ASSERT_FALSE(sim.Device().empty());
  RunCases(sim.Device(), {
                             {{"faults", "log"},
                              1,
                              "",
                              "This actuator keeps a fault file: use velmar-cli faults file.\n"},
                         });
  // The report's lines on stdout, the same lines with CR LF in the file.
  const RunResult shown = RunCli(sim.Device(), {"faults", "file", "--out", report});
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out.rfind("Fault File Report\n\nSetup Date            : 03-15-2024\n"
                            "Setup Time            : 10:20:30\n",
                            0),
            0u);
  EXPECT_NE(shown.out.find("\nPosttion Feedback     : 0\nVelocity              : 7\n"),
            std::string::npos);
  EXPECT_TRUE(shown.out.ends_with("\nMotor Over Temp       : OK\nElectronics Over Temp : FAULT\n"));
  const RunResult printed = RunCli(sim.Device(), {"faults", "file", "report"});
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.out.rfind("\n\n\n\tActuator Fault File Data\n\n\tDate :\t\t\t03-15-2024\n", 0),
            0u);
  EXPECT_NE(printed.out.find("\n\tElec Over Temp :\tFAULT\n\n"), std::string::npos);
  std::string crlf;
  for (char ch : shown.out) {
    crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  }
  EXPECT_EQ(ReadBytes(report), crlf);
  RunCases(sim.Device(),
           {
               {{"faults", "clear"}, 0, "Clear Faults: Clear faults procedure successful.\n", ""},
               {{"faults", "file"}, 0, "View Fault File: No Fault File data to upload.\n", ""},
           });
}

}  // namespace
}  // namespace velmar::test
