#pragma once

#include <string>
#include <vector>

#include "setup/setup_parameters.h"

namespace velmar {

// A value of a setup record that the setup pages would refuse.
struct SetupValueRefusal {
  std::string key;    // the record's key, "STROKETBL05"
  std::string value;  // the value's text
  std::string range;  // the page's range message
};

// Every value of `record` that the setup pages' checks refuse when their pages are left, page
// by page in field order. A record loaded from a file or the database goes to the actuator only
// if this is empty.
std::vector<SetupValueRefusal> CheckSetupRecord(const SetupFields& record);

// "SPAN = 7.0: Enter a number between 0.1 and 5.9."
std::string RefusalLine(const SetupValueRefusal& refusal);

}  // namespace velmar
