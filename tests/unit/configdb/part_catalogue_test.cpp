#include "configdb/part_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/temp_folder.h"

namespace velmar {
namespace {

class PartCatalogueTest : public ::testing::Test {
 protected:
  int LoadText(const std::string& text) {
    std::ofstream(folder.Path() / PartCatalogue::kFileName, std::ios::binary) << text;
    return catalogue.Load(folder.Path() / PartCatalogue::kFileName);
  }

  TempFolder folder;
  PartCatalogue catalogue;
};

TEST_F(PartCatalogueTest, RecordLinesSplitIntoFiveFieldsAndOddLinesAreSkippedWhole) {
  const std::string longestPart(39, '8');
  ASSERT_EQ(LoadText("# comment line\r\n"
                     "\r\n"
                     " 1000001-001 5000001-001 Indented line, 2.00 3.00\r\n"
                     "1000003-001 5000003-001   Stand alone 4.5 in, 2.00 3.10\r\n"
                     "1000004-001,5000004-001,Comma separated,2.06,0.0\n"
                     "A1 M1 Tab\tcut, 2.5 99.99 trailing fields ignored\r\n"
                     "A2 M2 No comma so no versions 2.00 3.00\r\n"
                     "A3 M3 Too few fields, 2.00\r\n"
                     "A5 M5 Minor beyond a byte, 2.256 3.00\r\n" +
                     std::string(40, '7') + " M6 Part number too long, 2.00 3.00\r\n" +
                     longestPart + " M7 Longest part number, 2.00 3.00\r\n" + "A8 M8 " +
                     std::string(80, 'd') + ", 2.00 3.00\r\n" + "B1 N1 , 2.00 3.00\r\n"),
            0);
  std::vector<std::string> records;
  for (int result = catalogue.First(); result == 0; result = catalogue.Next()) {
    const CatalogueRecord& r = catalogue.current;
    records.push_back(r.customerPartNo + "|" + r.makerPartNo + "|" + r.description + "|" +
                      r.minVersion + "|" + r.maxVersion);
  }
  EXPECT_EQ(records, (std::vector<std::string>{
                         "1000003-001|5000003-001|Stand alone 4.5 in|2.00|3.10",
                         "1000004-001|5000004-001|Comma separated|2.06|0.0",
                         "A1|M1|Tab|2.5|99.99",
                         longestPart + "|M7|Longest part number|2.00|3.00",
                     }));
}

TEST_F(PartCatalogueTest, CursorAndLookupFollowFileOrder) {
  EXPECT_EQ(catalogue.First(), 1);
  ASSERT_EQ(LoadText("C1 M1 One, 2.00 3.00\nC2 M2 Two, 2.00 3.00\nC3 M1 Three, 2.00 3.00\n"), 0);
  EXPECT_EQ(catalogue.Next(), 1);  // cursor not set yet
  EXPECT_EQ((std::vector{catalogue.First(), catalogue.Next(), catalogue.Next(), catalogue.Next()}),
            (std::vector{0, 0, 0, 2}));
  ASSERT_EQ(catalogue.FindByMakerPartNumber("M1"), 0);
  EXPECT_EQ(catalogue.current.customerPartNo, "C1");
  EXPECT_EQ(catalogue.FindByMakerPartNumber("m1"), 1);
  EXPECT_EQ(catalogue.FindByMakerPartNumber("M"), 1);
  EXPECT_EQ(catalogue.Load(folder.Path() / "missing.cfg"), 1);
  EXPECT_EQ(catalogue.Count(), 3u);  // a file that cannot be opened keeps the list
}

TEST_F(PartCatalogueTest, VersionsAreMajorDotMinorZeroMeansExactlyNinetyNineNoUpperBound) {
  const std::pair<const char*, std::optional<int>> texts[] = {
      {"2.5", 0x205}, {"2.05", 0x205}, {"3.10", 0x30A}, {"99.99", 0x6363}, {"0.0", 0},   {"3", {}},
      {"3.", {}},     {".5", {}},      {"2.256", {}},   {"-2.0", {}},      {"2.0x", {}}, {"", {}}};
  for (const auto& [text, value] : texts) {
    EXPECT_EQ(ParseFirmwareVersionText(text), value) << text;
  }
  const std::tuple<const char*, const char*, int, bool> ranges[] = {
      {"2.06", "0.0", 0x206, true},   {"2.06", "0.0", 0x207, false},
      {"2.06", "99.99", 0x30A, true}, {"2.06", "99.99", 0x205, false},
      {"2.06", "3.00", 0x300, true},  {"2.06", "3.00", 0x301, false},
      {"2.5", "2.5", 0x205, true}};
  for (const auto& [min, max, version, inRange] : ranges) {
    catalogue.current.minVersion = min;
    catalogue.current.maxVersion = max;
    EXPECT_EQ(catalogue.VersionInRange(version), inRange) << min << ".." << max << " " << version;
  }
}

}  // namespace
}  // namespace velmar
