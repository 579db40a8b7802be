#include "setup/setup_page_values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "setup/setup_pages.h"
#include "setup/setup_sheet.h"
#include "support/recording_ui.h"

namespace velmar {
namespace {

// A record unlike the defaults in every field the pages carry.
SetupParameters UnusualRecord() {
  SetupParameters record;
  SetField(record.SERIALNO, "123");
  SetField(record.MODELNO, "LMX9000-1");
  SetField(record.OrvikPartNo, "1234567-890");
  SetField(record.PARTNO, "5123456 789-X");
  SetField(record.ACTTYPE, "770");  // Leader linked to follower, high byte 3
  SetField(record.HOMEPOS, "1");
  SetField(record.POSCMDSRC, "136");  // ControlNet at 9600 baud
  SetField(record.SPAN, "4.25");
  SetField(record.STOPPOS, "0.2");
  for (int k = 1; k < 17; ++k) {
    SetField(record.STROKETBL[k], std::to_string(k * 0.25));
  }
  SetField(record.MOTOROVERTEMP, "3");
  SetField(record.POSLOOPTUNECONST, "15");
  SetField(record.CURLOOPPCONST, "0.01");
  SetField(record.CURLOOPICONST, "200");
  SetField(record.VELLOOPPCONST, "5");
  SetField(record.VELLOOPICONST, "500");
  SetField(record.MAXVEL, "4");
  SetField(record.MAXFORCE, "1267");
  SetField(record.MAXHOMEVEL, "0.1");
  SetField(record.MAXHOMEFORCE, "100");
  SetField(record.HOLDCURFORCE, "500");
  SetField(record.SEATINGFORCE, "1267");
  SetField(record.SEATFORCETIME, "10");
  SetField(record.RUNLOSSVEL, "10.0");
  SetField(record.DMDLOSSVEL, "0.1");
  return record;
}

bool SameFields(const SetupFields& a, const SetupFields& b) {
  return std::memcmp(&a, &b, sizeof(SetupFields)) == 0;
}

TEST(SetupPageValuesTest, FreshValuesApplyTheRecordDefaultsUnchanged) {
  const SetupPageValues values;
  EXPECT_TRUE(values.databaseMode);
  EXPECT_TRUE(values.loopTuningLocked);
  SetupParameters record;
  values.ApplyPages(record);
  EXPECT_TRUE(SameFields(record, SetupParameters{}));
}

TEST(SetupPageValuesTest, CopyInAndBackKeepsTheRecordButForTheZeroFilledSerial) {
  const SetupParameters original = UnusualRecord();
  SetupPageValues values;
  values.FillPages(original);
  EXPECT_EQ(values.SERIALNO, "00123");
  EXPECT_EQ(values.actuatorType, 770);
  EXPECT_EQ(values.commandSource, 136);
  EXPECT_EQ(values.homePosition, 1);

  SetupParameters record;
  values.ApplyPages(record);
  SetupParameters expected = original;
  SetField(expected.SERIALNO, "00123");
  // Not carried by the pages: a fresh record keeps its own.
  SetField(expected.MOTOROVERTEMP, "0");
  EXPECT_TRUE(SameFields(record, expected));
}

TEST(SetupPageValuesTest, OverlongTextsAreCutToTheRecordFields) {
  SetupPageValues values;
  values.STROKETBL[16] = "5.900000001";
  values.MODELNO = std::string(40, 'M');
  values.actuatorType = 4 + 255 * 256;
  SetupParameters record;
  values.ApplyPages(record);
  EXPECT_STREQ(record.STROKETBL[16], "5.90000");
  EXPECT_EQ(std::string(record.MODELNO), std::string(15, 'M'));
  EXPECT_STREQ(record.ACTTYPE, "65284");
}

// The program's own use: view-only pages, every page visited, then OK.
TEST(SetupPageValuesTest, DatabaseModeChangesNothingButSerialAndPartNumber) {
  const SetupParameters original = UnusualRecord();
  SetupPageValues values;
  values.FillPages(original);
  test::RecordingUi ui;
  SetupSheet sheet(values, ui);
  for (std::size_t index = 0; index < sheet.PageCount(); ++index) {
    ASSERT_TRUE(sheet.SelectPage(index));
    SetupPage& page = sheet.ActivePage();
    for (const PageEdit& edit : page.edits) {
      EXPECT_TRUE(edit.readOnly) << page.title << " " << edit.id;
      EXPECT_FALSE(sheet.SetText(edit.id, "1")) << page.title << " " << edit.id;
    }
    for (const PageRadioGroup& group : page.groups) {
      for (const PageRadio& radio : group.buttons) {
        EXPECT_EQ(radio.enabled, radio.checked) << page.title << " " << radio.id;
        EXPECT_EQ(sheet.CheckRadio(radio.id), radio.checked) << page.title << " " << radio.id;
      }
    }
    for (const PageButton& button : page.buttons) {
      EXPECT_FALSE(button.visible) << page.title << " " << button.id;
      sheet.Click(button.id);
    }
  }
  ASSERT_TRUE(sheet.Ok());
  SetupParameters record = original;
  values.ApplyPages(record);

  SetupParameters expected = original;
  SetField(expected.SERIALNO, "00123");
  SetField(expected.PARTNO, "5123456-789");
  EXPECT_TRUE(SameFields(record, expected));
  EXPECT_TRUE(ui.events.empty());
}

TEST(SetupPageValuesTest, DatabaseModeStillChecksValuesAndKeepsTheUserOnThePage) {
  SetupParameters original;
  SetField(original.MAXFORCE, "2000");
  SetupPageValues values;
  values.FillPages(original);
  test::RecordingUi ui;
  SetupSheet sheet(values, ui);
  ASSERT_TRUE(sheet.SelectPage(4));
  EXPECT_FALSE(sheet.SelectPage(5));
  EXPECT_FALSE(sheet.Ok());
  EXPECT_EQ(sheet.ActiveIndex(), 4u);
  EXPECT_EQ(sheet.ActivePage().focusControl, setup_controls::kMaximumForce);
  const std::string message = "Warning|Actuator Setup|Enter an integer between 100 and 1267.";
  EXPECT_EQ(ui.Messages(), (std::vector<std::string>{message, message}));
}

}  // namespace
}  // namespace velmar
