#include <gtest/gtest.h>

#include <algorithm>

#include "base/temp_folder.h"
#include "fault_bench.h"
#include "faults/fault_log_browser.h"
#include "support/file_bytes.h"

namespace velmar {
namespace {

using Lines = std::vector<std::string>;
const std::string kNoRecord = "Information|Fault Log Report Status|No Fault Log Record Found";
const std::string kNoCommunication = "Warning|Program Error|No Communication With Actuator/QTN.";
const std::string kEraseQuestion = "Question|Verify Fault Log Erase|Erase all Fault Log Records?";

FaultLogRecord Record(std::initializer_list<std::pair<int, uint16_t>> words) {
  FaultLogRecord record;
  record.words[0] = 2024;
  record.words[1] = 5;
  for (const auto& [index, value] : words) {
    record.words[index] = value;
  }
  return record;
}

TEST(FaultLogRecord, PresenceFaultCodesFormatsAndClamps) {
  const std::tuple<uint16_t, uint16_t, bool> presence[] = {
      {2000, 1, true},  {2099, 12, true},  {2100, 5, false},     {1999, 5, false},
      {2024, 0, false}, {2024, 13, false}, {2024, 0xFF21, true},  // only the low 5 bits count
  };
  for (const auto& [year, monthWord, present] : presence) {
    EXPECT_EQ(Record({{0, year}, {1, monthWord}}).IsPresent(), present) << year << " " << monthWord;
  }
  const std::tuple<int, const char*, const char*> codes[] = {
      {110, "Driver Overcurrent", "1"}, {1160, "Motor Temp", "2"},
      {230, "Position Demand", "1"},    {1230, "Position Demand", "2"},
      {125, "Undefined Type", "1"},     {240, "Undefined Type", "1"},
      {1000, "Undefined Type", "2"},    {2110, "Undefined Type", "2"},
  };
  for (const auto& [code, type, level] : codes) {
    EXPECT_STREQ(FaultTypeText(code), type) << code;
    EXPECT_STREQ(FaultLevelText(code), level) << code;
  }
  EXPECT_EQ(
      FaultLogRecordTexts(Record({{0, 2031},  {1, 0x0E09}, {2, 0x1C44},  {4, 0x030A},  {6, 1},
                                  {7, 512},   {8, 1023},   {9, 190},     {10, 41},     {11, 65535},
                                  {12, 1200}, {13, 7},     {14, 700},    {15, 0xFD44}, {16, 600},
                                  {17, 1},    {18, 1},     {19, 0xFFFF}, {20, 0xFFFF}, {21, 1160}}),
                          15),
      (FaultLogTexts{"16", "09-28-31 ", "1160", "Motor Temp", "2", "3.10", "385", "75", "-39", "93",
                     "1", "65535", "1200", "7", "13.69", "-13.69", "117.36", "-1", "65537"}));
  // Field, word index, word, text.
  const std::tuple<int, int, uint16_t, std::string> clamps[] = {
      {9, 9, 0, "150"},                           // about 154 degrees
      {9, 9, 1023, "0"},  {10, 10, 0xFF9C, "0"},  // -100 counts: a negative current shows 0
      {10, 10, 100, "2"}, {16, 16, 0xFFCE, "-9.78"},
  };
  for (const auto& [field, word, value, text] : clamps) {
    EXPECT_EQ(FaultLogRecordTexts(Record({{word, value}}), 0)[field], text) << field;
  }
}

TEST(FaultLogBrowser, PrevAndNextFollowTheAddressRules) {
  struct Case {
    int records;  // records 1..records are stored
    std::string actions;
    std::string shown;  // the record number after each action, "-" for none
    Lines messages;
  };
  const Case cases[] = {
      {3, "PNNNP", "12332", {kNoRecord}},                  // past the last, then the step back
      {16, "PNNNNNNNNNNNNNNNN", "123456789ABCDEFGG", {}},  // Next on 16 re-reads 16
      {2, "PNPP", "1211", {}},                             // Prev on 1 re-reads 1
      {0, "PN", "--", {kNoRecord, kNoRecord}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.actions);
    test::FaultBench bench(3, 10);
    for (int record = 1; record <= c.records; ++record) {
      bench.StoreRecord(record, "code=" + std::to_string(100 + record));
    }
    FaultLogBrowser browser(bench.link, bench.ui, bench.clock);
    std::string shown;
    for (char action : c.actions) {
      action == 'P' ? browser.Prev() : browser.Next();
      const std::string& number = browser.texts[0];
      shown += number.empty() ? '-' : "0123456789ABCDEFG"[std::stoi(number)];
      EXPECT_TRUE(number.empty() || browser.texts[2] == std::to_string(100 + std::stoi(number)));
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(bench.ui.Messages(), c.messages);
  }
  // A failed read keeps the shown record as the current one: the next step skips nothing.
  test::FaultBench bench(3, 10);
  bench.StoreRecord(1);
  bench.StoreRecord(2);
  FaultLogBrowser browser(bench.link, bench.ui, bench.clock);
  browser.Prev();
  bench.actuator.DropReplies(3);
  browser.Next();
  EXPECT_EQ(bench.clock.LongSleeps(), (std::vector<int>{50, 50}));  // three tries
  browser.Next();
  EXPECT_EQ(bench.ui.Messages(), Lines{kNoCommunication});
  EXPECT_EQ(browser.texts[0], "2");
}

TEST(FaultLogErase, ZeroesEverySlotWithoutWriteEnableAndSaysHowFarAFailureGot) {
  struct Case {
    Answer answer;
    int failingSlot;
    Lines messages;
    int erased;  // records 1..erased have year 0
  };
  const Case cases[] = {
      {Answer::Yes, -1, {kEraseQuestion}, 16},
      {Answer::No, -1, {kEraseQuestion}, 0},
      {Answer::Yes,
       3,
       {kEraseQuestion, kNoCommunication, "Warning|Program Error|Records 1 to 3 were erased."},
       3},
      {Answer::Yes, 0, {kEraseQuestion, kNoCommunication}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingSlot);
    test::FaultBench bench(3, 10);
    for (int record = 1; record <= 16; ++record) {
      bench.StoreRecord(record);
    }
    bench.actuator.State().failingLogSlot = c.failingSlot;
    FaultLogBrowser browser(bench.link, bench.ui, bench.clock);
    browser.texts[0] = "7";
    bench.ui.answers.push_back(c.answer);
    EXPECT_EQ(browser.Erase(), c.erased == 16);
    EXPECT_EQ(bench.ui.Messages(), c.messages);
    EXPECT_FALSE(bench.ui.progressOpen);
    for (int record = 1; record <= 16; ++record) {
      EXPECT_EQ(bench.LogWord(record, 0) == 0, record <= c.erased) << record;
    }
    const auto& codes = bench.actuator.ReceivedCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 0x05), 0);  // no write-enable
    EXPECT_EQ(browser.texts[0], c.erased == 16 ? "" : "7");
  }
}

TEST(FaultLogReports, PrintedAndSavedTextsAreExactAndAFailedSaveKeepsTheEarlierFile) {
  test::FaultBench bench(3, 10);
  bench.StoreRecord(1, "date=2024-03-15,code=1160,firmware=3.10,run-hours=12");
  FaultLogBrowser browser(bench.link, bench.ui, bench.clock);
  browser.localTime = [] {
    std::tm stamp{};
    stamp.tm_year = 126, stamp.tm_mon = 2, stamp.tm_mday = 7;
    stamp.tm_hour = 9, stamp.tm_min = 5, stamp.tm_sec = 3;
    return stamp;
  };
  browser.Prev();
  browser.Print();
  const Lines values = {"Last Download Date :\t03-15-24 ",
                        "Fault Code :\t\t1160",
                        "Fault Type :\t\tMotor Temp",
                        "Fault Level :\t\t2",
                        "Firmware Version :\t3.10",
                        "Motor Temp 1 :\t\t75",
                        "Motor Temp 2 :\t\t75",
                        "Motor Temp 3 :\t\t75",
                        "Electronics Temp :\t93",
                        "Motor Current :\t\t0",
                        "Position Demand :\t0",
                        "Position Feedback :\t0",
                        "Velocity :\t\t0",
                        "+14 Volts :\t\t13.69",
                        "-14 Volts :\t\t-13.69",
                        "+120 Volts :\t\t117.36",
                        "Powered Hours :\t\t0",
                        "Run Hours :\t\t12"};
  std::string printed =
      "Print|\n\n\n\tActuator Fault Log Report\n\n\tReport Date :\t\t03-07-2026\n"
      "\tReport Time :\t\t09:05:03\n\tRecord Number :\t1\n";
  std::string saved =
      "Actuator Fault Log Report\r\n\r\nReport Date :\t\t03-07-2026\r\n"
      "Report Time :\t\t09:05:03\r\nSerial Number :\t\t12345\r\nModel Number :\t\tLMX4100-262K\r\n"
      "Part Number :\t\t5000000-000\r\nRecord Number :\t\t1\r\n";
  for (const std::string& line : values) {
    printed += "\t" + line + "\n";
    saved += line + "\r\n";
  }
  EXPECT_EQ(bench.ui.events.back(), printed);

  TempFolder folder;
  const auto path = folder.Path() / "FaultLogRecord.rpt";
  bench.ui.filePaths.push_back(path.string());
  browser.SaveRecord();
  EXPECT_EQ(test::ReadBytes(path), saved);

  // No identification, then no folder: the earlier report stays, no temporary file is left.
  bench.ui.events.clear();
  bench.actuator.DropReplies(1000);
  EXPECT_FALSE(browser.SaveRecordTo(path.string()));
  EXPECT_FALSE(browser.SaveRecordTo((folder.Path() / "missing" / "x.rpt").string()));
  EXPECT_EQ(bench.ui.Messages(),
            (Lines{"Warning|Program Error|Actuator failed to respond to ID request.",
                   "Warning|Save Fault Log Record File|Error opening fault log report file."}));
  EXPECT_EQ(test::ReadBytes(path), saved);
  EXPECT_EQ(test::EntryCount(folder.Path()), 1);
}

}  // namespace
}  // namespace velmar
