#include "faults/fault_config_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault_config_memory.h"
#include "unit/faults/fault_config_fixture.h"

namespace velmar {
namespace {

using test::FaultConfigFixture;
using Lines = std::vector<std::string>;

constexpr const char* kConfirm =
    "Question|Verify Fault Configuration Write|Fault configuration will be overwritten. Are you "
    "sure?";
constexpr const char* kWritten =
    "Information|Program Status|Fault configuration data written "
    "successfully.";
constexpr const char* kCommunicationError = "Error|Program Error|Communication error.";

std::string Joined(const std::array<std::string, kFaultValueFields>& edits) {
  std::string text = edits[0];
  for (int i = 1; i < kFaultValueFields; ++i) {
    text += "|" + edits[i];
  }
  return text;
}

std::string EditableMask(const std::array<bool, kFaultValueFields>& editable) {
  std::string mask;
  for (bool flag : editable) {
    mask += flag ? '1' : '0';
  }
  return mask;
}

// The checksum record the actuator's memory should now hold.
std::string ChecksumWrite(const SimMemory& memory) {
  const int sum = FaultConfigurationSum(memory);
  return "0x0210: " + std::to_string(sum) + " " + std::to_string(sum ^ 0xFFFF) + " " +
         std::to_string((sum + 1) & 0xFFFF);
}

TEST(FaultConfigEditor, ReadShowsEachTypeWithItsLabelsFieldsAndBoxes) {
  const struct {
    int type;
    const char* highLabel;
    const char* lowLabel;
    const char* edits;
    const char* editable;
    uint16_t enabled;
    uint16_t checked;
  } cases[] = {
      {kOvercurrent, "High Limit (lbf)", "Low Limit  (lbf)", "1000||1200||2.00|1.00", "101011",
       0x003F, 0x3017},
      {kPosDemand, "High Limit (mA)", "Low Limit  (mA)", "21.00|3.80|21.50|3.00|1.00|1.00",
       "111111", 0xF03F, 0x0003},
      {kRdc, "High Limit", "Low Limit", "|||||", "000000", 0x001F, 0x3013},
      {kPlus120V, "High Limit (volts)", "Low Limit  (volts)", "170|78|175|72|2.00|1.00", "111111",
       0xF03F, 0x0003},
      {kElecTemp, "High Limit (deg C)", "Low Limit  (deg C)", "106||115||10.00|2.00", "101011",
       0x003F, 0x3003},
  };
  for (const bool viewOnly : {false, true}) {
    FaultConfigFixture f(viewOnly);
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << kFaultTypes[c.type].listText << " view-only " << viewOnly);
      f.actuator.Memory().SetWord(kFaultTypes[c.type].address / 2 + 7, 0xFFFF);  // spare: unseen
      ASSERT_TRUE(f.editor.CloseTypeList(c.type));
      char address[8];
      std::snprintf(address, sizeof address, "0x%04X", kFaultTypes[c.type].address);
      EXPECT_EQ(f.editor.addressText, address);
      EXPECT_EQ(f.editor.labels,
                (std::array<std::string, 4>{c.highLabel, c.lowLabel, c.highLabel, c.lowLabel}));
      EXPECT_EQ(Joined(f.editor.edits), c.edits);
      EXPECT_EQ(EditableMask(f.editor.editable), viewOnly ? "000000" : c.editable);
      EXPECT_EQ(f.editor.enabledBoxes, viewOnly ? 0 : c.enabled);
      EXPECT_EQ(f.editor.checkedBoxes, c.checked);
    }
    EXPECT_EQ(f.ui.Messages(), Lines{});
    EXPECT_EQ(f.Writes(), Lines{});
  }
}

TEST(FaultConfigEditor, ReadRefusalsAndFailures) {
  const std::string kRead = "Error|Program Error|Read fault config data error.";
  const std::string kRange = "Error|Program Error|EEPROM address must be 0000-1FFF.";
  const std::string kUndefined =
      "Error|Program Error|Undefined Fault Configuration Record address.";
  const std::string kNotReset =
      "Warning|Program Status|Actuator must be in RESET state to read fault configuration.";
  const std::string kNoStatus =
      "Warning|Program Status|Actuator failed to respond to status request.";
  using enum ModeState;
  const struct {
    ModeState mode;
    const char* addressText;
    int lostAfter;  // requests answered before the rest are lost; -1: none lost
    Lines messages;
    const char* addressAfter;
  } cases[] = {
      {kRunOn, "0x510", -1, {kNotReset}, "0x510"},
      {kReset, "0x510", 0, {kNoStatus}, "0x510"},
      {kReset, "", -1, {}, "0x0500"},
      {kReset, "1296", -1, {}, "0x0510"},
      {kReset, "510x", -1, {}, "0x0510"},
      {kReset, "0x2000", -1, {kRange, kRead}, "0x2000"},
      {kReset, "0x5A0", -1, {kUndefined}, "0x05A0"},
      {kReset, "0x510", 3, {kRead}, "0x0510"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.addressText);
    FaultConfigFixture f;
    ASSERT_TRUE(f.editor.CloseTypeList(kPosDemand));  // fields filled and editable
    f.actuator.State().modeState = c.mode;
    f.editor.addressText = c.addressText;
    if (c.lostAfter >= 0) {
      f.actuator.LoseRequests(c.lostAfter, 1000);
    }
    const bool shown = f.editor.Read();
    EXPECT_EQ(shown, c.messages.empty());
    EXPECT_EQ(f.ui.Messages(), c.messages);
    EXPECT_EQ(f.editor.addressText, c.addressAfter);
    if (!shown && c.mode == ModeState::kReset && c.lostAfter != 0) {
      EXPECT_EQ(Joined(f.editor.edits), "|||||");
      EXPECT_EQ(f.editor.labels[1], "Low Limit");
    }
  }
  // The list closed with nothing selected reads address 0.
  FaultConfigFixture f;
  EXPECT_FALSE(f.editor.CloseTypeList(-1));
  EXPECT_EQ(f.editor.addressText, "0x0000");
  EXPECT_EQ(f.ui.Messages(),
            Lines{"Error|Program Error|Undefined Fault Configuration Record address."});
  // A failed read leaves nothing that could be written.
  f.ui.answers = {Answer::Yes};
  f.ui.events.clear();
  EXPECT_FALSE(f.editor.Write());
  EXPECT_EQ(f.ui.Messages(),
            (Lines{kConfirm, "Error|Program Error|No fault configuration record selected."}));
  EXPECT_EQ(f.Writes(), Lines{});
}

TEST(FaultConfigEditor, WriteSendsTheRecordTheChecksumAndTheDisable) {
  const struct {
    int type;
    std::vector<std::pair<int, const char*>> edits;
    uint16_t checked;  // boxes checked before the write
    std::vector<int> record;
  } cases[] = {
      // Alarm boxes disabled: bit 12 follows Fault Enable 1.
      {kOvercurrent,
       {{kF1High, "1100"}, {kPersist1, "2.5"}},
       kF1FaultEnable,
       {888, 0, 969, 0, 1250, 500, 0x1001}},
      {kPosDemand,
       {{kF1Low, "3.5"}},
       kAllOptionBoxes & ~kF2FaultEnable,
       {27525, 4587, 28180, 3932, 500, 500, 0x502D}},
      // Flags only: words 0-5 exactly as read.
      {kRdc, {}, kF2FaultEnable | kF2ShutdownEnable, {0, 0, 0, 0, 0, 0, 0x2012}},
      {kElecTemp, {{kF2High, "123"}}, kF2FaultEnable, {150, 0, 98, 0, 5000, 1000, 0x2002}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(kFaultTypes[c.type].listText);
    FaultConfigFixture f;
    const uint16_t address = kFaultTypes[c.type].address;
    ASSERT_TRUE(f.editor.CloseTypeList(c.type));
    for (const auto& [field, text] : c.edits) {
      f.editor.edits[field] = text;
    }
    f.editor.checkedBoxes = c.checked;
    f.ui.answers = {Answer::Yes};
    f.driver.writes.clear();
    f.actuator.Memory().SetWord(0x210 / 2, 0x1234);  // rewritten even when nothing changes
    ASSERT_TRUE(f.editor.Write());
    EXPECT_EQ(f.actuator.Memory().Word(0x210 / 2), FaultConfigurationSum(f.actuator.Memory()));
    EXPECT_EQ(f.ui.Messages(), (Lines{kConfirm, kWritten}));
    EXPECT_EQ(f.MemoryRecord(address), c.record);
    // Words 0-2 at +0, 3-5 at +6, 4-6 at +8.
    const auto write = [&](int offset, int first) {
      char text[64];
      std::snprintf(text, sizeof text, "0x%04X: %d %d %d", address + offset, c.record[first],
                    c.record[first + 1], c.record[first + 2]);
      return std::string(text);
    };
    EXPECT_EQ(f.Writes(), (Lines{"enable", write(0, 0), write(6, 3), write(8, 4),
                                 ChecksumWrite(f.actuator.Memory()), "disable"}));
    EXPECT_FALSE(f.actuator.State().writesEnabled);
    // The record is read back into the fields afterwards.
    EXPECT_EQ(f.editor.checkedBoxes, c.record[6]);
  }
}

TEST(FaultConfigEditor, RefusedEntriesWriteNothingAndReadTheRecordAgain) {
  const struct {
    int type;
    int field;
    const char* text;
    const char* message;
  } cases[] = {
      {kOvercurrent, kF1High, "1267.5", "Fault 1 High Limit entered is above maximum"},
      {kPosDemand, kF2Low, "1.9", "Fault 2 Low Limit entered is below minimum"},
      {kTrackingError, kPersist1, "0.994", "Fault 1 Persist Time entered is below minimum"},
      {kElecTemp, kPersist2, "25", "Fault 2 Persist Time entered is above maximum"},
      {kMotorTemp, kF1High, "", "Fault 1 High Limit entered is below minimum"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    FaultConfigFixture f;
    ASSERT_TRUE(f.editor.CloseTypeList(c.type));
    const auto shown = f.editor.edits;
    f.editor.edits[c.field] = c.text;
    f.ui.answers = {Answer::Yes};
    EXPECT_FALSE(f.editor.Write());
    EXPECT_EQ(f.ui.Messages(),
              (Lines{kConfirm, std::string("Warning|Program Status|Write aborted as ") + c.message +
                                   " allowed value."}));
    EXPECT_EQ(f.Writes(), Lines{});
    EXPECT_EQ(f.editor.edits, shown);
  }
}

TEST(FaultConfigEditor, WriteRefusalsBeforeAnythingIsSent) {
  {
    FaultConfigFixture f(true);
    ASSERT_TRUE(f.editor.CloseTypeList(kOvercurrent));
    f.driver.writes.clear();
    EXPECT_FALSE(f.editor.Write());
    EXPECT_EQ(f.ui.Messages(), Lines{"Warning|Program Status|Feature not available."});
    EXPECT_TRUE(f.driver.writes.empty());
  }
  {
    FaultConfigFixture f;
    ASSERT_TRUE(f.editor.CloseTypeList(kOvercurrent));
    f.ui.answers = {Answer::No};
    EXPECT_FALSE(f.editor.Write());
    EXPECT_EQ(f.ui.Messages(),
              (Lines{kConfirm, "Warning|Program Status|Fault configuration write aborted."}));
    f.ui.events.clear();
    f.editor.addressText.clear();
    f.ui.answers = {Answer::Yes};
    EXPECT_FALSE(f.editor.Write());
    EXPECT_EQ(f.ui.Messages(),
              (Lines{kConfirm, "Error|Program Error|No fault configuration record selected."}));
    EXPECT_EQ(f.Writes(), Lines{});
  }
}

TEST(FaultConfigEditor, AFailureAtEachStepIsReportedAndStillDisablesWrites) {
  // Requests of a write: status, enable, three record writes, 45 checksum reads, the checksum
  // record, the disable. Each case loses every try of one exchange.
  const std::string kOpen = "Error|Program Error|Open Actuator config data error.";
  const std::string kData = "Error|Program Error|Write fault config data error.";
  const std::string kSum = "Error|Program Error|Fault configuration checksum write error.";
  const std::string kClose =
      "Error|Program Error|Fault configuration data write close error. Please reset actuator to "
      "exit setup state.";
  const struct {
    int after;
    int tries;
    Lines messages;
  } cases[] = {
      {1, 3, {kOpen}},
      {2, 3, {kData}},
      {4, 3, {kData}},
      {49, 3, {}},  // a checksum slot read: no message of its own
      {50, 3, {kSum}},
      {51, 3, {kClose}},
      {2, 3 + 46, {kData, kClose}},  // the line stays dead through the disable
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "lost after " << c.after);
    FaultConfigFixture f;
    ASSERT_TRUE(f.editor.CloseTypeList(kOvercurrent));
    f.ui.answers = {Answer::Yes};
    f.driver.writes.clear();
    f.ui.events.clear();
    f.actuator.LoseRequests(c.after, c.tries);
    EXPECT_FALSE(f.editor.Write());
    Lines expected{kConfirm};
    expected.insert(expected.end(), c.messages.begin(), c.messages.end());
    expected.push_back(kCommunicationError);
    EXPECT_EQ(f.ui.Messages(), expected);
    EXPECT_EQ(f.Writes().back(), "disable");
    EXPECT_EQ(f.actuator.State().writesEnabled, !c.messages.empty() && c.messages.back() == kClose);
  }
}

}  // namespace
}  // namespace velmar
