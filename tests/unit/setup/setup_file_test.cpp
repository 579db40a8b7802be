#include "setup/setup_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/temp_folder.h"
#include "setup/legacy_value_decode.h"
#include "setup/setup_file_reader.h"
#include "support/file_bytes.h"
#include "support/recording_ui.h"
#include "support/virtual_clock.h"
#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

using Strings = std::vector<std::string>;

const SetupFields kDefaults;

class SetupFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_.Path() / name).string(); }

  void WriteBytes(const std::string& name, const std::string& bytes) const {
    test::WriteBytes(PathOf(name), bytes);
  }

  TempFolder folder_;
  test::RecordingUi ui_;
  test::VirtualClock clock_;
};

void ExpectSameFields(const SetupFields& a, const SetupFields& b) {
  for (const SetupFieldInfo& info : kSetupFileFields) {
    EXPECT_STREQ(FieldText(a, info).data(), FieldText(b, info).data()) << info.key;
  }
}

// One line applied to a fresh record: "" expects no change. Only lines beginning with a letter
// count; keys are found inside the first token; the value is the next token. Old keys hold 9
// padding characters, then the value rotated and spaced.
TEST(SetupFileLineTest, KeysValuesAndQuirks) {
  const std::pair<std::string, const char*> cases[] = {
      {"SPAN = 4.5\r\n", "SPAN=4.5"},
      {"span=4.5", "SPAN=4.5"},
      {"SPAN 4.5", "SPAN=4.5"},
      {"SPAN==4.5", "SPAN=4.5"},
      {"XSPANX = 4.5", "SPAN=4.5"},
      {"  SPAN = 4.5", ""},
      {"SPAN = ", ""},
      {"SPAN\t4.5", ""},
      {"UNKNOWN = 4.5", ""},
      {"MAXHOMEVEL = 0.7", "MAXHOMEVEL=0.7|MAXVEL=6"},
      {"SPAN = 4\xB5.5", "SPAN=4"},
      {"MODELNO = lmx4100-262k", "MODELNO=LMX4100-262K"},
      {"ACTTYPE = 123456789", "ACTTYPE=1234567"},
      {"MODELNUM = 123456789NxOx", "MODELNO=AB"},
      {"MODELNUM = 123456789", "MODELNO=LMX4100-262K"},
      {"SERIALNUM = PADPADPAD$x%x&", "SERIALNO=345"},
      {"POSLPTUNECONST = PADPADPAD$x!", "POSLOOPTUNECONST=30"},
      {"CURLPPCONST = PADPADPAD$x.x%", "CURLOOPPCONST=3.4"},
      {"VELLPDCONST = PADPADPAD&", "VELLOOPDCONST=5"}};
  for (const auto& [line, expected] : cases) {
    SCOPED_TRACE(line);
    SetupFields fields;
    const SetupLine kind = std::isalpha(line[0]) == 0    ? SetupLine::kSkipped
                           : line.starts_with("UNKNOWN") ? SetupLine::kUnknownKey
                                                         : SetupLine::kKey;
    EXPECT_EQ(ApplySetupFileLine(fields, line), kind);
    if (*expected == '\0') {
      EXPECT_EQ(std::memcmp(&fields, &kDefaults, sizeof(SetupFields)), 0);
    }
    test::ExpectFields(fields, expected);
  }
}

TEST(SetupFileLineTest, LegacyValueDecode) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"123456789", {}},         {"", {}},
      {"123456789!", "0"},       {"123456789*", "9"},
      {"123456789!x", "0"},      {"123456789!x*", "09"},
      {"1234567890", "!"},       {"123456789YxZxKx*x-", "LMX9-"},
      {"123456789yxzxk", "lmx"}, {"123456789AxMxNxZ", "NZAM"},
      {"123456789~x ", " ~"},    {"123456789\xE9", "\xE9"},
  };
  for (const auto& [token, expected] : cases) {
    EXPECT_EQ(LegacyValueDecode(token), expected) << token;
  }
}

std::string ExpectedFileBytes(const SetupFields& fields) {
  return ";  Velmar Actuator Setup Configuration File\r\n"
         ";\r\n"
         ";  Warning : This file is automatically updated by the Velmar\r\n"
         ";            software. Modifying anything in this file can\r\n"
         ";            corrupt the data and make it unusable. DO NOT EDIT!\r\n"
         ";            Note that setup parameters SEATINGFORCE,           \r\n"
         ";            SEATFORCETIME, RUNLOSSVEL and DMDLOSSVEL are       \r\n"
         ";            necessary for version 3.10 firmware and later and  \r\n"
         ";            will be ignored by previous Actuator versions.     \r\n"
         ";\r\n"
         "DATETIME = " +
         std::string(fields.DATETIME) +
         "\r\n"
         "SERIALNO = 00000\r\nMODELNO = LMX4100-262K\r\nPARTNO = 5000000-000\r\nACTTYPE = 1\r\n"
         "HOMEPOS = 2\r\nSPAN = 5.9\r\nSTOPPOS = 0.1\r\nSTROKETBL00 = 0.0\r\n"
         "STROKETBL01 = 0.3688\r\nSTROKETBL02 = 0.7375\r\nSTROKETBL03 = 1.1063\r\n"
         "STROKETBL04 = 1.4750\r\nSTROKETBL05 = 1.8438\r\nSTROKETBL06 = 2.2125\r\n"
         "STROKETBL07 = 2.5813\r\nSTROKETBL08 = 2.9500\r\nSTROKETBL09 = 3.3188\r\n"
         "STROKETBL10 = 3.6875\r\nSTROKETBL11 = 4.0563\r\nSTROKETBL12 = 4.4250\r\n"
         "STROKETBL13 = 4.7938\r\nSTROKETBL14 = 5.1625\r\nSTROKETBL15 = 5.5313\r\n"
         "STROKETBL16 = 5.9000\r\nPOSCMDSRC = 1\r\nMOTOROVERTEMP = 0\r\nELECOVERTEMP = 0\r\n"
         "ACTFAULT = 0\r\nPOSLOOPTUNECONST = 20\r\nCURLOOPPCONST = 2.0\r\nCURLOOPICONST = 400\r\n"
         "CURLOOPDCONST = 0\r\nVELLOOPPCONST = 40\r\nVELLOOPICONST = 10000\r\n"
         "VELLOOPDCONST = 0\r\nMAXVEL = 6\r\nMAXFORCE = 1000\r\nMAXHOMEVEL = 0.5\r\n"
         "MAXHOMEFORCE = 500\r\nHOLDCURFORCE = 250\r\nSEATINGFORCE = 1000\r\n"
         "SEATFORCETIME = 1000\r\nRUNLOSSVEL = 2.0\r\nDMDLOSSVEL = 2.0\r\n";
}

TEST_F(SetupFileTest, SavedDefaultRecordIsExactBytesAndReplacesTheOldFile) {
  WriteBytes("Velmar.cfg", "old contents that are longer than nothing\n");
  SetupParameters record;
  ASSERT_EQ(SaveSetupFile(record, PathOf("Velmar.cfg"), ui_, clock_), FileResult::kOk);
  EXPECT_NE(std::string(record.DATETIME), "01/01/2001-00:00:00");
  EXPECT_EQ(std::strlen(record.DATETIME), 19u);
  EXPECT_EQ(test::ReadBytes(PathOf("Velmar.cfg")), ExpectedFileBytes(record));
  EXPECT_EQ(test::EntryCount(folder_.Path()), 1);
  EXPECT_EQ(record.statusText, "Finished Saving Actuator Setup.");

  EXPECT_EQ(Strings(ui_.events.begin(), ui_.events.begin() + 2),
            (Strings{"Progress|Saving Setup Parameters...", "Range|0|33"}));
  EXPECT_TRUE(ui_.Messages().empty());
}

// The database's load parses what a save writes, without window or pauses.
TEST_F(SetupFileTest, RoundTripReproducesEveryField) {
  SetupParameters saved = test::Record(
      "SERIALNO=12345|MODELNO=LMX4200-100K|SPAN=4.25|STROKETBL07=1.75|MOTOROVERTEMP=3|"
      "SEATINGFORCE=750|DMDLOSSVEL=1.25|OrvikPartNo=1234567-890");
  ASSERT_EQ(SaveSetupFile(saved, PathOf("a.cfg"), ui_, clock_), FileResult::kOk);
  test::RecordingUi quiet;
  SetupParameters loaded;
  ASSERT_EQ(LoadSetupFileByName(loaded, PathOf("a.cfg"), quiet), FileResult::kOk);
  ExpectSameFields(loaded, saved);
  EXPECT_STREQ(loaded.OrvikPartNo, "0000000-000");  // not in files
  EXPECT_TRUE(quiet.events.empty());
  EXPECT_EQ(loaded.statusText, "Loading setup parameters...");
}

TEST_F(SetupFileTest, LoadingKeepsMissingKeysAndResetsTheSeatingFields) {
  WriteBytes("span.cfg", "SPAN = 4.5\r\n");
  SetupParameters record =
      test::Record("MAXVEL=7|SEATINGFORCE=1|SEATFORCETIME=2|RUNLOSSVEL=3|DMDLOSSVEL=4");

  ASSERT_EQ(LoadSetupFile(record, PathOf("span.cfg"), ui_, clock_), FileResult::kOk);
  ExpectSameFields(record, test::Record("MAXVEL=7|SPAN=4.5"));
  EXPECT_EQ(ui_.events, (Strings{"Progress|Loading Actuator Setup...", "Range|0|100", "Position|0",
                                 "Position|3", "Position|100",
                                 "Status|Finished Loading Actuator Setup.", "EndProgress"}));
  EXPECT_EQ(clock_.sleeps, (std::vector<int>{30, 50}));
}

TEST_F(SetupFileTest, UnopenableFilesWarnAndChangeNothing) {
  // A folder in the file's place: a save writes its new file but cannot put it there.
  std::filesystem::create_directory(PathOf("busy.cfg"));
  const Strings loadWarning{"Warning|File Error|Error opening actuator setup file."};
  for (const std::string& path : {PathOf("missing/a.cfg"), PathOf("busy.cfg")}) {
    SetupParameters record = test::Record("SEATINGFORCE=1");
    const SetupParameters before = record;
    test::RecordingUi load, quiet, save;
    EXPECT_EQ(LoadSetupFile(record, path, load, clock_), FileResult::kFailed) << path;
    EXPECT_EQ(LoadSetupFileByName(record, path, quiet), FileResult::kFailed) << path;
    ExpectSameFields(record, before);
    EXPECT_EQ(SaveSetupFile(record, path, save, clock_), FileResult::kFailed) << path;
    EXPECT_EQ(load.Messages(), loadWarning);
    EXPECT_EQ(quiet.events, loadWarning);
    EXPECT_EQ(save.Messages(), Strings{"Warning|File Error|Error opening setup parameter file."});
    EXPECT_FALSE(load.progressOpen || save.progressOpen);
  }
  EXPECT_EQ(test::EntryCount(folder_.Path()), 1);
}

// A file read whole in which no line names a setup key is no setup file: both loads refuse it
// and leave the record as it was, even the fields a load resets first.
TEST_F(SetupFileTest, FilesWithoutASetupKeyAreRefused) {
  std::mt19937 random(99);
  std::string garbage(20000, '\0');
  std::generate(garbage.begin(), garbage.end(), [&] { return static_cast<char>(random()); });
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"binary", garbage},
      {"header only", ";  Velmar Actuator Setup Configuration File\r\n;\r\n"},
      {"unknown keys", "UNKNOWN = 4.5\r\nOTHER = 1\r\n"},
      {"keys behind blanks", "  SPAN = 4.5\r\n\tMAXVEL = 6\r\n"},
      {"fault configuration file", "P5V_HI_LIM = 5.5\r\nETEMP_PERSIST1_TM = 10\r\n"},
  };
  const Strings warning{"Warning|File Error|Error opening actuator setup file."};
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    WriteBytes("none.cfg", bytes);
    SetupParameters record = test::Record("SEATINGFORCE=1|SPAN=1.5");
    const SetupParameters before = record;
    test::RecordingUi load, quiet;
    EXPECT_EQ(LoadSetupFile(record, PathOf("none.cfg"), load, clock_),
              FileResult::kNothingRecognised);
    EXPECT_EQ(LoadSetupFileByName(record, PathOf("none.cfg"), quiet),
              FileResult::kNothingRecognised);
    ExpectSameFields(record, before);
    EXPECT_EQ(load.Messages(), warning);
    EXPECT_EQ(quiet.events, warning);
  }
}

TEST_F(SetupFileTest, MalformedFilesLoadSafely) {
  std::mt19937 random(1234);
  std::string garbage(20000, '\0');
  std::generate(garbage.begin(), garbage.end(), [&] { return static_cast<char>(random()); });
  std::string keyedGarbage;
  for (const SetupFieldInfo& info : kSetupFileFields) {
    keyedGarbage += std::string(info.key) + " = " + garbage.substr(info.offset, 200) + "\n";
  }
  // nullptr: any terminated SPAN.
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"keyed binary", keyedGarbage, nullptr},
      {"nul inside", std::string("SPAN = 4\0.5\nMAXVEL = 3\n", 23), "4"},
      {"long value", "SPAN = " + std::string(1000, '9') + "\n", "999999999999999"},
      // The line is read in pieces of 126 characters; each piece stands alone.
      {"second piece", std::string(126, 'X') + "SPAN = 3.0\n", "3.0"},
      {"value split", "SPAN = " + std::string(119, ' ') + "4.5\n", "5.9"},
      {"no line end", "SPAN = 2.5", "2.5"},
      {"old key short", "SERIALNUM = 12\nSPAN = 1.5\n", "1.5"},
  };
  for (const auto& [name, bytes, span] : cases) {
    SCOPED_TRACE(name);
    WriteBytes("bad.cfg", bytes);
    SetupParameters record;
    test::RecordingUi ui;
    ASSERT_EQ(LoadSetupFile(record, PathOf("bad.cfg"), ui, clock_), FileResult::kOk);
    EXPECT_TRUE(ui.Messages().empty());
    for (const SetupFieldInfo& info : kSetupFileFields) {
      const std::span<const char> text = FieldText(record, info);
      EXPECT_LT(std::strlen(text.data()), text.size()) << info.key;
    }
    if (span != nullptr) {
      EXPECT_STREQ(record.SPAN, span);
    }
  }
}

}  // namespace
}  // namespace velmar
