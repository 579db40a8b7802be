#include "setup/setup_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "setup/linear_stroke.h"
#include "setup/setup_page_checks.h"
#include "setup/setup_sheet.h"
#include "support/recording_ui.h"
#include "unit/setup/record_fields.h"

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

// The editing pages: the values of a fresh record, database mode cleared.
class EditingSheet : public ::testing::Test {
 protected:
  SetupSheet& Open(std::size_t page) {
    values.databaseMode = false;
    sheet = std::make_unique<SetupSheet>(values, ui);
    EXPECT_TRUE(sheet->SelectPage(page));
    return *sheet;
  }
  void Type(std::initializer_list<std::pair<int, const char*>> edits) {
    for (const auto& [id, text] : edits) {
      EXPECT_TRUE(sheet->SetText(id, text)) << id;
    }
  }
  std::string Shown(int editId) { return sheet->ActivePage().FindEdit(editId)->text; }
  void Reset() {
    values = SetupPageValues();
    ui.events.clear();
  }

  SetupPageValues values;
  test::RecordingUi ui;
  std::unique_ptr<SetupSheet> sheet;
};

TEST(SetupPageChecksTest, NumericText) {
  const std::pair<const char*, bool> cases[] = {
      {" -2.5", true}, {"2.5 ", false}, {"1.2.3", false}, {"", false},    {".5", true},
      {"5.", true},    {"-", false},    {"2-", false},    {"1e3", false}, {"+1", false}};
  for (const auto& [text, numeric] : cases) {
    EXPECT_EQ(IsNumericText(text), numeric) << '"' << text << '"';
  }
}

// The span's own text ends the table, trailing characters and all; the page test checks the points.
TEST(SetupPageChecksTest, LinearStrokeEndsWithTheSpanText) {
  EXPECT_EQ(LinearStrokePoints("4.25in").back(), "4.25in");
}

TEST_F(EditingSheet, IdentificationWarningsOnlyInform) {
  const struct {
    const char *serial, *first, *second, *storedSerial, *storedPart;
    Strings warnings;
  } cases[] = {
      {"123", "5123456", "789", "00123", "5123456-789", {}},
      {"1234567", "5123456", "789", "1234567", "5123456-789", {"Serial"}},
      {"12345", "4123456", "789", "12345", "4123456-789", {"Part"}},
      {"1 2", "", "", "001 2", "-", {"Serial", "Part"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    Reset();
    Open(kIdentification);
    Type({{kSerialNumber, c.serial}, {kPartNoFirst, c.first}, {kPartNoSecond, c.second}});
    EXPECT_TRUE(sheet->SelectPage(kConfiguration));
    EXPECT_EQ(values.SERIALNO, c.storedSerial);
    EXPECT_EQ(values.PARTNO, c.storedPart);
    Strings expected;
    for (const std::string& w : c.warnings) {
      expected.push_back("Warning|Actuator Identification|Warning, " + w +
                         " Number is not a valid ZOLT " + w + " Number.");
    }
    EXPECT_EQ(ui.Messages(), expected);
  }
}

TEST_F(EditingSheet, ConfigurationRadioButtonsEncodeTheCodes) {
  const struct {
    int type, source;
    int link, port, baud;  // the radio buttons checked on activation
    std::vector<int> choose;
    int storedType, storedSource;
  } cases[] = {
      {0x301, 1, kStandAlone, kAnalog, kBaud19200, {kLeaderLinkedToFollower}, 0x302, 1},
      {0x302, 0x18, kLeaderLinkedToFollower, kControlNet, kBaud28800, {}, 0x302, 0x18},
      {4, 0x24, kFollowerLinkedToLeader, kRs485, kBaud38400, {kRs232, kBaud57600}, 4, 0x42},
      {7, 0x33, kStandAlone, kAnalog, kBaud19200, {}, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    values.actuatorType = c.type;
    values.commandSource = c.source;
    SetupSheet& s = Open(kConfiguration);
    for (int id : {c.link, c.port, c.baud}) {
      EXPECT_TRUE(s.ActivePage().FindRadio(id)->checked) << id;
    }
    for (int id : c.choose) {
      ASSERT_TRUE(s.CheckRadio(id));
    }
    ASSERT_TRUE(s.Ok());
    EXPECT_EQ(values.actuatorType, c.storedType);
    EXPECT_EQ(values.commandSource, c.storedSource);
  }
}

// Each row types a value (after an optional first one) on an editing page and leaves it.
TEST_F(EditingSheet, PageChecksKeepTheUserOnThePage) {
  const struct {
    std::size_t page;
    int edit;
    const char* text;
    const char* message;  // nullptr: the page is left
    int firstEdit = 0;
    const char* firstText = nullptr;
  } cases[] = {
      {kPosition, kSpan, "0.1", nullptr},
      {kPosition, kSpan, "5.91", "Enter a number between 0.1 and 5.9."},
      {kPosition, kStopPosition, "2.5", "Enter a number between 0 and 2.", kSpan, "2.0"},
      {kInterpolation, kFirstPoint + 1, "0.0001", nullptr},
      {kInterpolation, kFirstPoint + 1, "0.0", "Enter a number between 0.0001 and 5.9."},
      {kInterpolation, kFirstPoint + 2, "0.3688", "Enter a number between 0.3689 and 5.9."},
      // 0.0002 + 0.0001 is a hair above 0.0003 in binary; the step is still exactly the minimum.
      {kInterpolation, kFirstPoint + 2, "0.0003", nullptr, kFirstPoint + 1, "0.0002"},
      {kInterpolation, kFirstPoint + 2, "0.00029", "Enter a number between 0.0003 and 5.9.",
       kFirstPoint + 1, "0.0002"},
      {kInterpolation, kFirstPoint + 16, " 5.9", "Enter a number between 0 and 5.9."},
      {kLoopTuning, kPositionLoopConstant, "0", "Enter an integer between 1 and 100."},
      {kLoopTuning, kCurrentLoopP, "0.0009", "Enter a number between 0.001 and 500."},
      {kLoopTuning, kCurrentLoopD, "anything", nullptr},
      {kLoopTuning, kMaximumForce, "", "Enter an integer between 100 and 1267."},
      {kHomePositioning, kMaximumHoldingForce, "501", "Enter an integer between 100 and 500."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.edit) + " " + c.text);
    Reset();
    Open(c.page);
    if (c.firstText != nullptr) {
      Type({{c.firstEdit, c.firstText}});
    }
    Type({{c.edit, c.text}});
    EXPECT_EQ(sheet->SelectPage(kIdentification), c.message == nullptr);
    EXPECT_EQ(ui.Messages(), c.message == nullptr
                                 ? Strings{}
                                 : Strings{std::string("Warning|Actuator Setup|") + c.message});
    if (c.message != nullptr) {
      EXPECT_EQ(sheet->ActivePage().focusControl, c.edit);
    }
  }
}

// A changed span recomputes the whole table; Clear Fields zeroes it, Linear Stroke refills it.
TEST_F(EditingSheet, InterpolationTableFollowsTheSpanAndItsButtons) {
  values.STROKETBL[6] = "1.0";
  SetupSheet& s = Open(kPosition);
  ASSERT_TRUE(s.SelectPage(kInterpolation));  // span unchanged: the table stays
  EXPECT_EQ(Shown(kFirstPoint + 6), "1.0");
  Type({{kFirstPoint + 6, "2.2125"}});  // in order again, so the page can be left
  ASSERT_TRUE(s.SelectPage(kPosition));
  Type({{kSpan, "3.3"}});
  ASSERT_TRUE(s.CheckRadio(kExtend));
  ASSERT_TRUE(s.SelectPage(kInterpolation));
  EXPECT_EQ(values.homePosition, 1);
  EXPECT_EQ(Shown(kFirstPoint + 6), "1.2375");
  s.Click(kClearFields);
  EXPECT_EQ(Shown(kFirstPoint + 16), "0.0");
  EXPECT_FALSE(s.Ok());  // equal points fail
  s.Click(kLinearStroke);
  EXPECT_EQ(Shown(kFirstPoint + 1), "0.2063");
  EXPECT_TRUE(s.Ok());
  EXPECT_EQ(values.STROKETBL[8], "1.6500");
}

// Yes gives the 1.01 defaults, No those of 1.00, Cancel keeps what was typed.
TEST_F(EditingSheet, LoopDefaultValuesAskForTheFirmware) {
  const std::pair<Answer, Strings> cases[] = {{Answer::Yes, {"20", "2.0", "10000", "1000"}},
                                              {Answer::No, {"15", "0.01", "500", "1000"}},
                                              {Answer::Cancel, {"33", "1.5", "9000", "900"}}};
  for (const auto& [answer, stored] : cases) {
    Reset();
    ui.answers = {answer};
    SetupSheet& s = Open(kLoopTuning);
    Type({{kPositionLoopConstant, "33"},
          {kCurrentLoopP, "1.5"},
          {kVelocityLoopI, "9000"},
          {kMaximumForce, "900"}});
    s.Click(kLoopDefaultValues);
    ASSERT_TRUE(s.Ok());
    EXPECT_EQ((Strings{values.POSLOOPTUNECONST, values.CURLOOPPCONST, values.VELLOOPICONST,
                       values.MAXFORCE}),
              stored);
    EXPECT_EQ(ui.Messages(),
              Strings{"Question|Loop Tuning|Target firmware version v1.01 or greater?"});
  }
}

TEST_F(EditingSheet, TypingIsCutToTheFieldAndHiddenFieldsRefuseIt) {
  Open(kInterpolation);
  Type({{kFirstPoint + 3, "1.234567890"}});
  EXPECT_EQ(Shown(kFirstPoint + 3), "1.23456");
  Open(kConfiguration);
  EXPECT_FALSE(sheet->SetText(kActuatorTypeHighByte, "9"));
  EXPECT_FALSE(sheet->SetText(kSpan, "1.0"));  // not on this page
}

TEST(SetupPageValuesTest, OverlongTextsAreCutToTheRecordFields) {
  SetupPageValues values;
  values.STROKETBL[16] = "5.900000001";
  values.MODELNO = std::string(40, 'M');
  values.actuatorType = 4 + 255 * 256;
  SetupParameters record;
  values.ApplyPages(record);
  test::ExpectFields(record,
                     "STROKETBL16=5.90000|MODELNO=" + std::string(15, 'M') + "|ACTTYPE=65284");
}

// The program's own use: view-only pages, every page visited, then OK.
TEST(SetupPageValuesTest, DatabaseModeChangesNothingButSerialAndPartNumber) {
  // Unlike the defaults in every field the pages carry.
  SetupParameters original = test::Record(
      "SERIALNO=123|MODELNO=LMX9000-1|OrvikPartNo=1234567-890|PARTNO=5123456 789-X|"
      "ACTTYPE=770|HOMEPOS=1|POSCMDSRC=136|SPAN=4.25|STOPPOS=0.2|POSLOOPTUNECONST=15|"
      "CURLOOPPCONST=0.01|CURLOOPICONST=200|VELLOOPPCONST=5|VELLOOPICONST=500|MAXVEL=4|"
      "MAXFORCE=1267|MAXHOMEVEL=0.1|MAXHOMEFORCE=100|HOLDCURFORCE=500|"
      "SEATINGFORCE=1267|SEATFORCETIME=10|RUNLOSSVEL=10.0|DMDLOSSVEL=0.1");
  for (int k = 1; k < 17; ++k) {
    SetField(original.STROKETBL[k], std::to_string(k * 0.25));
  }
  SetupPageValues values;
  values.FillPages(original);
  test::RecordingUi ui;
  SetupSheet sheet(values, ui);
  // Typing, choosing and clicking everywhere changes nothing; how the windows show it is the GUI
  // test's.
  for (std::size_t index = 0; index < sheet.PageCount(); ++index) {
    ASSERT_TRUE(sheet.SelectPage(index));
    const SetupPage& page = sheet.ActivePage();
    for (const PageEdit& edit : page.edits) {
      EXPECT_FALSE(sheet.SetText(edit.id, "1")) << edit.id;
    }
    for (const PageRadioGroup& group : page.groups) {
      for (const PageRadio& radio : group.buttons) {
        EXPECT_EQ(sheet.CheckRadio(radio.id), radio.checked) << radio.id;
      }
    }
    for (const PageButton& button : page.buttons) {
      sheet.Click(button.id);
    }
  }
  ASSERT_TRUE(sheet.Ok());
  SetupParameters record = original;
  values.ApplyPages(record);

  SetupParameters expected = original;
  test::SetFields(expected, "SERIALNO=00123|PARTNO=5123456-789");
  EXPECT_EQ(std::memcmp(&record, &expected, sizeof(SetupFields)), 0);
  EXPECT_TRUE(ui.events.empty());
}

TEST(SetupPageValuesTest, DatabaseModeStillChecksValues) {
  SetupPageValues values;
  values.FillPages(test::Record("MAXFORCE=2000"));
  test::RecordingUi ui;
  SetupSheet sheet(values, ui);
  ASSERT_TRUE(sheet.SelectPage(kLoopTuning));
  EXPECT_FALSE(sheet.Ok());
  EXPECT_EQ(sheet.ActivePage().focusControl, kMaximumForce);
  EXPECT_EQ(ui.Messages(),
            Strings{"Warning|Actuator Setup|Enter an integer between 100 and 1267."});
}

}  // namespace
}  // namespace velmar
