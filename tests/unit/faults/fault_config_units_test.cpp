#include "faults/fault_config_units.h"

#include <gtest/gtest.h>

#include "faults/fault_config_options.h"
#include "faults/fault_config_record.h"
#include "faults/temperature.h"

namespace velmar {
namespace {

constexpr LimitCheck kOk = LimitCheck::kAccepted;
constexpr LimitCheck kAbove = LimitCheck::kAboveMaximum;
constexpr LimitCheck kBelow = LimitCheck::kBelowMinimum;

TEST(FaultConfigUnits, RoundingTakesCeilFromOneHalfUp) {
  const struct {
    double x;
    int decimals;
    double rounded;
  } cases[] = {{1267.4, 0, 1267}, {1267.5, 0, 1268}, {0.994, 2, 0.99}, {2.5, 0, 3},
               {-2.5, 0, -2},     {-2.6, 0, -3},     {6.6, 2, 6.6}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(RoundToDecimals(c.x, c.decimals), c.rounded) << c.x << " to " << c.decimals;
  }
}

TEST(FaultConfigUnits, DialogAndFileShowCountsWithTheirOwnFormats) {
  const struct {
    int type;
    int field;
    uint16_t word;
    const char* dialog;
    const char* file;
  } cases[] = {
      {kOvercurrent, kF1High, 807, "1000", "1000"},
      {kOvercurrent, kF1Low, 807, "", "0"},  // high limits only
      {kTrackingError, kF2High, 64880, "6.60", "6.60"},
      {kPosDemand, kF1Low, 27525, "21.00", "21.0"},
      {kMinus14V, kF1High, 639, "-12.5", "-12.5"},
      {kPlus120V, kF1High, 869, "170", "170.0"},
      {kElecTemp, kF2High, 98, "122", "123"},  // 122.86: truncated, rounded
      {kRdc, kF1High, 1234, "", "0"},
      {kPlus120V, kPersist2, 499, "1.00", "1.00"},  // 0.998 rounds up
      {kEepromWrite, kCfgOptions, 0xF03F, "", "61503"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << kFaultTypes[c.type].keyPrefix << " field " << c.field);
    EXPECT_EQ(DialogFieldText(c.type, c.field, c.word), c.dialog);
    EXPECT_EQ(FileFieldText(c.type, c.field, c.word), c.file);
  }
}

TEST(FaultConfigUnits, EntriesAndFileValuesRoundCheckAndConvertDifferently) {
  const int k175 = DegCToThermistorCounts(175);
  struct Side {
    LimitCheck check;
    int word;  // -1: not compared (refused)
  };
  const struct {
    int type;
    int field;
    const char* text;
    Side dialog;
    Side file;
  } cases[] = {
      {kOvercurrent, kF2High, "1267", {kOk, 1023}, {kOk, 1023}},
      {kOvercurrent, kF1High, "1267.4", {kOk, 1023}, {kAbove, -1}},  // only the dialog rounds
      {kOvercurrent, kF1High, "1267.5", {kAbove, -1}, {kAbove, -1}},
      {kOvercurrent, kF1High, "249.5", {kOk, 202}, {kBelow, -1}},
      {kOvercurrent, kF1Low, "junk", {kOk, 0}, {kOk, 0}},  // no low limit: 0, text unread
      {kTrackingError, kF1High, "6.60", {kOk, 64880}, {kOk, 64880}},
      {kTrackingError, kF2High, "6.601", {kOk, 64880}, {kAbove, -1}},
      {kTrackingError, kF1High, "0.594", {kBelow, -1}, {kBelow, -1}},
      {kPosDemand, kF2Low, "2.0", {kOk, 2621}, {kOk, 2621}},
      {kPosDemand, kF1Low, "4.06", {kAbove, -1}, {kAbove, -1}},
      {kPosDemand, kF2High, "20.46", {kOk, 26869}, {kBelow, -1}},
      {kMinus14V, kF1High, "-12.0", {kOk, 614}, {kOk, 614}},
      {kMinus14V, kF1High, "-11.96", {kOk, 614}, {kAbove, -1}},  // magnitude rounded in dialog
      {kMinus14V, kF2Low, "-16.6", {kBelow, -1}, {kBelow, -1}},
      {kPlus120V, kF1Low, "75", {kOk, 383}, {kOk, 383}},
      {kPlus120V, kF1Low, "70", {kBelow, -1}, {kBelow, -1}},
      {kMotorTemp, kF1High, "175.4", {kOk, k175}, {kOk, k175}},
      {kMotorTemp, kF1High, "176", {kAbove, -1}, {kAbove, -1}},
      {kElecTemp, kF2High, "123", {kOk, 98}, {kOk, 98}},
      {kPlus5V, kF1High, "5.84", {kOk, 725}, {kOk, 724}},
      {kPlus5V, kF2High, "6.06", {kAbove, -1}, {kAbove, -1}},
      {kOvercurrent, kPersist2, "120", {kOk, 60000}, {kOk, 60000}},
      {kTrackingError, kPersist1, "1.0", {kOk, 500}, {kOk, 500}},
      {kTrackingError, kPersist1, "0.994", {kBelow, -1}, {kBelow, -1}},
      {kPlus120V, kPersist2, "10.01", {kAbove, -1}, {kAbove, -1}},
      {kElecTemp, kPersist2, "25", {kAbove, -1}, {kOk, 12500}},
      {kElecTemp, kPersist2, "30.01", {kAbove, -1}, {kAbove, -1}},
      {kOvercurrent, kF1High, "", {kBelow, -1}, {kBelow, -1}},     // reads as 0
      {kOvercurrent, kF1High, "nan", {kBelow, -1}, {kBelow, -1}},  // never compares as valid
      {kOvercurrent, kF1High, "1e9", {kAbove, -1}, {kAbove, -1}},
      {kOvercurrent, kF1High, "300lbf", {kOk, 242}, {kOk, 242}},
      {kRdc, kF1High, "99999", {kOk, 0}, {kOk, 0}},
      {kOvercurrent, kCfgOptions, "65537", {kOk, 0}, {kOk, 1}},  // atol, low 16 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << kFaultTypes[c.type].keyPrefix << " field " << c.field << " '" << c.text << "'");
    const FieldConversion dialog = EntryToWord(c.type, c.field, c.text);
    const FieldConversion file = FileValueToWord(c.type, c.field, c.text);
    EXPECT_EQ(dialog.check, c.dialog.check);
    EXPECT_EQ(file.check, c.file.check);
    if (c.dialog.word >= 0) {
      EXPECT_EQ(dialog.word, c.dialog.word);
    }
    if (c.file.word >= 0) {
      EXPECT_EQ(file.word, c.file.word);
    }
  }
}

TEST(FaultConfigOptions, BoxesBuildTheOptionsWord) {
  const struct {
    ValueGroup group;
    uint16_t checked;
    uint16_t options;
  } cases[] = {
      {ValueGroup::kHighAndLow, kAllOptionBoxes, 0xF03F},
      {ValueGroup::kHighAndLow, 0xFFFF, 0xF03F},  // bits without a box are never written
      // Fault 1 off clears its alarms; Fault 2 off clears shutdown and its alarms.
      {ValueGroup::kHighAndLow, kAllOptionBoxes & ~kF1FaultEnable, 0xA03E},
      {ValueGroup::kHighAndLow, kAllOptionBoxes & ~kF2FaultEnable, 0x502D},
      {ValueGroup::kHighAndLow, kF2ShutdownEnable | kF2HighAlarm | kF2LowAlarm, 0},
      // Without alarm boxes the high alarm follows Fault Enable.
      {ValueGroup::kHighOnly, kF1FaultEnable, 0x1001},
      {ValueGroup::kHighOnly, kF2FaultEnable | kF2OutputEnable, 0x200A},
      {ValueGroup::kFlagsOnly, kF1FaultEnable | kF2FaultEnable, 0x3003},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildCfgOptions(c.group, c.checked), c.options)
        << static_cast<int>(c.group) << " " << std::hex << c.checked;
  }
}

}  // namespace
}  // namespace velmar
