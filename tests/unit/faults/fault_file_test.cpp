#include <gtest/gtest.h>

#include "base/temp_folder.h"
#include "fault_bench.h"
#include "faults/fault_file_image.h"
#include "faults/fault_file_save.h"
#include "faults/fault_file_upload.h"
#include "support/file_bytes.h"

namespace velmar {
namespace {

using Lines = std::vector<std::string>;
using Bytes = uint8_t[FaultFileImage::kBytes];
const std::string kNoData = "Information|View Fault File|No Fault File data to upload.";

// 2024-03-15 10:20:30, firmware 2.05, flags 0x4001, motor temperatures 512 counts, electronics
// 1023 counts, current -100 counts, demand 65535, feedback 1200, velocity 7, supplies 700, -700,
// 600 counts.
const uint8_t kGoodFile[FaultFileImage::kBytes] = {
    0xE8, 0x07, 3,    0,    10,   15,   30,   20,   5, 2, 0x01, 0x40, 0,    2,    0,    2,   0, 2,
    0xFF, 0x03, 0x9C, 0xFF, 0xFF, 0xFF, 0xB0, 0x04, 7, 0, 0xBC, 0x02, 0x44, 0xFD, 0x58, 0x02};

FaultFileImage Uploaded() {
  FaultFileImage image;
  EXPECT_TRUE(DecodeFaultFile(kGoodFile, 2, image));
  return image;
}

const FaultFileImage::Texts kGoodTexts = {"03-15-2024", "10:20:30", "2.05",   "75",    "75",
                                          "75",         "-39",      "-1",     "65535", "1200",
                                          "7",          "13.69",    "-13.69", "117.36"};

TEST(FaultFileImage, DateAndTimeChecksAndTexts) {
  // Byte offset, value, whether the file is taken.
  const std::tuple<int, uint8_t, bool> cases[] = {
      {2, 0, false},    {2, 13, false}, {4, 24, false}, {4, 23, true}, {5, 0, false},
      {5, 32, false},   {7, 60, false}, {7, 59, true},  {6, 99, true},  // seconds are not checked
      {1, 0x06, false},                                                 // year 1768
      {0, 0xFF, false},                                                 // with byte 1: 0xFFFF
  };
  for (const auto& [offset, value, taken] : cases) {
    Bytes bytes;
    std::copy(std::begin(kGoodFile), std::end(kGoodFile), bytes);
    bytes[offset] = value;
    bytes[1] = offset == 0 ? 0xFF : bytes[1];
    FaultFileImage image;
    EXPECT_EQ(DecodeFaultFile(bytes, 2, image), taken) << offset << " " << int{value};
    EXPECT_EQ(image.texts[0] != "        ", taken);
  }
  FaultFileImage image = Uploaded();
  EXPECT_EQ(image.texts, kGoodTexts);
  EXPECT_EQ(image.flags, 0x4001);
  ASSERT_TRUE(DecodeFaultFile(kGoodFile, 1, image));
  EXPECT_EQ(image.texts[3], "103");  // 512 counts on the 11-bit curve
}

TEST(UploadFaults, ReadsThreePagesAndAppliesTheTestPatterns) {
  struct Case {
    const char* node;
    std::string file;  // fields of the stored fault file; empty: the area is erased
    UploadOutcome outcome;
    uint16_t flags;
    std::string date;  // the image's date text afterwards
    Lines messages;
  };
  const Case cases[] = {
      {"0", "date=2024-03-15,flags=0x8003", UploadOutcome::Uploaded, 0x8003, "03-15-2024", {}},
      {"FAULTTEST2", "flags=3", UploadOutcome::Uploaded, 0xAAAA, "01-01-2024", {}},
      {"FAULTTEST0", "flags=3", UploadOutcome::Uploaded, 0, "01-01-2024", {}},
      {"faulttest2", "flags=3", UploadOutcome::Uploaded, 3, "01-01-2024", {}},
      // An erased area keeps the previous texts; FAULTTEST0 has blanked them first.
      {"0", "", UploadOutcome::NoFaultFile, 0x1234, "12-31-1999", {kNoData}},
      {"FAULTTEST0", "", UploadOutcome::NoFaultFile, 0, "        ", {kNoData}},
      {"0", "date=1999-12-31", UploadOutcome::NoFaultFile, 0x1234, "12-31-1999", {kNoData}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.node + (" " + c.file));
    test::FaultBench bench(2, 5);
    if (c.file.empty()) {
      EraseFaultFile(bench.actuator.Memory());
    } else {
      FaultFileWords words;
      std::string error;
      ASSERT_TRUE(ParseFaultFile(c.file, words, error)) << error;
      StoreFaultFile(bench.actuator.Memory(), words);
    }
    FaultFileImage image;
    image.texts[0] = "12-31-1999";
    image.flags = 0x1234;
    EXPECT_EQ(UploadFaults(bench.link, bench.clock, bench.ui, c.node, image), c.outcome);
    EXPECT_EQ(image.flags, c.flags);
    EXPECT_EQ(image.texts[0], c.date);
    EXPECT_EQ(bench.ui.Messages(), c.messages);
    EXPECT_EQ(bench.clock.LongSleeps(), (std::vector<int>{100, 100, 100}));
  }
}

TEST(UploadFaults, FailuresNameTheirStepAndLeaveTheTexts) {
  struct Case {
    const char* name;
    int silentAtSleepMs;  // the actuator falls silent at the first sleep this long; 0 at once
    std::string message;
    std::vector<int> pauses;
  };
  const std::vector<int> seven40(7, 40);
  std::vector<int> page1 = {100};
  page1.insert(page1.end(), seven40.begin(), seven40.end());
  const Case cases[] = {
      {"no version", 0, "Error|Communication Error|No response from actuator.", seven40},
      // The version reply is on its way when the first 2 ms step of its wait begins.
      {"page 0", 2, "Error|Fault File Transfer Error|Fault upload page 0 request failed!", seven40},
      {"page 1", 100, "Error|Fault File Transfer Error|Fault upload page 1 request failed!", page1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FaultBench bench(2, 5);
    if (c.silentAtSleepMs == 0) {
      bench.actuator.DropReplies(1000);
    }
    bench.clock.onSleep = [&](int ms) {
      if (ms == c.silentAtSleepMs) {
        bench.actuator.DropReplies(1000);
      }
    };
    FaultFileImage image;
    image.texts = kGoodTexts;
    EXPECT_EQ(UploadFaults(bench.link, bench.clock, bench.ui, "0", image),
              UploadOutcome::CommunicationError);
    EXPECT_EQ(bench.ui.Messages(), Lines{c.message});
    EXPECT_EQ(bench.clock.LongSleeps(), c.pauses);
    EXPECT_EQ(image.texts, kGoodTexts);
  }
}

const char* const kFlagLabels[] = {
    "\n\tDriver Over Current :\t", "\n\tTracking Error :\t\t",   "\n\tWatchdog Error :\t",
    "\n\tRDC Failure :\t\t",       "\n\tRetract/Extend Cmd :\t", "\n\tUnregulated Low :\t",
    "\n\t+14 Volts Low :\t\t",     "\n\t+14 Volts High :\t\t",   "\n\t-14 Volts Low :\t\t",
    "\n\t-14 Volts High :\t\t",    "\n\tInput Voltage Low :\t",  "\n\tInput Voltage High :\t",
    "\n\tDSP Failure :\t\t",       "\n\tMotor Over Temp :\t",    "\n\tElec Over Temp :\t"};

std::string Report(const FaultFileImage::Texts& values, const std::vector<std::string>& flags) {
  const char* const formats[] = {
      "\tDate :\t\t\t",          "\tTime :\t\t\t",          "\tVersion :\t\t",
      "\tMotor Over Temp 1 :\t", "\tMotor Over Temp 2 :\t", "\tMotor Over Temp 3 :\t",
      "\tElectronics Temp :\t",  "\tMotor Current :\t\t",   "\tPosition Demand :\t",
      "\tPosition Feedback :\t", "\tVelocity :\t\t",        "\t+14 Volts :\t\t",
      "\t-14 Volts :\t\t",       "\t120 Volts : \t\t"};
  std::string report = "\n\n\n\tActuator Fault File Data\n\n";
  for (int text = 0; text < FaultFileImage::kTexts; ++text) {
    report += formats[text] + values[text] + "\n";
  }
  for (int bit = 0; bit < FaultFileImage::kFlags; ++bit) {
    report += kFlagLabels[bit] + flags[bit];
  }
  return report + "\n\n";
}

TEST(FaultFileReportText, SubstitutionsAndLabelOnlyFlags) {
  const FaultFileImage uploaded = Uploaded();
  std::vector<std::string> flags(15, "OK");
  flags[0] = flags[14] = "FAULT";
  FaultFileImage::Texts comError;
  comError.fill("COMMUNICATION ERROR");
  FaultFileImage::Texts noFile;
  noFile.fill("NO FAULT FILE TO UPLOAD ");
  const FaultFileImage blank;
  const std::tuple<const char*, const FaultFileImage*, UploadOutcome, std::string> cases[] = {
      {"uploaded", &uploaded, UploadOutcome::Uploaded, Report(kGoodTexts, flags)},
      {"uploaded earlier", &uploaded, UploadOutcome::NotRun, Report(kGoodTexts, flags)},
      {"nothing uploaded", &blank, UploadOutcome::NotRun,
       Report(blank.texts, std::vector<std::string>(15, ""))},
      {"silent", &uploaded, UploadOutcome::CommunicationError,
       Report(comError, std::vector<std::string>(15, "COMMUNICATION ERROR"))},
      {"no fault file", &blank, UploadOutcome::NoFaultFile,
       Report(noFile, std::vector<std::string>(15, "NO FAULT FILE TO UPLOAD "))},
  };
  for (const auto& [name, image, outcome, expected] : cases) {
    EXPECT_EQ(FaultFileReportText(*image, outcome), expected) << name;
  }
}

TEST(SaveFaultFileReport, WritesTheReportLinesWithCrLf) {
  const FaultFileImage uploaded = Uploaded();
  const std::string values =
      "Fault File Report\r\n\r\n"
      "Setup Date            : 03-15-2024\r\nSetup Time            : 10:20:30\r\n"
      "Version               : 2.05\r\nMotor Over Temp 1     : 75\r\n"
      "Motor Over Temp 2     : 75\r\nMotor Over Temp 3     : 75\r\n"
      "Electronics Temp      : -39\r\nMotor Current         : -1\r\n"
      "Position Demand       : 65535\r\nPosttion Feedback     : 1200\r\n"
      "Velocity              : 7\r\n+14 Volts             : 13.69\r\n"
      "-14 Volts             : -13.69\r\n+120 Volts            : 117.36\r\n\r\n";
  const std::string flags =
      "Driver Over Current   : FAULT\r\nTracking Error        : OK\r\n"
      "Watchdog Expired      : OK\r\nRDC Failure           : OK\r\n"
      "Retract/Ext Cmd       : OK\r\nUnreg Voltage Low     : OK\r\n"
      "+14 Volts Low         : OK\r\n+14 Volts High        : OK\r\n"
      "-14 Volts Low         : OK\r\n-14 Volts High        : OK\r\n"
      "Input Voltage Low     : OK\r\nInput Voltage High    : OK\r\n"
      "DSP Failure           : OK\r\nMotor Over Temp       : OK\r\n"
      "Electronics Over Temp : FAULT\r\n";
  TempFolder folder;
  const auto path = folder.Path() / "Faults.rpt";
  test::FaultBench bench(2, 5);
  ASSERT_TRUE(SaveFaultFileReport(uploaded, path.string(), bench.ui, bench.clock));
  EXPECT_EQ(test::ReadBytes(path), values + flags);
  EXPECT_FALSE(bench.ui.progressOpen);

  // Before any upload: blank values and OK for every flag.
  ASSERT_TRUE(SaveFaultFileReport(FaultFileImage{}, path.string(), bench.ui, bench.clock));
  const std::string blank = test::ReadBytes(path);
  EXPECT_NE(blank.find("Setup Date            :         \r\n"), std::string::npos);
  EXPECT_NE(blank.find("Velocity              :     \r\n"), std::string::npos);
  EXPECT_NE(blank.find("Electronics Over Temp : OK\r\n"), std::string::npos);
  EXPECT_EQ(blank.find("FAULT\r\n"), std::string::npos);

  // A file that cannot be created: the window closes before the message.
  EXPECT_FALSE(SaveFaultFileReport(uploaded, (folder.Path() / "no" / "x.rpt").string(), bench.ui,
                                   bench.clock));
  EXPECT_EQ(bench.ui.events.back(), "Warning|Save Fault File|Error opening fault file data file.");
  EXPECT_EQ(bench.ui.events[bench.ui.events.size() - 2], "EndProgress");
}

}  // namespace
}  // namespace velmar
