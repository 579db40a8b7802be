#pragma once

#include <string_view>

#include "ports/ui.h"

namespace velmar {

// Caption of the range message, the sheet's own.
inline constexpr const char* kSetupSheetCaption = "Actuator Setup";

// Empty text fails. Digits and at most one decimal point anywhere; blanks and minus signs only
// before the first digit; at least one digit; nothing else.
bool IsNumericText(std::string_view text);

// The range messages a page shows when a field fails: "Enter a number between 0.1 and 5.9." and
// "Enter an integer between 1 and 100." (warning, caption "Actuator Setup").
void ShowNumberRangeMessage(Ui& ui, double low, double high);
void ShowIntegerRangeMessage(Ui& ui, int low, int high);

// A field's check: numeric text whose leading number lies within [low, high]. Otherwise shows
// the range message and returns false.
bool CheckNumberText(Ui& ui, std::string_view text, double low, double high);
bool CheckIntegerText(Ui& ui, std::string_view text, int low, int high);

}  // namespace velmar
