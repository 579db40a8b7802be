#include "setup/setup_diff.h"

#include <cstdlib>
#include <cstring>
#include <optional>

namespace velmar {

namespace {

// The number the whole text spells, or nothing.
std::optional<double> WholeNumber(const char* text) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0') {
    return std::nullopt;
  }
  return value;
}

bool SameValue(const char* a, const char* b) {
  const std::optional<double> numberA = WholeNumber(a);
  const std::optional<double> numberB = WholeNumber(b);
  if (numberA && numberB) {
    return *numberA == *numberB;
  }
  return std::strcmp(a, b) == 0;
}

}  // namespace

std::vector<SetupDifference> DiffSetupRecords(const SetupFields& a, const SetupFields& b) {
  std::vector<SetupDifference> differences;
  for (const SetupFieldInfo& info : kSetupFileFields) {
    const char* textA = FieldText(a, info).data();
    const char* textB = FieldText(b, info).data();
    if (std::strcmp(info.key, "DATETIME") != 0 && !SameValue(textA, textB)) {
      differences.push_back({info.key, textA, textB});
    }
  }
  return differences;
}

}  // namespace velmar
