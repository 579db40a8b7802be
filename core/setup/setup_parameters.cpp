#include "setup/setup_parameters.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "base/file_date_time.h"

namespace velmar {

#define SETUP_FIELD(name) \
  { #name, offsetof(SetupFields, name), sizeof(SetupFields::name) }
#define STROKE_POINT(digits, index) \
  { "STROKETBL" digits, offsetof(SetupFields, STROKETBL) + (index)*kStrokeWidth, kStrokeWidth }

namespace {
constexpr std::size_t kStrokeWidth = sizeof(SetupFields::STROKETBL[0]);
}  // namespace

const std::array<SetupFieldInfo, kSetupFileFieldCount> kSetupFileFields = {{
    SETUP_FIELD(DATETIME),      SETUP_FIELD(SERIALNO),      SETUP_FIELD(MODELNO),
    SETUP_FIELD(PARTNO),        SETUP_FIELD(ACTTYPE),       SETUP_FIELD(HOMEPOS),
    SETUP_FIELD(SPAN),          SETUP_FIELD(STOPPOS),       STROKE_POINT("00", 0),
    STROKE_POINT("01", 1),      STROKE_POINT("02", 2),      STROKE_POINT("03", 3),
    STROKE_POINT("04", 4),      STROKE_POINT("05", 5),      STROKE_POINT("06", 6),
    STROKE_POINT("07", 7),      STROKE_POINT("08", 8),      STROKE_POINT("09", 9),
    STROKE_POINT("10", 10),     STROKE_POINT("11", 11),     STROKE_POINT("12", 12),
    STROKE_POINT("13", 13),     STROKE_POINT("14", 14),     STROKE_POINT("15", 15),
    STROKE_POINT("16", 16),     SETUP_FIELD(POSCMDSRC),     SETUP_FIELD(MOTOROVERTEMP),
    SETUP_FIELD(ELECOVERTEMP),  SETUP_FIELD(ACTFAULT),      SETUP_FIELD(POSLOOPTUNECONST),
    SETUP_FIELD(CURLOOPPCONST), SETUP_FIELD(CURLOOPICONST), SETUP_FIELD(CURLOOPDCONST),
    SETUP_FIELD(VELLOOPPCONST), SETUP_FIELD(VELLOOPICONST), SETUP_FIELD(VELLOOPDCONST),
    SETUP_FIELD(MAXVEL),        SETUP_FIELD(MAXFORCE),      SETUP_FIELD(MAXHOMEVEL),
    SETUP_FIELD(MAXHOMEFORCE),  SETUP_FIELD(HOLDCURFORCE),  SETUP_FIELD(SEATINGFORCE),
    SETUP_FIELD(SEATFORCETIME), SETUP_FIELD(RUNLOSSVEL),    SETUP_FIELD(DMDLOSSVEL),
}};

#undef STROKE_POINT
#undef SETUP_FIELD

std::span<char> FieldText(SetupFields& fields, const SetupFieldInfo& info) {
  return {reinterpret_cast<char*>(&fields) + info.offset, info.width};
}

std::span<const char> FieldText(const SetupFields& fields, const SetupFieldInfo& info) {
  return {reinterpret_cast<const char*>(&fields) + info.offset, info.width};
}

void SetField(std::span<char> field, std::string_view text) {
  if (field.empty()) {
    return;
  }
  const std::size_t length = std::min(text.size(), field.size() - 1);
  std::memcpy(field.data(), text.data(), length);
  std::memset(field.data() + length, 0, field.size() - length);
}

void SetDateTimeToNow(SetupFields& fields) {
  SetField(fields.DATETIME, FileDateTimeNow());
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Length of the leading number of `text` (blanks included), 0 when there is none. Only plain
// decimal notation counts: no "inf", "nan" or hexadecimal forms.
std::size_t LeadingNumberLength(std::string_view text, bool decimal) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) {
    ++i;
  }
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) {
    ++i;
    ++digits;
  }
  if (decimal && i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) {
    return 0;
  }
  if (decimal && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      ++j;
    }
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        ++j;
      }
      i = j;
    }
  }
  return i;
}

}  // namespace

int32_t ParseLeadingInt(std::string_view text) {
  const std::string number(text.substr(0, LeadingNumberLength(text, false)));
  if (number.empty()) {
    return 0;
  }
  const long long value = std::strtoll(number.c_str(), nullptr, 10);
  if (value > std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

double ParseLeadingDouble(std::string_view text) {
  const std::string number(text.substr(0, LeadingNumberLength(text, true)));
  if (number.empty()) {
    return 0.0;
  }
  return std::strtod(number.c_str(), nullptr);
}

namespace {

struct LoopSet {
  DefaultLoopSet id;
  uint16_t posLoopTune;
  double curP, curPTolerance;
  double curI;
  double curD;
  uint16_t velP, velI, velD;
};

constexpr double kCurITolerance = 0.1;
constexpr double kCurDTolerance = 0.001;

constexpr LoopSet kLoopSets[] = {
    {DefaultLoopSet::Firmware100, 15, 0.01, 0.001, 200, 0, 5, 500, 0},
    {DefaultLoopSet::Firmware101, 20, 2.0, 0.1, 400, 0, 40, 10000, 0},
};

bool SameWord(const char* text, uint16_t expected) {
  return static_cast<uint16_t>(ParseLeadingInt(text)) == expected;
}

bool Near(const char* text, double expected, double tolerance) {
  const double value = ParseLeadingDouble(text);
  return value > expected - tolerance && value < expected + tolerance;
}

}  // namespace

DefaultLoopSet RecogniseDefaultLoopSet(const SetupFields& fields) {
  for (const LoopSet& set : kLoopSets) {
    if (SameWord(fields.POSLOOPTUNECONST, set.posLoopTune) &&
        Near(fields.CURLOOPPCONST, set.curP, set.curPTolerance) &&
        Near(fields.CURLOOPICONST, set.curI, kCurITolerance) &&
        Near(fields.CURLOOPDCONST, set.curD, kCurDTolerance) &&
        SameWord(fields.VELLOOPPCONST, set.velP) && SameWord(fields.VELLOOPICONST, set.velI) &&
        SameWord(fields.VELLOOPDCONST, set.velD)) {
      return set.id;
    }
  }
  return DefaultLoopSet::None;
}

const char* ActuatorTypeText(int code) {
  switch (code % 16) {
    case 1:
      return "Stand Alone";
    case 2:
      return "Leader Linked to Follower";
    case 4:
      return "Follower Linked to Leader";
    default:
      return "UNDEFINED";
  }
}

const char* PositionCommandSourceText(int code) {
  switch (code) {
    case 1:
      return "Analog";
    case 2:
      return "RS-232";
    case 4:
      return "RS-485";
    case 8:
      return "ControlNet";
    default:
      return "UNDEFINED";
  }
}

const char* HomePositionText(int code) {
  switch (code) {
    case 1:
      return "Extend";
    case 2:
      return "Retract";
    default:
      return "UNDEFINED";
  }
}

}  // namespace velmar
