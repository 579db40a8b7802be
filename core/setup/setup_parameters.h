#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmar {

// The setup values as text, each a fixed-size zero-terminated field named after its setup-file
// key. The width includes the terminator. Kept separate from SetupParameters so the field table
// can address the fields by offset.
struct SetupFields {
  char DATETIME[24] = "01/01/2001-00:00:00";
  char SERIALNO[16] = "00000";
  char MODELNO[16] = "LMX4100-262K";
  char OrvikPartNo[16] = "0000000-000";
  char PARTNO[16] = "5000000-000";
  char ACTTYPE[8] = "1";
  char HOMEPOS[8] = "2";
  char SPAN[16] = "5.9";
  char STOPPOS[16] = "0.1";
  // STROKETBL00 ... STROKETBL16: position in inches at 4, 5, ... 20 mA.
  char STROKETBL[17][8] = {"0.0",    "0.3688", "0.7375", "1.1063", "1.4750", "1.8438",
                           "2.2125", "2.5813", "2.9500", "3.3188", "3.6875", "4.0563",
                           "4.4250", "4.7938", "5.1625", "5.5313", "5.9000"};
  char POSCMDSRC[8] = "1";
  char MOTOROVERTEMP[8] = "0";
  char ELECOVERTEMP[8] = "0";
  char ACTFAULT[8] = "0";
  char POSLOOPTUNECONST[16] = "20";
  char CURLOOPPCONST[16] = "2.0";
  char CURLOOPICONST[16] = "400";
  char CURLOOPDCONST[16] = "0";
  char VELLOOPPCONST[16] = "40";
  char VELLOOPICONST[16] = "10000";
  char VELLOOPDCONST[16] = "0";
  char MAXVEL[16] = "6";
  char MAXFORCE[16] = "1000";
  char MAXHOMEVEL[16] = "0.5";
  char MAXHOMEFORCE[16] = "500";
  char HOLDCURFORCE[16] = "250";
  char SEATINGFORCE[16] = "1000";
  char SEATFORCETIME[16] = "1000";
  char RUNLOSSVEL[16] = "2.0";
  char DMDLOSSVEL[16] = "2.0";
};

// Size of the packed page image buffer; 200, 204 or 216 bytes of it are used depending on the
// firmware version.
inline constexpr std::size_t kSetupImageBytes = 216;

// The one setup record of a run: the field texts plus what the windows that save, load, upload
// and download it need while they run. A default-constructed record holds the defaults.
struct SetupParameters : SetupFields {
  uint8_t pageImage[kSetupImageBytes] = {};
  std::string fileName;
  std::string statusText = "Loading setup parameters...";
};

// One field of a setup file: its key and where its text lives in SetupFields.
struct SetupFieldInfo {
  const char* key;
  std::size_t offset;
  std::size_t width;
};

// The 45 fields of a setup file in file order (also the order keys are matched in when reading).
// OrvikPartNo is not among them.
inline constexpr std::size_t kSetupFileFieldCount = 45;
extern const std::array<SetupFieldInfo, kSetupFileFieldCount> kSetupFileFields;

// The whole field (terminator included) that `info` describes.
std::span<char> FieldText(SetupFields& fields, const SetupFieldInfo& info);
std::span<const char> FieldText(const SetupFields& fields, const SetupFieldInfo& info);

// Copies `text` into a field; text longer than the field is cut to width - 1 characters. The
// rest of the field is zero-filled, so no stale bytes stay behind the terminator.
void SetField(std::span<char> field, std::string_view text);
template <std::size_t N>
void SetField(char (&field)[N], std::string_view text) {
  SetField(std::span<char>(field, N), text);
}

// DATETIME = the current local time as "%02d/%02d/%04d-%02d:%02d:%02d" (month, day, year, hour,
// minute, second). Used when a record is saved or downloaded.
void SetDateTimeToNow(SetupFields& fields);

// Leading-number parsing: leading blanks skipped, optional sign and digits (decimal numbers also
// a decimal point and an exponent); trailing characters ignored; no number gives 0. Integers
// saturate at the 32-bit range.
int32_t ParseLeadingInt(std::string_view text);
double ParseLeadingDouble(std::string_view text);

// Which default loop-parameter set the seven loop fields hold.
enum class DefaultLoopSet : uint16_t { None = 0, Firmware100 = 0x100, Firmware101 = 0x101 };
DefaultLoopSet RecogniseDefaultLoopSet(const SetupFields& fields);

// Code texts of the setup report and pages. The actuator type is taken modulo 16.
const char* ActuatorTypeText(int code);
const char* PositionCommandSourceText(int code);
const char* HomePositionText(int code);

}  // namespace velmar
