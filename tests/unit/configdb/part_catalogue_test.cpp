#include "configdb/part_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "configdb/temp_folder.h"

namespace velmar {
namespace {

class PartCatalogueTest : public ::testing::Test {
 protected:
  int LoadText(const std::string& text) {
    const auto path = folder.Path() / PartCatalogue::kFileName;
    std::ofstream(path, std::ios::binary) << text;
    return catalogue.Load(path);
  }

  std::vector<CatalogueRecord> All() {
    std::vector<CatalogueRecord> records;
    for (int result = catalogue.First(); result == 0; result = catalogue.Next()) {
      records.push_back(catalogue.current);
    }
    return records;
  }

  TempFolder folder;
  PartCatalogue catalogue;
};

TEST_F(PartCatalogueTest, RecordLinesSplitIntoFiveFieldsAndOddLinesAreSkippedWhole) {
  const std::string longPart(40, '7');
  const std::string longDescription(80, 'd');
  ASSERT_EQ(
      LoadText("# comment line\r\n"
               "\r\n"
               " 1000001-001 5000001-001 Indented line, 2.00 3.00\r\n"
               ";1000002-001 5000001-001 Semicolon line, 2.00 3.00\r\n"
               "1000003-001 5000003-001   Stand alone 4.5 in, 2.00 3.10\r\n"
               "1000004-001,5000004-001,Comma separated,2.06,0.0\n"
               "A1 M1 Tab\tcut, 2.5 99.99 trailing fields ignored\r\n"
               "A2 M2 No comma so no versions 2.00 3.00\r\n"
               "A3 M3 Too few fields, 2.00\r\n"
               "A4 M4 Version without dot, 2 3.00\r\n"
               "A5 M5 Minor beyond a byte, 2.256 3.00\r\n" +
               longPart + " M6 Part number too long, 2.00 3.00\r\n" + std::string(39, '8') +
               " M7 Longest part number, 2.00 3.00\r\n" + "A8 M8 " + longDescription +
               ", 2.00 3.00\r\n" + "A9 M9 Empty description follows\r\n" + "B1 N1 , 2.00 3.00\r\n"),
      0);
  const std::vector<CatalogueRecord> records = All();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0].customerPartNo, "1000003-001");
  EXPECT_EQ(records[0].makerPartNo, "5000003-001");
  EXPECT_EQ(records[0].description, "Stand alone 4.5 in");
  EXPECT_EQ(records[0].minVersion, "2.00");
  EXPECT_EQ(records[0].maxVersion, "3.10");
  EXPECT_EQ(records[1].description, "Comma separated");
  EXPECT_EQ(records[1].maxVersion, "0.0");
  EXPECT_EQ(records[2].description, "Tab");
  EXPECT_EQ(records[2].minVersion, "2.5");
  EXPECT_EQ(records[2].maxVersion, "99.99");
  EXPECT_EQ(records[3].customerPartNo, std::string(39, '8'));
  EXPECT_EQ(catalogue.Count(), 4u);
}

TEST_F(PartCatalogueTest, CursorAndLookupFollowFileOrder) {
  EXPECT_EQ(catalogue.First(), 1);
  EXPECT_EQ(catalogue.Next(), 1);
  ASSERT_EQ(LoadText("C1 M1 One, 2.00 3.00\nC2 M2 Two, 2.00 3.00\nC3 M1 Three, 2.00 3.00\n"), 0);
  EXPECT_EQ(catalogue.Next(), 1);  // cursor not set yet
  ASSERT_EQ(catalogue.First(), 0);
  EXPECT_EQ(catalogue.current.customerPartNo, "C1");
  ASSERT_EQ(catalogue.Next(), 0);
  ASSERT_EQ(catalogue.Next(), 0);
  EXPECT_EQ(catalogue.current.customerPartNo, "C3");
  EXPECT_EQ(catalogue.Next(), 2);
  EXPECT_EQ(catalogue.Next(), 1);

  ASSERT_EQ(catalogue.FindByMakerPartNumber("M1"), 0);
  EXPECT_EQ(catalogue.current.customerPartNo, "C1");
  EXPECT_EQ(catalogue.FindByMakerPartNumber("m1"), 1);
  EXPECT_EQ(catalogue.FindByMakerPartNumber("M"), 1);

  EXPECT_EQ(catalogue.Load(folder.Path() / "missing.cfg"), 1);
  EXPECT_EQ(catalogue.Count(), 3u);
  ASSERT_EQ(LoadText("C9 M9 Replaced, 2.00 3.00\n"), 0);
  EXPECT_EQ(catalogue.Count(), 1u);
}

TEST(FirmwareVersionTextTest, MajorAndMinorAroundTheDot) {
  const struct {
    const char* text;
    std::optional<int> value;
  } cases[] = {
      {"2.5", 0x205}, {"2.05", 0x205}, {"3.10", 0x30A}, {"99.99", 0x6363}, {"0.0", 0},   {"3", {}},
      {"3.", {}},     {".5", {}},      {"2.256", {}},   {"-2.0", {}},      {"2.0x", {}}, {"", {}},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(ParseFirmwareVersionText(test.text), test.value) << test.text;
  }
}

TEST(VersionInRangeTest, ZeroMeansExactlyAndNinetyNineMeansNoUpperBound) {
  const struct {
    const char* min;
    const char* max;
    int version;
    bool inRange;
  } cases[] = {
      {"2.06", "0.0", 0x206, true},   {"2.06", "0.0", 0x205, false},
      {"2.06", "0.0", 0x207, false},  {"2.06", "99.99", 0x206, true},
      {"2.06", "99.99", 0x30A, true}, {"2.06", "99.99", 0x205, false},
      {"2.06", "3.00", 0x206, true},  {"2.06", "3.00", 0x300, true},
      {"2.06", "3.00", 0x301, false}, {"2.06", "3.00", 0x205, false},
      {"2.5", "2.5", 0x205, true},    {"2.5", "2.5", 0x250, false},
  };
  for (const auto& test : cases) {
    PartCatalogue catalogue;
    catalogue.current.minVersion = test.min;
    catalogue.current.maxVersion = test.max;
    EXPECT_EQ(catalogue.VersionInRange(test.version), test.inRange)
        << test.min << ".." << test.max << " for 0x" << std::hex << test.version;
  }
}

}  // namespace
}  // namespace velmar
