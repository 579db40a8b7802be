#include "setup/setup_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "setup/legacy_value_decode.h"
#include "setup/setup_file_reader.h"
#include "support/recording_ui.h"
#include "support/virtual_clock.h"

namespace velmar {
namespace {

class SetupFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup_file_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
  }

  std::string ReadBytes(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  std::vector<std::string> DirectoryEntries() const {
    std::vector<std::string> names;
    DIR* dir = opendir(dir_.c_str());
    while (dirent* entry = readdir(dir)) {
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
        names.push_back(entry->d_name);
      }
    }
    closedir(dir);
    return names;
  }

  std::string dir_;
  test::RecordingUi ui_;
  test::VirtualClock clock_;
};

void ExpectSameFields(const SetupFields& a, const SetupFields& b) {
  for (const SetupFieldInfo& info : kSetupFileFields) {
    EXPECT_STREQ(FieldText(a, info).data(), FieldText(b, info).data()) << info.key;
  }
}

TEST(SetupFileLineTest, LinesAndTheirEffect) {
  const struct {
    std::string line;
    const char* span;
    const char* modelNo;
    bool counted;
  } cases[] = {
      {"SPAN = 4.5", "4.5", "LMX4100-262K", true},
      {"span=4.5", "4.5", "LMX4100-262K", true},
      {"SPAN 4.5", "4.5", "LMX4100-262K", true},
      {"SPAN==4.5", "4.5", "LMX4100-262K", true},
      {"SPAN = 4.5\r\n", "4.5", "LMX4100-262K", true},
      {"SPAN = 4.5\n", "4.5", "LMX4100-262K", true},
      {"SPAN = 4.5 6.0", "4.5", "LMX4100-262K", true},
      {"SPAN = 4.5\tjunk", "4.5", "LMX4100-262K", true},
      {"XSPANX = 4.5", "4.5", "LMX4100-262K", true},
      {"SPAN = 4\xB5.5", "4", "LMX4100-262K", true},
      {"SPAN = 12345678901234567890", "123456789012345", "LMX4100-262K", true},
      {"  SPAN = 4.5", "5.9", "LMX4100-262K", false},
      {";SPAN = 4.5", "5.9", "LMX4100-262K", false},
      {"4.5 = SPAN", "5.9", "LMX4100-262K", false},
      {"", "5.9", "LMX4100-262K", false},
      {"SPAN", "5.9", "LMX4100-262K", true},
      {"SPAN = ", "5.9", "LMX4100-262K", true},
      {"SPAN\t4.5", "5.9", "LMX4100-262K", true},
      {"UNKNOWN = 4.5", "5.9", "LMX4100-262K", true},
      {"MODELNO = lmx4100-262k", "5.9", "LMX4100-262K", true},
      {"MODELNO = abc", "5.9", "ABC", true},
      // The old key's encoded value: 9 padding characters, then "AB" rotated and spaced.
      {"MODELNUM = 123456789NxOx", "5.9", "AB", true},
      {"MODELNUM = 123456789", "5.9", "LMX4100-262K", true},
      {"MODELNUM", "5.9", "LMX4100-262K", true},
  };
  for (const auto& c : cases) {
    SetupFields fields;
    EXPECT_EQ(ApplySetupFileLine(fields, c.line), c.counted) << c.line;
    EXPECT_STREQ(fields.SPAN, c.span) << c.line;
    EXPECT_STREQ(fields.MODELNO, c.modelNo) << c.line;
  }
}

TEST(SetupFileLineTest, KeysReachTheirFields) {
  const struct {
    const char* line;
    const char* (*field)(const SetupFields&);
    const char* expected;
  } cases[] = {
      {"STROKETBL03 = 1.5", [](const SetupFields& f) { return f.STROKETBL[3]; }, "1.5"},
      {"STROKETBL16 = 6.25", [](const SetupFields& f) { return f.STROKETBL[16]; }, "6.25"},
      {"MAXHOMEVEL = 0.7", [](const SetupFields& f) { return f.MAXHOMEVEL; }, "0.7"},
      {"MAXHOMEVEL = 0.7", [](const SetupFields& f) { return f.MAXVEL; }, "6"},
      {"MAXFORCE = 900", [](const SetupFields& f) { return f.MAXFORCE; }, "900"},
      {"ACTTYPE = 123456789", [](const SetupFields& f) { return f.ACTTYPE; }, "1234567"},
      {"SERIALNUM = PADPADPAD$x%x&", [](const SetupFields& f) { return f.SERIALNO; }, "345"},
      {"POSLPTUNECONST = PADPADPAD$x!", [](const SetupFields& f) { return f.POSLOOPTUNECONST; },
       "30"},
      {"CURLPPCONST = PADPADPAD$x.x%", [](const SetupFields& f) { return f.CURLOOPPCONST; }, "3.4"},
      {"VELLPDCONST = PADPADPAD&", [](const SetupFields& f) { return f.VELLOOPDCONST; }, "5"},
      {"PARTNUM = PADPADPAD", [](const SetupFields& f) { return f.PARTNO; }, "5000000-000"},
  };
  for (const auto& c : cases) {
    SetupFields fields;
    ApplySetupFileLine(fields, c.line);
    EXPECT_STREQ(c.field(fields), c.expected) << c.line;
  }
}

TEST(LegacyValueDecodeTest, DecodesEveryOtherCharacter) {
  const struct {
    std::string token;
    const char* expected;  // nullptr: no value
  } cases[] = {
      {"123456789", nullptr},    {"", nullptr},
      {"123456789!", "0"},       {"123456789*", "9"},
      {"123456789!x", "0"},      {"123456789!x*", "09"},
      {"1234567890", "!"},       {"123456789YxZxKx*x-", "LMX9-"},
      {"123456789yxzxk", "lmx"}, {"123456789AxMxNxZ", "NZAM"},
      {"123456789~x ", " ~"},    {"123456789\xE9", "\xE9"},
  };
  for (const auto& c : cases) {
    const auto decoded = LegacyValueDecode(c.token);
    if (c.expected == nullptr) {
      EXPECT_FALSE(decoded.has_value()) << c.token;
    } else {
      ASSERT_TRUE(decoded.has_value()) << c.token;
      EXPECT_EQ(*decoded, c.expected) << c.token;
    }
  }
}

std::string ExpectedFileBytes(const SetupFields& fields) {
  std::string bytes =
      ";  Velmar Actuator Setup Configuration File\r\n"
      ";\r\n"
      ";  Warning : This file is automatically updated by the Velmar\r\n"
      ";            software. Modifying anything in this file can\r\n"
      ";            corrupt the data and make it unusable. DO NOT EDIT!\r\n"
      ";            Note that setup parameters SEATINGFORCE,           \r\n"
      ";            SEATFORCETIME, RUNLOSSVEL and DMDLOSSVEL are       \r\n"
      ";            necessary for version 3.10 firmware and later and  \r\n"
      ";            will be ignored by previous Actuator versions.     \r\n"
      ";\r\n";
  bytes += "DATETIME = " + std::string(fields.DATETIME) + "\r\n";
  bytes +=
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
  return bytes;
}

TEST_F(SetupFileTest, SavedDefaultRecordIsExactBytes) {
  SetupParameters record;
  ASSERT_EQ(SaveSetupFile(record, PathOf("Velmar.cfg"), ui_, clock_), 0);
  EXPECT_NE(std::string(record.DATETIME), "01/01/2001-00:00:00");
  EXPECT_EQ(std::strlen(record.DATETIME), 19u);
  EXPECT_EQ(ReadBytes("Velmar.cfg"), ExpectedFileBytes(record));
  EXPECT_EQ(record.fileName, PathOf("Velmar.cfg"));
  EXPECT_EQ(record.statusText, "Finished Saving Actuator Setup.");
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"Velmar.cfg"});

  std::vector<int> positions;
  for (int i = 1; i <= 33; ++i) {
    positions.push_back(i);
  }
  positions.insert(positions.end(), 12, 33);  // 45 key lines, the bar stops at 33
  positions.insert(positions.begin(), 0);
  positions.push_back(33);
  EXPECT_EQ(ui_.Positions(), positions);
  std::vector<int> sleeps(45, 20);
  sleeps.push_back(100);
  sleeps.push_back(100);
  EXPECT_EQ(clock_.sleeps, sleeps);
  EXPECT_EQ(ui_.events.front(), "Progress|Saving Setup Parameters...");
  EXPECT_EQ(ui_.events[1], "Range|0|33");
  EXPECT_EQ(ui_.events[ui_.events.size() - 2], "Status|Finished Saving Actuator Setup.");
  EXPECT_EQ(ui_.events.back(), "EndProgress");
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(SetupFileTest, RoundTripReproducesEveryField) {
  SetupParameters saved;
  SetField(saved.SERIALNO, "12345");
  SetField(saved.MODELNO, "LMX4200-100K");
  SetField(saved.SPAN, "4.25");
  for (int i = 0; i < 17; ++i) {
    SetField(saved.STROKETBL[i], std::to_string(i * 0.25).substr(0, 6));
  }
  SetField(saved.MOTOROVERTEMP, "3");
  SetField(saved.SEATINGFORCE, "750");
  SetField(saved.DMDLOSSVEL, "1.25");
  SetField(saved.OrvikPartNo, "1234567-890");
  ASSERT_EQ(SaveSetupFile(saved, PathOf("a.cfg"), ui_, clock_), 0);

  SetupParameters loaded;
  ASSERT_EQ(LoadSetupFile(loaded, PathOf("a.cfg"), ui_, clock_), 0);
  ExpectSameFields(loaded, saved);
  EXPECT_STREQ(loaded.OrvikPartNo, "0000000-000");
}

TEST_F(SetupFileTest, SavingReplacesAnExistingFile) {
  WriteBytes("a.cfg", "old contents that are longer than nothing\n");
  SetupParameters record;
  ASSERT_EQ(SaveSetupFile(record, PathOf("a.cfg"), ui_, clock_), 0);
  EXPECT_EQ(ReadBytes("a.cfg"), ExpectedFileBytes(record));
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"a.cfg"});
}

TEST_F(SetupFileTest, FailedSaveWarnsAndLeavesNothingBehind) {
  // A folder in the file's place: the new file is written but cannot replace it.
  ASSERT_EQ(mkdir(PathOf("busy.cfg").c_str(), 0755), 0);
  const std::string paths[] = {PathOf("missing/a.cfg"), PathOf("busy.cfg")};
  for (const std::string& path : paths) {
    test::RecordingUi ui;
    SetupParameters record;
    EXPECT_EQ(SaveSetupFile(record, path, ui, clock_), -1) << path;
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Warning|File Error|Error opening setup parameter file."});
    EXPECT_FALSE(ui.progressOpen);
  }
  EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"busy.cfg"});
}

TEST_F(SetupFileTest, LoadingKeepsMissingKeysAndResetsTheSeatingFields) {
  WriteBytes("span.cfg", "SPAN = 4.5\r\n");
  SetupParameters record;
  SetField(record.MAXVEL, "7");
  SetField(record.SEATINGFORCE, "1");
  SetField(record.SEATFORCETIME, "2");
  SetField(record.RUNLOSSVEL, "3");
  SetField(record.DMDLOSSVEL, "4");
  SetupParameters expected = record;
  SetField(expected.SPAN, "4.5");
  SetField(expected.SEATINGFORCE, "1000");
  SetField(expected.SEATFORCETIME, "1000");
  SetField(expected.RUNLOSSVEL, "2.0");
  SetField(expected.DMDLOSSVEL, "2.0");

  ASSERT_EQ(LoadSetupFile(record, PathOf("span.cfg"), ui_, clock_), 0);
  ExpectSameFields(record, expected);
  EXPECT_EQ(ui_.events,
            (std::vector<std::string>{"Progress|Loading Actuator Setup...", "Range|0|100",
                                      "Position|0", "Position|3", "Position|100",
                                      "Status|Finished Loading Actuator Setup.", "EndProgress"}));
  EXPECT_EQ(clock_.sleeps, (std::vector<int>{30, 50}));
}

TEST_F(SetupFileTest, LoadProgressStepsPerLetterLineAndStopsAtTheTop) {
  std::string bytes = "; comment\n\n";
  for (int i = 0; i < 60; ++i) {
    bytes += "UNKNOWN = 1\n";
  }
  WriteBytes("long.cfg", bytes);
  SetupParameters record;
  ASSERT_EQ(LoadSetupFile(record, PathOf("long.cfg"), ui_, clock_), 0);
  const std::vector<int> positions = ui_.Positions();
  ASSERT_EQ(positions.size(), 62u);
  EXPECT_EQ((std::vector<int>(positions.begin(), positions.begin() + 6)),
            (std::vector<int>{0, 3, 5, 7, 9, 11}));
  EXPECT_EQ(positions[49], 99);
  EXPECT_EQ(positions[50], 100);
  EXPECT_EQ(positions[51], 100);
  EXPECT_EQ(positions.back(), 100);
  EXPECT_EQ(clock_.sleeps.size(), 61u);
}

TEST_F(SetupFileTest, LoadByNameHasNoWindowAndNoPauses) {
  WriteBytes("db.cfg", "SPAN = 3.5\nMAXVEL = 4\n");
  SetupParameters record;
  ASSERT_EQ(LoadSetupFileByName(record, PathOf("db.cfg"), ui_), 0);
  EXPECT_STREQ(record.SPAN, "3.5");
  EXPECT_STREQ(record.MAXVEL, "4");
  EXPECT_TRUE(ui_.events.empty());
  EXPECT_EQ(record.statusText, "Loading setup parameters...");
}

TEST_F(SetupFileTest, UnreadableFileWarnsAndLeavesTheRecordUnchanged) {
  ASSERT_EQ(mkdir(PathOf("folder.cfg").c_str(), 0755), 0);
  const std::vector<std::string> warning{"Warning|File Error|Error opening actuator setup file."};
  for (const char* name : {"missing.cfg", "folder.cfg"}) {
    SetupParameters record;
    SetField(record.SEATINGFORCE, "1");
    const SetupParameters before = record;

    test::RecordingUi ui;
    EXPECT_EQ(LoadSetupFile(record, PathOf(name), ui, clock_), -1) << name;
    EXPECT_EQ(ui.Messages(), warning);
    EXPECT_FALSE(ui.progressOpen);
    ExpectSameFields(record, before);

    test::RecordingUi quiet;
    EXPECT_EQ(LoadSetupFileByName(record, PathOf(name), quiet), -1) << name;
    EXPECT_EQ(quiet.events, warning);
    ExpectSameFields(record, before);
  }
}

TEST_F(SetupFileTest, MalformedFilesLoadSafely) {
  std::mt19937 random(1234);
  std::string garbage;
  for (int i = 0; i < 20000; ++i) {
    garbage.push_back(static_cast<char>(random() & 0xFF));
  }
  std::string keyedGarbage;
  for (const SetupFieldInfo& info : kSetupFileFields) {
    keyedGarbage += std::string(info.key) + " = " + garbage.substr(info.offset, 200) + "\n";
  }
  const struct {
    const char* name;
    std::string bytes;
    const char* span;
  } cases[] = {
      {"empty", "", "5.9"},
      {"binary", garbage, nullptr},
      {"keyed binary", keyedGarbage, nullptr},
      {"nul inside", std::string("SPAN = 4\0.5\nMAXVEL = 3\n", 23), "4"},
      {"long value", "SPAN = " + std::string(1000, '9') + "\n", "999999999999999"},
      // The line is read in pieces of 126 characters; each piece stands alone.
      {"second piece", std::string(126, 'X') + "SPAN = 3.0\n", "3.0"},
      {"value split", "SPAN = " + std::string(119, ' ') + "4.5\n", "5.9"},
      {"no line end", "SPAN = 2.5", "2.5"},
      {"old key short", "SERIALNUM = 12\nSPAN = 1.5\n", "1.5"},
  };
  for (const auto& c : cases) {
    WriteBytes("bad.cfg", c.bytes);
    SetupParameters record;
    test::RecordingUi ui;
    ASSERT_EQ(LoadSetupFile(record, PathOf("bad.cfg"), ui, clock_), 0) << c.name;
    EXPECT_TRUE(ui.Messages().empty()) << c.name;
    for (const SetupFieldInfo& info : kSetupFileFields) {
      const std::span<const char> text = FieldText(record, info);
      EXPECT_LT(std::strlen(text.data()), text.size()) << c.name << " " << info.key;
    }
    if (c.span != nullptr) {
      EXPECT_STREQ(record.SPAN, c.span) << c.name;
    }
  }
}

}  // namespace
}  // namespace velmar
