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

void ShowNumberRangeMessage(Ui& ui, double low, double high) {
  char text[96];
  std::snprintf(text, sizeof(text), "Enter a number between %.15g and %.15g.", low, high);
  ui.ShowMessage(MessageKind::Warning, text, kSetupSheetCaption);
}

void ShowIntegerRangeMessage(Ui& ui, int low, int high) {
  char text[96];
  std::snprintf(text, sizeof(text), "Enter an integer between %d and %d.", low, high);
  ui.ShowMessage(MessageKind::Warning, text, kSetupSheetCaption);
}

bool CheckNumberText(Ui& ui, std::string_view text, double low, double high) {
  if (IsNumericText(text)) {
    const double value = ParseLeadingDouble(text);
    if (value >= low && value <= high) {
      return true;
    }
  }
  ShowNumberRangeMessage(ui, low, high);
  return false;
}

bool CheckIntegerText(Ui& ui, std::string_view text, int low, int high) {
  if (IsNumericText(text)) {
    const int32_t value = ParseLeadingInt(text);
    if (value >= low && value <= high) {
      return true;
    }
  }
  ShowIntegerRangeMessage(ui, low, high);
  return false;
}

}  // namespace velmar
