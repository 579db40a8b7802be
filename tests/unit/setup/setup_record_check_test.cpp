#include "setup/setup_record_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/setup/record_fields.h"

namespace velmar {
namespace {

using Lines = std::vector<std::string>;

Lines CheckLines(const char* edits) {
  Lines lines;
  for (const SetupValueRefusal& refusal : CheckSetupRecord(test::Record(edits))) {
    lines.push_back(RefusalLine(refusal));
  }
  return lines;
}

// Every refused value of a record gets its line, page by page in field order, where the sheet
// would stop at the first.
TEST(SetupRecordCheckTest, ListsEveryValueThePagesRefuse) {
  // A linear table for span 5.9, so span and points can be broken one at a time.
  const std::string table =
      "SPAN=5.9|STROKETBL01=0.5|STROKETBL02=1.0|STROKETBL03=1.5|STROKETBL04=2.0|"
      "STROKETBL05=2.5|STROKETBL06=3.0|STROKETBL07=3.5|STROKETBL08=4.0|STROKETBL09=4.5|"
      "STROKETBL10=5.0|STROKETBL11=5.1|STROKETBL12=5.2|STROKETBL13=5.3|STROKETBL14=5.4|"
      "STROKETBL15=5.5|STROKETBL16=5.9|";
  const std::pair<std::string, Lines> cases[] = {
      {table, {}},
      {table + "STOPPOS=0.0|MAXFORCE=1267|MAXHOMEVEL=0.1|SEATFORCETIME=2000", {}},
      {table + "SPAN=7.0", {"SPAN = 7.0: Enter a number between 0.1 and 5.9."}},
      // The stop position and the last point may not pass the span.
      {table + "SPAN=5.5|STOPPOS=5.6|STROKETBL16=5.5",
       {"STOPPOS = 5.6: Enter a number between 0 and 5.5.",
        "STROKETBL16 = 5.5: Enter a number between 5.5001 and 5.5."}},
      // A point out of range also raises the floor of the next.
      {table + "STROKETBL05=1.9|STROKETBL09=6.0",
       {"STROKETBL05 = 1.9: Enter a number between 2.0001 and 5.9.",
        "STROKETBL09 = 6.0: Enter a number between 0 and 5.9.",
        "STROKETBL10 = 5.0: Enter a number between 6.0001 and 5.9."}},
      {table + "STROKETBL03=1.0", {"STROKETBL03 = 1.0: Enter a number between 1.0001 and 5.9."}},
      {table + "POSLOOPTUNECONST=0|CURLOOPPCONST=x|VELLOOPICONST=12001|MAXVEL=11|MAXFORCE=99",
       {"POSLOOPTUNECONST = 0: Enter an integer between 1 and 100.",
        "CURLOOPPCONST = x: Enter a number between 0.001 and 500.",
        "VELLOOPICONST = 12001: Enter a number between 1 and 12000.",
        "MAXVEL = 11: Enter an integer between 1 and 10.",
        "MAXFORCE = 99: Enter an integer between 100 and 1267."}},
      {table + "MAXHOMEVEL=0.6|HOLDCURFORCE=501|SEATFORCETIME=9|DMDLOSSVEL=|RUNLOSSVEL=10.1",
       {"MAXHOMEVEL = 0.6: Enter a number between 0.1 and 0.5.",
        "HOLDCURFORCE = 501: Enter an integer between 100 and 500.",
        "SEATFORCETIME = 9: Enter an integer between 10 and 2000.",
        "RUNLOSSVEL = 10.1: Enter a number between 0.1 and 10.",
        "DMDLOSSVEL = : Enter a number between 0.1 and 10."}},
  };
  for (const auto& [edits, expected] : cases) {
    EXPECT_EQ(CheckLines(edits.c_str()), expected) << edits;
  }
}

}  // namespace
}  // namespace velmar
