#include "setup/setup_parameters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace velmar {
namespace {

TEST(SetupParametersTest, FreshRecordHoldsTheDefaults) {
  const SetupParameters record;
  EXPECT_STREQ(record.DATETIME, "01/01/2001-00:00:00");
  EXPECT_STREQ(record.OrvikPartNo, "0000000-000");
  EXPECT_STREQ(record.STROKETBL[0], "0.0");
  EXPECT_STREQ(record.STROKETBL[16], "5.9000");
  EXPECT_STREQ(record.DMDLOSSVEL, "2.0");
  EXPECT_EQ(record.statusText, "Loading setup parameters...");
  EXPECT_TRUE(record.fileName.empty());
  EXPECT_EQ(RecogniseDefaultLoopSet(record), DefaultLoopSet::Firmware101);
}

// Every entry must address its own named field, or the file reader and writer and the page
// packer would silently mix fields up.
TEST(SetupParametersTest, FieldTableAddressesTheNamedFields) {
  SetupParameters record;
  const struct {
    const char* key;
    char* field;
    std::size_t width;
  } cases[] = {
      {"DATETIME", record.DATETIME, 24},
      {"SERIALNO", record.SERIALNO, 16},
      {"MODELNO", record.MODELNO, 16},
      {"PARTNO", record.PARTNO, 16},
      {"ACTTYPE", record.ACTTYPE, 8},
      {"STOPPOS", record.STOPPOS, 16},
      {"STROKETBL00", record.STROKETBL[0], 8},
      {"STROKETBL09", record.STROKETBL[9], 8},
      {"STROKETBL16", record.STROKETBL[16], 8},
      {"POSCMDSRC", record.POSCMDSRC, 8},
      {"ACTFAULT", record.ACTFAULT, 8},
      {"CURLOOPDCONST", record.CURLOOPDCONST, 16},
      {"VELLOOPPCONST", record.VELLOOPPCONST, 16},
      {"DMDLOSSVEL", record.DMDLOSSVEL, 16},
  };
  for (const auto& c : cases) {
    bool found = false;
    for (const SetupFieldInfo& info : kSetupFileFields) {
      if (std::string(info.key) == c.key) {
        found = true;
        const std::span<char> text = FieldText(record, info);
        EXPECT_EQ(text.data(), c.field) << c.key;
        EXPECT_EQ(text.size(), c.width) << c.key;
      }
    }
    EXPECT_TRUE(found) << c.key;
  }
  std::set<std::size_t> offsets;
  for (const SetupFieldInfo& info : kSetupFileFields) {
    EXPECT_TRUE(offsets.insert(info.offset).second) << info.key;
    EXPECT_LE(info.offset + info.width, sizeof(SetupFields)) << info.key;
    EXPECT_NE(info.offset, offsetof(SetupFields, OrvikPartNo)) << "OrvikPartNo is not in files";
  }
  EXPECT_STREQ(kSetupFileFields.front().key, "DATETIME");
  EXPECT_STREQ(kSetupFileFields.back().key, "DMDLOSSVEL");
}

TEST(SetupParametersTest, SetFieldCutsAtTheWidthAndClearsTheRest) {
  const struct {
    std::string text;
    const char* expected;
  } cases[] = {
      {"1", "1"},
      {"1234567", "1234567"},
      {"12345678", "1234567"},
      {std::string(500, 'x'), "xxxxxxx"},
      {"", ""},
  };
  for (const auto& c : cases) {
    char field[8];
    std::memset(field, '#', sizeof(field));
    SetField(field, c.text);
    EXPECT_STREQ(field, c.expected) << c.text;
    for (std::size_t i = std::strlen(field); i < sizeof(field); ++i) {
      EXPECT_EQ(field[i], '\0') << c.text;
    }
  }
}

TEST(SetupParametersTest, LeadingNumberParsing) {
  const struct {
    const char* text;
    int32_t integer;
    double decimal;
  } cases[] = {
      {"42", 42, 42.0},
      {"  -7abc", -7, -7.0},
      {"+5.9", 5, 5.9},
      {"5.9000", 5, 5.9},
      {".5", 0, 0.5},
      {"1e3", 1, 1000.0},
      {"2.5E-1x", 2, 0.25},
      {"7e", 7, 7.0},
      {"abc", 0, 0.0},
      {"", 0, 0.0},
      {"-", 0, 0.0},
      {"inf", 0, 0.0},
      {"nan", 0, 0.0},
      {"0x10", 0, 0.0},
      {"\t12", 12, 12.0},
      {"99999999999999999999", 2147483647, 1e20},
      {"-99999999999", -2147483647 - 1, -99999999999.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseLeadingInt(c.text), c.integer) << c.text;
    EXPECT_DOUBLE_EQ(ParseLeadingDouble(c.text), c.decimal) << c.text;
  }
}

TEST(SetupParametersTest, RecogniseDefaultLoopSet) {
  const SetupParameters defaults;
  const struct {
    const char* name;
    char* (*field)(SetupFields&);
    const char* text;
    DefaultLoopSet expected;
  } cases[] = {
      {"curI inside 0.1", [](SetupFields& f) -> char* { return f.CURLOOPICONST; }, "400.05",
       DefaultLoopSet::Firmware101},
      {"curI on the tolerance", [](SetupFields& f) -> char* { return f.CURLOOPICONST; }, "400.1",
       DefaultLoopSet::None},
      {"curP inside 0.1", [](SetupFields& f) -> char* { return f.CURLOOPPCONST; }, "2.09",
       DefaultLoopSet::Firmware101},
      {"curP outside", [](SetupFields& f) -> char* { return f.CURLOOPPCONST; }, "2.1",
       DefaultLoopSet::None},
      {"curD outside 0.001", [](SetupFields& f) -> char* { return f.CURLOOPDCONST; }, "0.001",
       DefaultLoopSet::None},
      {"trailing text ignored", [](SetupFields& f) -> char* { return f.VELLOOPICONST; },
       "10000 counts", DefaultLoopSet::Firmware101},
      {"16-bit compare", [](SetupFields& f) -> char* { return f.POSLOOPTUNECONST; }, "65556",
       DefaultLoopSet::Firmware101},
      {"velP differs", [](SetupFields& f) -> char* { return f.VELLOOPPCONST; }, "41",
       DefaultLoopSet::None},
  };
  for (const auto& c : cases) {
    SetupParameters record = defaults;
    std::strcpy(c.field(record), c.text);
    EXPECT_EQ(RecogniseDefaultLoopSet(record), c.expected) << c.name;
  }

  SetupParameters old = defaults;
  SetField(old.POSLOOPTUNECONST, "15");
  SetField(old.CURLOOPPCONST, "0.0105");
  SetField(old.CURLOOPICONST, "200");
  SetField(old.CURLOOPDCONST, "0");
  SetField(old.VELLOOPPCONST, "5");
  SetField(old.VELLOOPICONST, "500");
  SetField(old.VELLOOPDCONST, "0");
  EXPECT_EQ(RecogniseDefaultLoopSet(old), DefaultLoopSet::Firmware100);
  SetField(old.CURLOOPPCONST, "0.011");
  EXPECT_EQ(RecogniseDefaultLoopSet(old), DefaultLoopSet::None);
}

TEST(SetupParametersTest, CodeTexts) {
  EXPECT_STREQ(ActuatorTypeText(17), "Stand Alone");
  EXPECT_STREQ(ActuatorTypeText(20), "Follower Linked to Leader");
  EXPECT_STREQ(ActuatorTypeText(3), "UNDEFINED");
  EXPECT_STREQ(PositionCommandSourceText(8), "ControlNet");
  EXPECT_STREQ(PositionCommandSourceText(3), "UNDEFINED");
  EXPECT_STREQ(HomePositionText(2), "Retract");
  EXPECT_STREQ(HomePositionText(0), "UNDEFINED");
}

}  // namespace
}  // namespace velmar
