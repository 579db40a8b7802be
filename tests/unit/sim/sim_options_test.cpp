#include "sim_options.h"

#include "factory_state.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace velmar::test {
namespace {

ParseOutcome Parse(std::vector<const char*> args, SimOptions& options, std::string& error) {
  args.insert(args.begin(), "velmar-sim");
  return ParseSimOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(SimOptionsTest, ParsesEveryOption) {
  SimOptions options;
  std::string error;
  ASSERT_EQ(Parse({}, options, error), ParseOutcome::kRun);
  EXPECT_EQ(options.state.frameMode, FrameMode::kCrc);
  EXPECT_EQ(options.timing.baud, 19200);
  EXPECT_FALSE(options.serialNumber);
  ASSERT_EQ(Parse({"--firmware",      "2.5",         "--mode=sum",  "--state",         "run-off",
                   "--serial",        "777",         "--model",     "ABCDEFGHIJKL",    "--part",
                   "1234567-890",     "--run-hours", "12",          "--powered-hours", "0x10",
                   "--span",          "1966079",     "--max-force", "65535",           "--memory",
                   "/tmp/m.bin",      "--link",      "/tmp/ttyV",   "--baud",          "9600",
                   "--corrupt-write", "0x1E"},
                  options, error),
            ParseOutcome::kRun)
      << error;
  EXPECT_EQ(options.state.firmwareMajor * 256 + options.state.firmwareMinor, 0x205);
  EXPECT_EQ(options.state.frameMode, FrameMode::kSum);
  EXPECT_EQ(options.state.modeState, ModeState::kRunOff);
  EXPECT_EQ(options.serialNumber, 777u);
  EXPECT_EQ(options.modelNumber, "ABCDEFGHIJKL");
  EXPECT_EQ(options.partNumber, "1234567-890");
  EXPECT_EQ(options.state.runHours, 12u);
  EXPECT_EQ(options.state.poweredHours, 16u);
  EXPECT_EQ(options.state.span, 1966079u);
  EXPECT_EQ(options.state.maxForce, 65535);
  EXPECT_EQ(options.memoryPath, "/tmp/m.bin");
  EXPECT_EQ(options.linkPath, "/tmp/ttyV");
  EXPECT_EQ(options.timing.baud, 9600);
  EXPECT_EQ(options.state.corruptWrittenWord, 30);
  EXPECT_EQ(Parse({"--mode", "sum", "--help"}, options, error), ParseOutcome::kHelp);
}

TEST(SimOptionsTest, RejectsBadValuesWithTheirName) {
  std::istringstream cases(
      "--firmware=3 --firmware=3.100 --firmware=256.0 --mode=CRC --state=run --serial=-1 "
      "--serial=4294967296 --serial=12x --model=ABCDEFGHIJKLM --part=0123456789ABCDEFG "
      "--max-force=65536 --corrupt-write=4096 --baud=0 --memory= --bogus=1 --span");
  for (std::string arg; cases >> arg;) {
    SCOPED_TRACE(arg);
    SimOptions options;
    std::string error;
    EXPECT_EQ(Parse({arg.c_str()}, options, error), ParseOutcome::kError);
    EXPECT_NE(error.find(arg.substr(0, arg.find('='))), std::string::npos) << error;
  }
}

// Each of --mode and --firmware picks the other's default; a pair no unit has is refused with
// both values named.
TEST(SimOptionsTest, FrameModeAndFirmwareMatch) {
  struct Case {
    std::vector<const char*> args;
    int firmware;  // 0: refused
    FrameMode mode;
  };
  const Case cases[] = {
      {{}, 0x30A, FrameMode::kCrc},
      {{"--mode", "sum"}, 0x206, FrameMode::kSum},
      {{"--mode", "crc"}, 0x30A, FrameMode::kCrc},
      {{"--mode", "sum", "--firmware", "3.09"}, 0x309, FrameMode::kSum},
      {{"--firmware", "1.00"}, 0x100, FrameMode::kSum},
      {{"--firmware", "0.90"}, 0x05A, FrameMode::kSum},
      {{"--firmware", "1.01"}, 0x101, FrameMode::kCrc},
      {{"--firmware", "1.01", "--mode", "sum"}, 0x101, FrameMode::kSum},
      {{"--mode", "sum", "--firmware", "3.10"}, 0, FrameMode::kSum},
      {{"--firmware", "15.0", "--mode", "sum"}, 0, FrameMode::kSum},
      {{"--mode", "crc", "--firmware", "1.00"}, 0, FrameMode::kCrc},
  };
  for (const Case& c : cases) {
    SimOptions options;
    std::string error;
    const ParseOutcome outcome = Parse(c.args, options, error);
    SCOPED_TRACE(testing::Message() << c.args.size() << " arguments, " << error);
    if (c.firmware == 0) {
      EXPECT_EQ(outcome, ParseOutcome::kError);
      EXPECT_NE(error.find(c.mode == FrameMode::kSum ? "sum" : "CRC"), std::string::npos);
      EXPECT_NE(error.find(c.args[c.args[0] == std::string("--firmware") ? 1 : 3]),
                std::string::npos);
      continue;
    }
    ASSERT_EQ(outcome, ParseOutcome::kRun);
    EXPECT_EQ(options.state.firmwareMajor * 256 + options.state.firmwareMinor, c.firmware);
    EXPECT_EQ(options.state.frameMode, c.mode);
  }
}

TEST(SimOptionsTest, TemperaturesFollowTheFirmwareUnlessGiven) {
  SimOptions options;
  std::string error;
  ASSERT_EQ(Parse({"--firmware", "2.00", "--mode", "sum", "--status", "motor-temp2=100", "--status",
                   "elec-temp=0x200", "--blank"},
                  options, error),
            ParseOutcome::kRun)
      << error;
  const StatusValues& status = options.state.status;
  EXPECT_EQ(status.motorTemperature[0], MotorCountsAt(25, 0x200));
  EXPECT_EQ(status.motorTemperature[1], 100);
  EXPECT_EQ(status.motorTemperature[2], MotorCountsAt(25, 0x200));
  EXPECT_EQ(status.electronicsTemperature, 0x200);
  EXPECT_TRUE(options.blank);
}

TEST(SimOptionsTest, ExplicitIdentificationOverridesTheMemory) {
  SimMemory memory;
  memory.SetSerialNumber(1);
  memory.SetModelNumber("FROMFILE");
  SimOptions options;
  options.serialNumber = 99;
  options.partNumber = "OPTPART";
  ApplyIdentification(options, memory);
  EXPECT_EQ(memory.SerialNumber(), 99u);
  EXPECT_EQ(memory.ModelNumber(), "FROMFILE");
  EXPECT_EQ(memory.PartNumber(), "OPTPART");
}

}  // namespace
}  // namespace velmar::test
