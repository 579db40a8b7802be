#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/temp_folder.h"
#include "fault_config_memory.h"
#include "faults/fault_config_editor.h"
#include "faults/fault_config_file_load.h"
#include "faults/temperature.h"
#include "support/file_bytes.h"
#include "unit/faults/fault_config_fixture.h"

namespace velmar {
namespace {

using test::EntryCount;
using test::FaultConfigFixture;
using test::ReadBytes;
using test::WriteBytes;
using Lines = std::vector<std::string>;

// The parameter values the factory memory of the simulated actuator saves as.
const char* const kSavedValues[] = {
    "OVRCUR 1000 0 1200 0 2.00 1.00 12311",
    "TRKERR 5.00 0 6.00 0 2.00 2.00 12291",
    "POSDMD 21.0 3.8 21.5 3.0 1.00 1.00 3",
    "RDCFLT 0 0 0 0 0 0 12307",
    "P15V 16.0 13.0 16.2 12.5 1.00 1.00 3",
    "N15V -12.5 -15.8 -12.2 -16.0 1.00 1.00 3",
    "P120V 170.0 78.0 175.0 72.0 2.00 1.00 3",
    "EECK 0 0 0 0 0 0 12291",
    "MTEMP 156 0 166 0 5.00 2.00 12291",
    "ETEMP 106 0 116 0 10.00 2.00 12291",
    "P5V 5.5 4.5 5.7 4.3 1.00 1.00 3",
    "WDOG 0 0 0 0 0 0 12291",
    "EEWR 0 0 0 0 0 0 12291",
};

Lines ParameterLines() {
  const char* suffixes[] = {"_HI_LIM",      "_LO_LIM",      "_HIHI_LIM",   "_LOLO_LIM",
                            "_PERSIST1_TM", "_PERSIST2_TM", "_CFG_OPTIONS"};
  Lines lines;
  for (const char* values : kSavedValues) {
    std::istringstream in(values);
    std::string prefix;
    in >> prefix;
    for (const char* suffix : suffixes) {
      std::string value;
      in >> value;
      lines.push_back(prefix + suffix + " = " + value);
    }
  }
  return lines;
}

std::string WithCrLf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

FaultConfigFileLoad LoadText(const std::string& text) {
  std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
  FaultConfigFileLoad load = LoadFaultConfigFile(file, [] {});
  std::fclose(file);
  return load;
}

struct FileFixture : FaultConfigFixture {
  using FaultConfigFixture::FaultConfigFixture;
  std::filesystem::path Path(const char* name = "FaultCfg.cfg") const {
    return folder.Path() / name;
  }
  TempFolder folder;
};

TEST(FaultConfigFile, SaveWritesEveryLineInOrderWithCrLf) {
  FileFixture f;
  ASSERT_TRUE(f.editor.SaveToFile(f.Path()));
  EXPECT_EQ(f.ui.Messages(), Lines{});
  const std::string text = ReadBytes(f.Path());
  const size_t at = text.find("DATETIME = ");
  ASSERT_NE(at, std::string::npos);
  const std::string stamp = text.substr(at, 30);
  std::string shape = stamp;
  for (char& c : shape) {
    c = c >= '0' && c <= '9' ? 'd' : c;
  }
  EXPECT_EQ(shape, "DATETIME = dd/dd/dddd-dd:dd:dd");
  Lines expected = {";  Velmar Actuator Fault Configuration Setup File",
                    ";",
                    ";  Warning : This file is automatically updated by the Velmar",
                    ";            software. Modifying anything in this file can",
                    ";            corrupt the data and make it unusable. DO NOT EDIT!",
                    ";",
                    stamp,
                    "MODELNO = LMX4100-262K",
                    "PARTNO = 5000000-000",
                    "SERIALNO = 12345"};
  for (const std::string& line : ParameterLines()) {
    expected.push_back(line);
  }
  expected.insert(expected.end(), {"", ";  end"});
  EXPECT_EQ(text, WithCrLf(expected));
}

TEST(FaultConfigFile, AFailedSaveKeepsThePreviousFileAndLeavesNoOther) {
  const std::string kReadError =
      "Error|Program Error|Communication error reading fault configuration data.";
  const struct {
    int after;  // requests answered before the line goes dead
    const char* target;
    std::string message;
  } cases[] = {
      {0, "FaultCfg.cfg", kReadError},               // the identification
      {3 + 12 * 3 + 2, "FaultCfg.cfg", kReadError},  // the last record's last read
      {-1, "missing/FaultCfg.cfg",
       "Warning|File Error|Error opening new fault configuration file."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    FileFixture f;
    WriteBytes(f.Path(), "old\r\n");
    if (c.after >= 0) {
      f.actuator.LoseRequests(c.after, 1000);
    }
    EXPECT_FALSE(f.editor.SaveToFile(f.Path(c.target)));
    EXPECT_EQ(f.ui.Messages(), Lines{c.message});
    EXPECT_EQ(ReadBytes(f.Path()), "old\r\n");
    EXPECT_EQ(EntryCount(f.folder.Path()), 1);
    EXPECT_FALSE(f.ui.progressOpen);
  }
}

TEST(FaultConfigFile, LoadCountsKeysAndAbortsOnTheFirstValueOutsideItsLimits) {
  const Lines saved = ParameterLines();
  const auto edited = [&](const std::string& key, const std::string& replacement) {
    Lines lines = {";  header", "DATETIME = 01/02/2026-03:04:05", "MODELNO = X"};
    for (const std::string& line : saved) {
      if (line.rfind(key + " = ", 0) == 0) {
        if (!replacement.empty()) {
          lines.push_back(replacement);
        }
      } else {
        lines.push_back(line);
      }
    }
    lines.insert(lines.end(), {"", ";  end"});
    return WithCrLf(lines);
  };
  const auto aborted = [](const std::string& what) {
    return "Load aborted as " + what + " allowed value.";
  };
  const struct {
    const char* key;
    std::string line;  // empty: the key's line removed
    int count;
    std::string abort;
  } cases[] = {
      {"OVRCUR_HI_LIM", "OVRCUR_HI_LIM = 1267", 91, ""},
      {"OVRCUR_HI_LIM", "OVRCUR_HI_LIM = 1267.4", 1,
       aborted("Overcurrent Fault 1 High Limit is above maximum")},
      {"OVRCUR_HI_LIM", "OVRCUR_HI_LIM =", 1,
       aborted("Overcurrent Fault 1 High Limit is below minimum")},
      {"OVRCUR_LO_LIM", "OVRCUR_LO_LIM = 99999", 91, ""},       // not examined
      {"ETEMP_PERSIST2_TM", "ETEMP_PERSIST2_TM = 25", 91, ""},  // 30 s in a file
      {"ETEMP_PERSIST2_TM", "ETEMP_PERSIST2_TM = 30.01", 69,
       aborted("Electronics Temp Fault Persist Time 2 is above maximum")},
      {"P5V_HIHI_LIM", "P5V_HIHI_LIM = 6.04", 91, ""},  // rounded to 6.0
      {"P5V_LO_LIM", "P5V_LO_LIM = 4.14", 72, aborted("+5V Fault 1 Low Limit is below minimum")},
      {"OVRCUR_HI_LIM", "ovrcur_hi_lim=1000", 91, ""},
      {"OVRCUR_HI_LIM", "MY_OVRCUR_HI_LIM_OLD = 1000", 91, ""},  // contained
      {"OVRCUR_HI_LIM", " OVRCUR_HI_LIM = 1000", 90, ""},
      {"OVRCUR_HI_LIM", ";OVRCUR_HI_LIM = 1000", 90, ""},
      {"OVRCUR_HI_LIM", "", 90, ""},
      {"OVRCUR_HI_LIM", "OVRCUR_HI_LIM = 1000\r\nOVRCUR_HI_LIM = 1100", 92, ""},
      // A line longer than 126 characters goes on as a line of its own.
      {"OVRCUR_HI_LIM", "OVRCUR_HI_LIM = 1000 " + std::string(105, '.') + "OVRCUR_HI_LIM = 1100",
       92, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const FaultConfigFileLoad load = LoadText(edited(c.key, c.line));
    EXPECT_EQ(load.parameterCount, c.count);
    EXPECT_EQ(load.abortText, c.abort);
  }
  const FaultConfigFileLoad last =
      LoadText(edited("OVRCUR_HI_LIM", "OVRCUR_HI_LIM = 1000\nOVRCUR_HI_LIM = 1100"));
  EXPECT_EQ(last.records[kOvercurrent].words[kF1High], 888);  // the last value wins
  EXPECT_EQ(LoadText(edited("", "")).records[kPlus5V].words,
            (std::array<uint16_t, 7>{687, 562, 712, 537, 500, 500, 3}));
}

TEST(FaultConfigFile, WriteFromFileRoundTripsTheSavedCounts) {
  FileFixture f;
  ASSERT_TRUE(f.editor.SaveToFile(f.Path()));
  std::vector<std::vector<int>> before;
  for (const FaultType& type : kFaultTypes) {
    before.push_back(f.MemoryRecord(type.address));
    for (int word = 0; word < 7; ++word) {
      f.actuator.Memory().SetWord(type.address / 2 + word, 0x5555);
    }
  }
  f.ui.answers = {Answer::Yes};
  f.clock.sleeps.clear();
  ASSERT_TRUE(f.editor.WriteFromFile(f.Path()));
  EXPECT_EQ(f.ui.Messages(),
            (Lines{"Question|Verify Fault Configuration Write|Fault configuration loaded from file "
                   "successfully. Write fault configuration to Actuator?",
                   "Information|Program Status|Fault configuration data written successfully."}));
  // Temperatures come back through their curves: the motor's as the middle of a run of counts,
  // the electronics' 115.77 degrees saved as 116.
  before[kMotorTemp][0] = DegCToThermistorCounts(156);
  before[kMotorTemp][2] = DegCToThermistorCounts(166);
  before[kElecTemp][2] = 119;
  for (int type = 0; type < kFaultTypeCount; ++type) {
    EXPECT_EQ(f.MemoryRecord(kFaultTypes[type].address), before[type])
        << kFaultTypes[type].listText;
  }
  const int sum = FaultConfigurationSum(f.actuator.Memory());
  EXPECT_EQ(f.actuator.Memory().Word(0x108), sum);
  EXPECT_EQ(f.actuator.Memory().Word(0x109), sum ^ 0xFFFF);
  EXPECT_FALSE(f.actuator.State().writesEnabled);
  // Enable, 39 record writes with words 4 and 5 twice, the checksum record, disable.
  const Lines writes = f.Writes();
  ASSERT_EQ(writes.size(), 42u);
  EXPECT_EQ(writes[0], "enable");
  EXPECT_EQ(writes[1], "0x0500: 807 0 969");
  EXPECT_EQ(writes[2], "0x0506: 0 1000 500");
  EXPECT_EQ(writes[3], "0x0508: 1000 500 12311");
  EXPECT_EQ(writes[41], "disable");
}

TEST(FaultConfigFile, WriteFromFileRefusals) {
  {
    FileFixture f(true);
    EXPECT_FALSE(f.editor.CanWrite());
    EXPECT_EQ(f.ui.Messages(), Lines{"Warning|Program Status|Feature not available."});
    EXPECT_TRUE(f.driver.writes.empty());
  }
  FileFixture f;
  ASSERT_TRUE(f.editor.SaveToFile(f.Path()));
  std::string text = ReadBytes(f.Path());
  const std::string key = "WDOG_CFG_OPTIONS = 12291\r\n";
  WriteBytes(f.Path("missing.cfg"),
             text.substr(0, text.find(key)) + text.substr(text.find(key) + key.size()));
  WriteBytes(f.Path("repeated.cfg"), text + key);
  WriteBytes(f.Path("bad.cfg"), "OVRCUR_PERSIST1_TM = 120.01\r\n");
  f.driver.writes.clear();
  EXPECT_FALSE(f.editor.WriteFromFile(f.Path("missing.cfg")));
  EXPECT_FALSE(f.editor.WriteFromFile(f.Path("repeated.cfg")));
  EXPECT_FALSE(f.editor.WriteFromFile(f.Path("bad.cfg")));
  EXPECT_FALSE(f.editor.WriteFromFile(f.Path("none.cfg")));
  EXPECT_FALSE(f.editor.WriteFromFile(f.Path()));  // answered No
  EXPECT_EQ(
      f.ui.Messages(),
      (Lines{"Warning|Program Status|Write aborted, could only read 90 of the 91 parameters "
             "expected.",
             "Warning|Program Status|Write aborted, could only read 92 of the 91 parameters "
             "expected.",
             "Warning|Program Status|Load aborted as Overcurrent Persist Time 1 is above maximum "
             "allowed value.",
             "Warning|File Error|Error opening fault configuration file.",
             "Question|Verify Fault Configuration Write|Fault configuration loaded from file "
             "successfully. Write fault configuration to Actuator?"}));
  EXPECT_TRUE(f.driver.writes.empty());
}

TEST(FaultConfigFile, AFailureAtEachWriteStepIsReportedAndDisablesWrites) {
  // Requests: 3 identification reads, enable, 39 record writes, 45 checksum reads, the checksum
  // record, disable. Each case loses every try of one exchange.
  const struct {
    int after;
    int tries;
    std::string message;
  } cases[] = {
      {0, 5, "Warning|Program Status|Communication error reading fault configuration data."},
      {3, 3, "Error|Program Error|Open Actuator config data error."},
      {4, 3, "Error|Program Error|Write fault config data error."},
      {43, 3, "Error|Program Error|Fault configuration calc checksum error."},
      {88, 3, "Error|Program Error|Fault configuration checksum write error."},
      {89, 3, "Error|Program Error|Fault configuration data write close error."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message + " after " + std::to_string(c.after));
    FileFixture f;
    ASSERT_TRUE(f.editor.SaveToFile(f.Path()));
    f.driver.writes.clear();
    f.ui.answers = {Answer::Yes};
    f.actuator.LoseRequests(c.after, c.tries);
    EXPECT_FALSE(f.editor.WriteFromFile(f.Path()));
    const Lines messages = f.ui.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], c.message);
    EXPECT_FALSE(f.ui.progressOpen);
    if (c.after == 0) {
      EXPECT_TRUE(f.Writes().empty());
      continue;
    }
    EXPECT_EQ(f.Writes().back(), "disable");
    EXPECT_EQ(f.actuator.State().writesEnabled, c.after == 89);
  }
}

}  // namespace
}  // namespace velmar
