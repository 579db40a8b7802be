#include "faults/fault_config_units.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "faults/fault_config_record.h"
#include "faults/temperature.h"

namespace velmar {

namespace {

constexpr int kNoRounding = -1;
constexpr double kPersistSecondsPerCount = 0.002;
constexpr double kPersistCountsPerSecond = 500.0;
constexpr double kMinimumPersistSeconds = 1.0;

struct Range {
  double minimum;
  double maximum;
};

// Entry and load rules of one type with values: the rounding before the limit test, the limits
// of the four limit fields ({} where the type has no such field) and the persist maxima.
struct ValueRules {
  int entryDecimals;
  int loadDecimals;
  Range limits[4];
  double persistMaximum[2];
  double loadPersist2Maximum;
};

constexpr Range kNone{};

ValueRules RulesOf(int type) {
  switch (type) {
    case kOvercurrent:
      return {0, kNoRounding, {{250, 1267}, kNone, {250, 1267}, kNone}, {120, 120}, 120};
    case kTrackingError:
      return {2, kNoRounding, {{0.6, 6.6}, kNone, {0.6, 6.6}, kNone}, {10, 10}, 10};
    case kPosDemand:
      return {1, kNoRounding, {{20.5, 22.0}, {3.5, 4.0}, {20.5, 22.0}, {2.0, 4.0}}, {10, 10}, 10};
    case kPlus14V:
      return {
          1, kNoRounding, {{15.5, 16.5}, {12.0, 13.5}, {15.5, 16.5}, {12.0, 13.5}}, {10, 10}, 10};
    case kMinus14V:
      return {1,
              kNoRounding,
              {{-13.5, -12.0}, {-16.5, -15.5}, {-13.5, -12.0}, {-16.5, -15.5}},
              {10, 10},
              10};
    case kPlus120V:
      return {1, kNoRounding, {{160, 180}, {75, 80}, {160, 180}, {70, 80}}, {30, 10}, 10};
    case kMotorTemp:
      return {0, 0, {{110, 175}, kNone, {110, 180}, kNone}, {30, 10}, 10};
    case kElecTemp:
      return {0, 0, {{93, 115}, kNone, {93, 123}, kNone}, {60, 10}, 30};
    default:  // kPlus5V
      return {1, 1, {{5.3, 5.8}, {4.2, 4.7}, {5.3, 6.0}, {4.0, 4.7}}, {10, 10}, 10};
  }
}

bool IsLowField(int field) {
  return field == kF1Low || field == kF2Low;
}

// Truncation toward zero, keeping the low 16 bits.
uint16_t Low16(double count) {
  return static_cast<uint16_t>(static_cast<int64_t>(std::trunc(count)));
}

// The leading number of the text as atof reads it; no number, or an infinite or NaN one, is 0.
double LeadingNumber(const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

// The limit value of a count word; `file` picks the file's rounding where it differs.
std::string LimitText(int type, uint16_t w, bool file) {
  char text[64];
  const auto shown = [&](double value, int decimals, const char* format) {
    std::snprintf(text, sizeof text, format, RoundToDecimals(value, decimals));
  };
  switch (type) {
    case kOvercurrent:
      shown(w * 1.2386968908708038, 0, "%1.0f");
      break;
    case kTrackingError:
      shown(w * 5.086265607841801e-07 * 100 * 2, 2, "%1.2f");
      break;
    case kPosDemand:
      shown(w * 3.8147554741741054e-05 * 20, file ? 1 : 2, file ? "%1.1f" : "%1.2f");
      break;
    case kPlus14V:
      shown(w * 0.0195556714, 1, "%2.1f");
      break;
    case kMinus14V:
      shown(w * -0.0195556714, 1, "%2.1f");
      break;
    case kPlus120V:
      shown(w * 0.195599022, 0, file ? "%2.1f" : "%1.0f");
      break;
    case kMotorTemp:
      std::snprintf(text, sizeof text, "%d", ThermistorCountsToDegC(static_cast<int16_t>(w), 2));
      break;
    case kElecTemp: {
      const double degC = ElecCountsToDegC(static_cast<int16_t>(w));
      std::snprintf(text, sizeof text, "%d",
                    static_cast<int>(file ? RoundToDecimals(degC, 0) : std::trunc(degC)));
      break;
    }
    default:  // kPlus5V
      shown(w * 0.008007820137, 1, file ? "%2.1f" : "%1.1f");
      break;
  }
  return text;
}

std::string PersistText(uint16_t w) {
  char text[32];
  std::snprintf(text, sizeof text, "%1.2f", RoundToDecimals(w * kPersistSecondsPerCount, 2));
  return text;
}

// The count of a limit value (already rounded where the rules round).
uint16_t LimitCount(int type, double v, bool file) {
  switch (type) {
    case kOvercurrent:
      return Low16(v * 0.8073 + 0.5);
    case kTrackingError:
      return Low16(v * 0.01 * 1966079.0 * 0.5);
    case kPosDemand:
      return Low16(v * 0.05 * 26214.0 + 0.5);
    case kPlus14V:
      return Low16(v * (file ? 51.132586797566084 : 51.13606071331307) + 0.5);
    case kMinus14V:
      return Low16(v * 51.132586797566084 * (-1) + 0.5);
    case kPlus120V:
      return Low16(v * (file ? 5.112500575156314 : 5.112500000127812) + 0.5);
    case kMotorTemp:
      return static_cast<uint16_t>(DegCToThermistorCounts(static_cast<int16_t>(v)));
    case kElecTemp:
      return Low16(RoundToDecimals(DegCToElecCounts(v), 0));
    default:  // kPlus5V
      return Low16(v * (file ? 124.87793182164434 : 124.98778223024543) + 0.5);
  }
}

FieldConversion Convert(int type, int field, const std::string& text, bool file) {
  if (!HasValueField(type, field)) {
    if (file && field == kCfgOptions) {
      return {LimitCheck::kAccepted, static_cast<uint16_t>(std::strtol(text.c_str(), nullptr, 10))};
    }
    return {};
  }
  const ValueRules rules = RulesOf(type);
  const bool persist = field == kPersist1 || field == kPersist2;
  const int decimals = persist ? 2 : file ? rules.loadDecimals : rules.entryDecimals;
  double v = LeadingNumber(text);
  if (decimals != kNoRounding) {
    // The dialog rounds the -14V entries by their magnitude.
    v = type == kMinus14V && !file ? -RoundToDecimals(-v, decimals) : RoundToDecimals(v, decimals);
  }
  Range range = persist ? Range{kMinimumPersistSeconds, rules.persistMaximum[field - kPersist1]}
                        : rules.limits[field];
  if (file && field == kPersist2) {
    range.maximum = rules.loadPersist2Maximum;
  }
  if (v > range.maximum) {
    return {LimitCheck::kAboveMaximum, 0};
  }
  if (v < range.minimum) {
    return {LimitCheck::kBelowMinimum, 0};
  }
  return {LimitCheck::kAccepted,
          persist ? Low16(v * kPersistCountsPerSecond) : LimitCount(type, v, file)};
}

}  // namespace

double RoundToDecimals(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double y = x * scale;
  const double down = std::floor(y);
  return (y - down < 0.5 ? down : std::ceil(y)) / scale;
}

bool HasValueField(int type, int field) {
  const ValueGroup group = kFaultTypes[type].group;
  if (group == ValueGroup::kFlagsOnly || field < kF1High || field > kPersist2) {
    return false;
  }
  return group == ValueGroup::kHighAndLow || !IsLowField(field);
}

std::string DialogFieldText(int type, int field, uint16_t word) {
  if (!HasValueField(type, field)) {
    return "";
  }
  return field >= kPersist1 ? PersistText(word) : LimitText(type, word, false);
}

std::string FileFieldText(int type, int field, uint16_t word) {
  if (field == kCfgOptions) {
    return std::to_string(word);
  }
  if (!HasValueField(type, field)) {
    return "0";
  }
  return field >= kPersist1 ? PersistText(word) : LimitText(type, word, true);
}

FieldConversion EntryToWord(int type, int field, const std::string& text) {
  return Convert(type, field, text, false);
}

FieldConversion FileValueToWord(int type, int field, const std::string& text) {
  return Convert(type, field, text, true);
}

}  // namespace velmar
