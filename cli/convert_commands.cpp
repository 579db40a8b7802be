#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_context.h"
#include "faults/temperature.h"

namespace velmar {

namespace {

// A whole word as a 16-bit value, read as the conversion windows read it: hexadecimal when it
// holds an "x" ("0x" allowed), else decimal. Raw words up to 65535 read as their signed value.
bool ParseWord(const std::string& text, long high, int16_t& value) {
  const bool hex = text.find_first_of("xX") != std::string::npos;
  char* end = nullptr;
  errno = 0;
  const long number = std::strtol(text.c_str(), &end, hex ? 16 : 10);
  if (text.empty() || *end != '\0' || errno != 0 || number < INT16_MIN || number > high) {
    return false;
  }
  value = static_cast<int16_t>(number);
  return true;
}

// Takes the sole argument as a 16-bit word; kExitOk or a usage error.
int TakeWord(CliContext& context, CommandArgs& args, const char* name, long high, int16_t& value) {
  std::string text;
  if (int status = context.TakeLastArgument(args, name, text); status != kExitOk) {
    return status;
  }
  if (!ParseWord(text, high, value)) {
    return context.UsageError(std::string(name) + " must be a 16-bit number, not '" + text + "'");
  }
  return kExitOk;
}

int CountsToDegC(CliContext& context, CommandArgs& args) {
  std::string modeText = "2";
  args.TakeOption("--mode", modeText);
  int16_t counts = 0;
  if (int status = TakeWord(context, args, "COUNTS", UINT16_MAX, counts); status != kExitOk) {
    return status;
  }
  if (modeText != "1" && modeText != "2") {
    return context.UsageError("--mode takes 1 or 2");
  }
  std::printf("%d\n", ThermistorCountsToDegC(counts, modeText == "1" ? 1 : 2));
  return kExitOk;
}

// The two searches from degrees to thermistor counts.
template <int (*convert)(int16_t)>
int DegCToCounts(CliContext& context, CommandArgs& args) {
  int16_t degC = 0;
  if (int status = TakeWord(context, args, "DEGC", INT16_MAX, degC); status != kExitOk) {
    return status;
  }
  std::printf("%d\n", convert(degC));
  return kExitOk;
}

int ElecCountsToDegCCommand(CliContext& context, CommandArgs& args) {
  int16_t counts = 0;
  if (int status = TakeWord(context, args, "COUNTS", UINT16_MAX, counts); status != kExitOk) {
    return status;
  }
  std::printf("%.2f\n", ElecCountsToDegC(counts));
  return kExitOk;
}

int DegCToElecCountsCommand(CliContext& context, CommandArgs& args) {
  std::string text;
  if (int status = context.TakeLastArgument(args, "DEGC", text); status != kExitOk) {
    return status;
  }
  char* end = nullptr;
  const double degC = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(degC)) {
    return context.UsageError("DEGC must be a number, not '" + text + "'");
  }
  std::printf("%.2f\n", DegCToElecCounts(degC));
  return kExitOk;
}

}  // namespace

std::vector<CliCommand> ConvertCommands() {
  return {
      {"convert counts-to-degc", "convert counts-to-degc COUNTS [--mode 1|2]",
       "Converts thermistor ADC counts to degrees C (mode 2 by default).", CountsToDegC},
      {"convert degc-to-counts", "convert degc-to-counts DEGC",
       "Converts degrees C to thermistor ADC counts.", DegCToCounts<DegCToThermistorCounts>},
      {"convert window-degc-to-counts", "convert window-degc-to-counts DEGC",
       "Converts degrees C to thermistor ADC counts as the conversion window does.",
       DegCToCounts<WindowDegCToThermistorCounts>},
      {"convert elec-counts-to-degc", "convert elec-counts-to-degc COUNTS",
       "Converts electronics temperature ADC counts to degrees C.", ElecCountsToDegCCommand},
      {"convert degc-to-elec-counts", "convert degc-to-elec-counts DEGC",
       "Converts degrees C to electronics temperature ADC counts.", DegCToElecCountsCommand},
  };
}

}  // namespace velmar
