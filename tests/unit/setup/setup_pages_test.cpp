#include "setup/setup_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/linear_stroke.h"
#include "setup/setup_page_checks.h"
#include "setup/setup_sheet.h"
#include "support/recording_ui.h"

namespace velmar {
namespace {

using namespace setup_controls;
using Strings = std::vector<std::string>;

enum PageIndex : std::size_t {
  kIdentification,
  kConfiguration,
  kPosition,
  kInterpolation,
  kLoopTuning,
  kHomePositioning
};

// The editing pages: the values of a record, database mode cleared.
class EditingSheet : public ::testing::Test {
 protected:
  EditingSheet() { values.databaseMode = false; }

  SetupSheet& Open(std::size_t page) {
    sheet = std::make_unique<SetupSheet>(values, ui);
    EXPECT_TRUE(sheet->SelectPage(page));
    return *sheet;
  }
  std::string Shown(int editId) { return sheet->ActivePage().FindEdit(editId)->text; }

  SetupPageValues values;
  test::RecordingUi ui;
  std::unique_ptr<SetupSheet> sheet;
};

TEST(SetupPageChecksTest, NumericText) {
  const struct {
    const char* text;
    bool numeric;
  } cases[] = {
      {" -2.5", true}, {"2.5 ", false}, {"1.2.3", false}, {"", false},   {" ", false},
      {".5", true},    {"5.", true},    {"-", false},     {"2-", false}, {"1e3", false},
      {"+1", false},   {"12x", false},  {"007", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumericText(c.text), c.numeric) << '"' << c.text << '"';
  }
}

TEST(SetupPageChecksTest, LinearStrokePoints) {
  const struct {
    const char* span;
    Strings points;
  } cases[] = {
      {"5.9",
       {"0.3688", "0.7375", "1.1063", "1.4750", "1.8438", "2.2125", "2.5813", "2.9500", "3.3188",
        "3.6875", "4.0563", "4.4250", "4.7938", "5.1625", "5.5313", "5.9"}},
      {"0.1",
       {"0.0063", "0.0125", "0.0188", "0.0250", "0.0313", "0.0375", "0.0438", "0.0500", "0.0563",
        "0.0625", "0.0688", "0.0750", "0.0813", "0.0875", "0.0938", "0.1"}},
      {"4.25in",
       {"0.2656", "0.5313", "0.7969", "1.0625", "1.3281", "1.5938", "1.8594", "2.1250", "2.3906",
        "2.6563", "2.9219", "3.1875", "3.4531", "3.7188", "3.9844", "4.25in"}},
  };
  for (const auto& c : cases) {
    const auto points = LinearStrokePoints(c.span);
    EXPECT_EQ(Strings(points.begin(), points.end()), c.points) << c.span;
  }
}

TEST_F(EditingSheet, IdentificationWarningsOnlyInform) {
  const struct {
    const char* serial;
    const char* first;
    const char* second;
    const char* storedSerial;
    const char* storedPart;
    Strings warnings;
  } cases[] = {
      {"123", "5123456", "789", "00123", "5123456-789", {}},
      {"1234567", "5123456", "789", "1234567", "5123456-789", {"serial"}},
      {"12a45", "5123456", "789", "12a45", "5123456-789", {"serial"}},
      {"12345", "4123456", "789", "12345", "4123456-789", {"part"}},
      {"12345", "5123456", "78", "12345", "5123456-78", {"part"}},
      {"12345", "5123456", "", "12345", "5123456-", {"part"}},
      {"12345", "512345x", "789", "12345", "512345x-789", {"part"}},
      {"1 2", "", "", "001 2", "-", {"serial", "part"}},
  };
  const std::string serialWarning =
      "Warning|Actuator Identification|Warning, Serial Number is not a valid ZOLT Serial Number.";
  const std::string partWarning =
      "Warning|Actuator Identification|Warning, Part Number is not a valid ZOLT Part Number.";
  for (const auto& c : cases) {
    ui.events.clear();
    SetupSheet& s = Open(kIdentification);
    ASSERT_TRUE(s.SetText(kSerialNumber, c.serial));
    ASSERT_TRUE(s.SetText(kPartNoFirst, c.first));
    ASSERT_TRUE(s.SetText(kPartNoSecond, c.second));
    EXPECT_TRUE(s.SelectPage(kConfiguration)) << c.serial;
    EXPECT_EQ(values.SERIALNO, c.storedSerial);
    EXPECT_EQ(values.PARTNO, c.storedPart);
    Strings expected;
    for (const std::string& w : c.warnings) {
      expected.push_back(w == "serial" ? serialWarning : partWarning);
    }
    EXPECT_EQ(ui.Messages(), expected) << c.serial << " " << c.first << "-" << c.second;
  }
}

TEST_F(EditingSheet, IdentificationShowsPartNumberHalvesAndKeepsTheCustomerNumber) {
  values.PARTNO = " 5000001--002 extra";
  values.OrvikPartNo = " ";
  Open(kIdentification);
  EXPECT_EQ(Shown(kPartNoFirst), "5000001");
  EXPECT_EQ(Shown(kPartNoSecond), "002");
  EXPECT_EQ(Shown(kOrvikPartNoFirst), "");
  EXPECT_EQ(Shown(kAlternate1First), " ");
  EXPECT_EQ(Shown(kAlternate2Second), " ");
  ASSERT_TRUE(sheet->SetText(kOrvikPartNoFirst, "7654321"));
  ASSERT_TRUE(sheet->Ok());
  EXPECT_EQ(values.PARTNO, "5000001-002");
  EXPECT_EQ(values.OrvikPartNo, " ");
}

TEST_F(EditingSheet, ConfigurationRadioButtonsEncodeTheCodes) {
  const struct {
    int actuatorType, commandSource;
    std::vector<int> shown;  // checked radio buttons after activation
    std::vector<int> choose;
    int storedType, storedSource;
  } cases[] = {
      {1, 1, {kStandAlone, kAnalog, kBaud19200}, {}, 1, 1},
      {1, 1, {kStandAlone, kAnalog, kBaud19200}, {kLeaderLinkedToFollower}, 2, 1},
      {0x302,
       0x18,
       {kLeaderLinkedToFollower, kControlNet, kBaud28800},
       {kFollowerLinkedToLeader},
       0x304,
       0x18},
      {4,
       0x24,
       {kFollowerLinkedToLeader, kRs485, kBaud38400},
       {kStandAlone, kRs232, kBaud57600},
       1,
       0x42},
      {1, 1, {kStandAlone, kAnalog, kBaud19200}, {kControlNet, kBaud9600}, 1, 0x88},
      {7, 0x33, {kStandAlone, kAnalog, kBaud19200}, {}, 1, 1},
  };
  for (const auto& c : cases) {
    values.actuatorType = c.actuatorType;
    values.commandSource = c.commandSource;
    SetupSheet& s = Open(kConfiguration);
    for (int id : c.shown) {
      EXPECT_TRUE(s.ActivePage().FindRadio(id)->checked) << c.actuatorType << " " << id;
    }
    for (int id : c.choose) {
      ASSERT_TRUE(s.CheckRadio(id));
    }
    ASSERT_TRUE(s.Ok());
    EXPECT_EQ(values.actuatorType, c.storedType);
    EXPECT_EQ(values.commandSource, c.storedSource);
  }
}

TEST_F(EditingSheet, InterpolationLabelsFollowTheCommandSource) {
  const struct {
    int commandSource;
    const char* first;
    const char* tenth;
    const char* last;
  } cases[] = {
      {1, " 0.0%    / 4 mA", "56.25% / 13 mA", "100.0% / 20 mA"},
      {0x88, " 0.0%    / 13107 counts", "56.25% / 42589 counts", "100.0% / 65535 counts"},
      {0x81, " 0.0%    / 13107 counts", "56.25% / 42589 counts", "100.0% / 65535 counts"},
  };
  for (const auto& c : cases) {
    values.commandSource = c.commandSource;
    SetupSheet& s = Open(kInterpolation);
    EXPECT_EQ(s.ActivePage().FindEdit(kFirstPoint)->prompt, c.first);
    EXPECT_EQ(s.ActivePage().FindEdit(kFirstPoint + 9)->prompt, c.tenth);
    EXPECT_EQ(s.ActivePage().FindEdit(kFirstPoint + 16)->prompt, c.last);
  }
}

// Each row types one value on an editing page and leaves it.
TEST_F(EditingSheet, PageChecksKeepTheUserOnThePage) {
  const struct {
    std::size_t page;
    int edit;
    const char* text;
    const char* message;  // nullptr: the page is left
  } cases[] = {
      {kPosition, kSpan, "0.1", nullptr},
      {kPosition, kSpan, "5.9", nullptr},
      {kPosition, kSpan, "5.91", "Enter a number between 0.1 and 5.9."},
      {kPosition, kSpan, "0.09", "Enter a number between 0.1 and 5.9."},
      {kPosition, kSpan, "abc", "Enter a number between 0.1 and 5.9."},
      {kPosition, kStopPosition, "0.0", nullptr},
      {kPosition, kStopPosition, "-0.1", "Enter a number between 0 and 5.9."},
      {kPosition, kStopPosition, "5.95", "Enter a number between 0 and 5.9."},
      {kInterpolation, kFirstPoint + 1, "0.0001", nullptr},
      {kInterpolation, kFirstPoint + 1, "0.0", "Enter a number between 0.0001 and 5.9."},
      {kInterpolation, kFirstPoint + 2, "0.3688", "Enter a number between 0.3689 and 5.9."},
      {kInterpolation, kFirstPoint + 2, "0.3689", nullptr},
      {kInterpolation, kFirstPoint + 16, "5.95", "Enter a number between 0 and 5.9."},
      {kInterpolation, kFirstPoint + 16, " 5.9", "Enter a number between 0 and 5.9."},
      {kInterpolation, kFirstPoint + 16, "5.9x", "Enter a number between 0 and 5.9."},
      {kLoopTuning, kPositionLoopConstant, "0", "Enter an integer between 1 and 100."},
      {kLoopTuning, kPositionLoopConstant, "100", nullptr},
      {kLoopTuning, kCurrentLoopP, "0.0009", "Enter a number between 0.001 and 500."},
      {kLoopTuning, kCurrentLoopI, "1000.1", "Enter a number between 0 and 1000."},
      {kLoopTuning, kCurrentLoopD, "anything", nullptr},
      {kLoopTuning, kVelocityLoopP, "0.01", nullptr},
      {kLoopTuning, kVelocityLoopI, "0.5", "Enter a number between 1 and 12000."},
      {kLoopTuning, kVelocityLoopD, "", nullptr},
      {kLoopTuning, kMaximumVelocity, "11", "Enter an integer between 1 and 10."},
      {kLoopTuning, kMaximumForce, "1268", "Enter an integer between 100 and 1267."},
      {kLoopTuning, kMaximumForce, "", "Enter an integer between 100 and 1267."},
      {kHomePositioning, kMaximumHomingVelocity, "0.6", "Enter a number between 0.1 and 0.5."},
      {kHomePositioning, kMaximumHomingForce, "99", "Enter an integer between 100 and 1267."},
      {kHomePositioning, kMaximumHoldingForce, "501", "Enter an integer between 100 and 500."},
      {kHomePositioning, kMaximumSeatingForce, "1267", nullptr},
      {kHomePositioning, kSeatingForceDuration, "9", "Enter an integer between 10 and 2000."},
      {kHomePositioning, kRunLossVelocity, "10.0", nullptr},
      {kHomePositioning, kDemandLossVelocity, "0.05", "Enter a number between 0.1 and 10."},
  };
  for (const auto& c : cases) {
    values = SetupPageValues();
    values.databaseMode = false;
    ui.events.clear();
    SetupSheet& s = Open(c.page);
    ASSERT_TRUE(s.SetText(c.edit, c.text)) << c.edit;
    const bool left = s.SelectPage(kIdentification);
    const std::string where = s.ActivePage().title + " " + std::to_string(c.edit) + " " + c.text;
    if (c.message == nullptr) {
      EXPECT_TRUE(left) << where;
      EXPECT_TRUE(ui.Messages().empty()) << where;
    } else {
      EXPECT_FALSE(left) << where;
      EXPECT_EQ(s.ActivePage().focusControl, c.edit) << where;
      EXPECT_EQ(ui.Messages(), Strings{std::string("Warning|Actuator Setup|") + c.message})
          << where;
    }
  }
}

TEST_F(EditingSheet, StopPositionMayNotExceedTheSpan) {
  SetupSheet& s = Open(kPosition);
  ASSERT_TRUE(s.SetText(kSpan, "2.0"));
  ASSERT_TRUE(s.SetText(kStopPosition, "2.5"));
  EXPECT_FALSE(s.Ok());
  EXPECT_EQ(ui.Messages(), Strings{"Warning|Actuator Setup|Enter a number between 0 and 2."});
  EXPECT_EQ(s.ActivePage().focusControl, kStopPosition);
}

// 0.0002 + 0.0001 is a hair above 0.0003 in binary; the step is still exactly the minimum.
TEST_F(EditingSheet, PointsExactlyOneStepApartPass) {
  SetupSheet& s = Open(kInterpolation);
  ASSERT_TRUE(s.SetText(kFirstPoint + 1, "0.0002"));
  ASSERT_TRUE(s.SetText(kFirstPoint + 2, "0.0003"));
  EXPECT_TRUE(s.Ok());
  ASSERT_TRUE(s.SetText(kFirstPoint + 2, "0.00029"));
  EXPECT_FALSE(s.Ok());
  EXPECT_EQ(ui.Messages(),
            Strings{"Warning|Actuator Setup|Enter a number between 0.0003 and 5.9."});
}

TEST_F(EditingSheet, ChangingTheSpanRecomputesTheWholeTable) {
  values.STROKETBL[5] = "1.0";
  SetupSheet& s = Open(kPosition);
  ASSERT_TRUE(s.SelectPage(kInterpolation));  // span unchanged: the table stays
  EXPECT_EQ(Shown(kFirstPoint + 5), "1.0");
  ASSERT_TRUE(s.SetText(kFirstPoint + 5, "1.8438"));
  ASSERT_TRUE(s.SelectPage(kPosition));
  ASSERT_TRUE(s.SetText(kSpan, "2.0"));
  ASSERT_TRUE(s.CheckRadio(kExtend));
  ASSERT_TRUE(s.SelectPage(kInterpolation));
  EXPECT_EQ(values.homePosition, 1);
  EXPECT_EQ(values.previousSpan, "2.0");
  EXPECT_EQ(Shown(kFirstPoint + 0), "0.0");
  EXPECT_EQ(Shown(kFirstPoint + 1), "0.1250");
  EXPECT_EQ(Shown(kFirstPoint + 5), "0.6250");
  EXPECT_EQ(Shown(kFirstPoint + 16), "2.0");
}

TEST_F(EditingSheet, TableButtons) {
  values.SPAN = "3.3";
  SetupSheet& s = Open(kInterpolation);
  s.Click(kClearFields);
  for (int k = 1; k <= 16; ++k) {
    EXPECT_EQ(Shown(kFirstPoint + k), "0.0") << k;
  }
  EXPECT_FALSE(s.Ok());  // equal points fail
  s.Click(kLinearStroke);
  EXPECT_EQ(Shown(kFirstPoint + 0), "0.0");
  EXPECT_EQ(Shown(kFirstPoint + 1), "0.2063");
  EXPECT_EQ(Shown(kFirstPoint + 15), "3.0938");
  EXPECT_EQ(Shown(kFirstPoint + 16), "3.3");
  EXPECT_TRUE(s.Ok());
  EXPECT_EQ(values.STROKETBL[8], "1.6500");
}

TEST_F(EditingSheet, PositionDefaults) {
  values.SPAN = "5.9";
  values.STOPPOS = "1.5";
  values.homePosition = 1;
  SetupSheet& s = Open(kPosition);
  ASSERT_TRUE(s.SetText(kSpan, "3"));
  s.Click(kDefaults);
  ASSERT_TRUE(s.Ok());
  EXPECT_EQ(values.SPAN, "5.9");
  EXPECT_EQ(values.STOPPOS, "0.1");
  EXPECT_EQ(values.homePosition, 2);
  EXPECT_EQ(values.STROKETBL[1], "0.3688");  // span as before: the table is kept
}

TEST_F(EditingSheet, LoopDefaultValuesAskForTheFirmware) {
  const struct {
    Answer answer;
    Strings stored;
  } cases[] = {
      {Answer::Yes, {"20", "2.0", "400", "0", "40", "10000", "0", "6", "1000"}},
      {Answer::No, {"15", "0.01", "200", "0", "5", "500", "0", "6", "1000"}},
      {Answer::Cancel, {"33", "1.5", "300", "1", "30", "9000", "2", "5", "900"}},
  };
  for (const auto& c : cases) {
    values = SetupPageValues();
    values.databaseMode = false;
    const std::string* fields[] = {
        &values.POSLOOPTUNECONST, &values.CURLOOPPCONST, &values.CURLOOPICONST,
        &values.CURLOOPDCONST,    &values.VELLOOPPCONST, &values.VELLOOPICONST,
        &values.VELLOOPDCONST,    &values.MAXVEL,        &values.MAXFORCE};
    Strings typed = {"33", "1.5", "300", "1", "30", "9000", "2", "5", "900"};
    ui.events.clear();
    ui.answers = {c.answer};
    SetupSheet& s = Open(kLoopTuning);
    EXPECT_FALSE(values.loopTuningLocked);
    for (int i = 0; i < 9; ++i) {
      ASSERT_TRUE(s.SetText(kPositionLoopConstant + i, typed[i]));
    }
    s.Click(kLoopDefaultValues);
    ASSERT_TRUE(s.Ok());
    Strings stored;
    for (const std::string* field : fields) {
      stored.push_back(*field);
    }
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(ui.Messages(),
              Strings{"Question|Loop Tuning|Target firmware version v1.01 or greater?"});
  }
}

TEST_F(EditingSheet, HomeDefaultValues) {
  values.MAXHOMEVEL = "0.2";
  values.SEATINGFORCE = "100";
  values.DMDLOSSVEL = "9";
  SetupSheet& s = Open(kHomePositioning);
  s.Click(kHomeDefaultValues);
  ASSERT_TRUE(s.Ok());
  EXPECT_EQ(
      Strings({values.MAXHOMEVEL, values.MAXHOMEFORCE, values.HOLDCURFORCE, values.SEATINGFORCE,
               values.SEATFORCETIME, values.RUNLOSSVEL, values.DMDLOSSVEL}),
      Strings({"0.5", "500", "250", "1000", "1000", "2.0", "2.0"}));
}

// Loop tuning opens up when the lock is off even in database mode; the other pages follow the
// mode alone.
TEST_F(EditingSheet, LoopTuningLock) {
  values.databaseMode = true;
  values.loopTuningLocked = false;
  SetupSheet& s = Open(kLoopTuning);
  EXPECT_TRUE(s.SetText(kCurrentLoopP, "3.0"));
  EXPECT_TRUE(s.ActivePage().FindButton(kLoopDefaultValues)->visible);
  ASSERT_TRUE(s.SelectPage(kHomePositioning));
  EXPECT_EQ(values.CURLOOPPCONST, "3.0");
  EXPECT_FALSE(s.SetText(kRunLossVelocity, "3.0"));
}

TEST_F(EditingSheet, TypingIsCutToTheFieldAndHiddenFieldsRefuseIt) {
  SetupSheet& s = Open(kInterpolation);
  ASSERT_TRUE(s.SetText(kFirstPoint + 3, "1.234567890"));
  EXPECT_EQ(Shown(kFirstPoint + 3), "1.23456");
  Open(kConfiguration);
  EXPECT_FALSE(sheet->SetText(kActuatorTypeHighByte, "9"));
  EXPECT_FALSE(sheet->SetText(kSpan, "1.0"));  // not on this page
}

}  // namespace
}  // namespace velmar
