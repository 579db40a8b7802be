#pragma once

#include <string>
#include <vector>

#include "setup/setup_parameters.h"

namespace velmar {

// A setup file key whose values differ between two records.
struct SetupDifference {
  std::string key;
  std::string a;
  std::string b;
};

// The keys of the setup file, in file order, whose values differ between `a` and `b`. Texts that
// are both whole numbers compare as numbers ("5.9" equals "5.9000"); others compare as text.
// DATETIME only says when a file was written, so it is left out.
std::vector<SetupDifference> DiffSetupRecords(const SetupFields& a, const SetupFields& b);

}  // namespace velmar
