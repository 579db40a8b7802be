#include "setup/setup_page_checks.h"

#include <cstdio>
#include <string>

#include "setup/setup_parameters.h"

namespace velmar {

bool IsNumericText(std::string_view text) {
  bool seenDigit = false;
  bool seenPoint = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      seenDigit = true;
    } else if (c == '.') {
      if (seenPoint) {
        return false;
      }
      seenPoint = true;
    } else if ((c == ' ' || c == '-') && !seenDigit) {
      continue;
    } else {
      return false;
    }
  }
  return seenDigit;
}

std::string RangeMessage(const RangeRefusal& refusal) {
  char text[96];
  if (refusal.integer) {
    std::snprintf(text, sizeof(text), "Enter an integer between %d and %d.",
                  static_cast<int>(refusal.low), static_cast<int>(refusal.high));
  } else {
    std::snprintf(text, sizeof(text), "Enter a number between %.15g and %.15g.", refusal.low,
                  refusal.high);
  }
  return text;
}

void CheckNumberText(std::vector<RangeRefusal>& refusals, int control, std::string_view text,
                     double low, double high) {
  if (IsNumericText(text)) {
    const double value = ParseLeadingDouble(text);
    if (value >= low && value <= high) {
      return;
    }
  }
  refusals.push_back({control, false, low, high});
}

void CheckIntegerText(std::vector<RangeRefusal>& refusals, int control, std::string_view text,
                      int low, int high) {
  if (IsNumericText(text)) {
    const int32_t value = ParseLeadingInt(text);
    if (value >= low && value <= high) {
      return;
    }
  }
  refusals.push_back({control, true, static_cast<double>(low), static_cast<double>(high)});
}

}  // namespace velmar
