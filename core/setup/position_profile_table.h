#pragma once

#include <array>
#include <cstdint>

namespace velmar {

// The firmware 1.00 position-profile table: the span counts, then mantissa and exponent pairs
// describing the approach curve y = V (1 - e^(-f x)), f = loop constant / span counts, and the
// cubic fitted through four of its points.
std::array<uint16_t, 17> PositionProfileTable(int32_t loopConst, uint16_t spanCounts,
                                              uint16_t maxVel);

}  // namespace velmar
