#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// Caption of the range message, the sheet's own.
inline constexpr const char* kSetupSheetCaption = "Actuator Setup";

// Empty text fails. Digits and at most one decimal point anywhere; blanks and minus signs only
// before the first digit; at least one digit; nothing else.
bool IsNumericText(std::string_view text);

// A value a page's check refuses: the field and the range its value has to lie in.
struct RangeRefusal {
  int control = 0;
  bool integer = false;
  double low = 0;
  double high = 0;
};

// The range message a page shows for a refusal (warning, caption "Actuator Setup"): "Enter a
// number between 0.1 and 5.9." or "Enter an integer between 1 and 100.".
std::string RangeMessage(const RangeRefusal& refusal);

// A field's check: numeric text whose leading number lies within [low, high]; otherwise its
// refusal is added to `refusals`.
void CheckNumberText(std::vector<RangeRefusal>& refusals, int control, std::string_view text,
                     double low, double high);
void CheckIntegerText(std::vector<RangeRefusal>& refusals, int control, std::string_view text,
                      int low, int high);

}  // namespace velmar
