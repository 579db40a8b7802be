#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmar {

// Interpolation points 1-16 of a straight line from 0 to the span (element k - 1 is point k):
// points 1-15 are k/16 of the span to four decimals ("%1.4f"), point 16 is the span text itself.
std::array<std::string, 16> LinearStrokePoints(std::string_view spanText);

}  // namespace velmar
