#include "setup/setup_diff.h"

#include <gtest/gtest.h>

#include "record_fields.h"

namespace velmar::test {
namespace {

TEST(SetupDiffTest, ValuesCompareAsNumbersWhenBothAreNumbers) {
  struct Case {
    const char* key;
    const char* a;
    const char* b;
    bool differs;
  };
  const Case cases[] = {
      {"SPAN", "5.9", "5.9000", false},
      {"SPAN", "5.9", "5.90001", true},
      {"MAXFORCE", "1000", "1e3", false},
      {"MAXFORCE", "-0", "0", false},
      {"STOPPOS", "0.1", "0.1x", true},  // not a whole number: compared as text
      {"STOPPOS", "", "0", true},
      {"MODELNO", "LMX4100", "LMX4100", false},
      {"MODELNO", "LMX4100", "LMX4101", true},
      {"SERIALNO", "012", "12", false},
      {"DMDLOSSVEL", "2.0", "3.0", true},  // the last key
      {"DATETIME", "01/01/2001-00:00:00", "12/06/2026-14:12:33", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + ": " + c.a + " / " + c.b);
    SetupFields a;
    SetupFields b;
    SetField(FieldByKey(a, c.key), c.a);
    SetField(FieldByKey(b, c.key), c.b);
    const std::vector<SetupDifference> differences = DiffSetupRecords(a, b);
    ASSERT_EQ(differences.size(), c.differs ? 1u : 0u);
    if (c.differs) {
      EXPECT_EQ(differences[0].key, c.key);
      EXPECT_EQ(differences[0].a, c.a);
      EXPECT_EQ(differences[0].b, c.b);
    }
  }
}

TEST(SetupDiffTest, DifferencesComeInFileOrder) {
  SetupFields a;
  SetupFields b;
  SetField(FieldByKey(b, "DMDLOSSVEL"), "9");
  SetField(FieldByKey(b, "SERIALNO"), "777");
  SetField(FieldByKey(b, "SPAN"), "7");
  std::string keys;
  for (const SetupDifference& difference : DiffSetupRecords(a, b)) {
    keys += difference.key + " ";
  }
  EXPECT_EQ(keys, "SERIALNO SPAN DMDLOSSVEL ");
}

}  // namespace
}  // namespace velmar::test
