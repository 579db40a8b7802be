#include "sim_options.h"

#include "factory_state.h"
#include "link/firmware_versions.h"
#include "status_settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

namespace velmar {

namespace {

// Decimal, or hexadecimal with a 0x prefix; the whole text must be the number.
bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t& value, bool allowHex = true) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') {
    return false;
  }
  const bool hex =
      allowHex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  errno = 0;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || end == text.c_str() || *end != '\0' || parsed > max) {
    return false;
  }
  value = parsed;
  return true;
}

// "M.m": the minor part is a number of hundredths, so "2.5" and "2.05" are both 2.05.
bool ParseFirmware(const std::string& text, SimOptions& options) {
  ActuatorState& state = options.state;
  const size_t dot = text.find('.');
  uint64_t major = 0;
  uint64_t minor = 0;
  if (dot == std::string::npos || !ParseUnsigned(text.substr(0, dot), 255, major, false) ||
      !ParseUnsigned(text.substr(dot + 1), 99, minor, false)) {
    return false;
  }
  state.firmwareMajor = static_cast<uint8_t>(major);
  state.firmwareMinor = static_cast<uint8_t>(minor);
  options.firmwareGiven = true;
  return true;
}

// Room temperature, what an idle unit on the bench reads.
constexpr int kRoomDegC = 25;

// The frame mode decides the firmware when none is given (and the other way round): 2.06 is the
// last sum-mode firmware with every hour meter; 1.00 speaks sum mode only, 3.10 and later CRC
// mode only, as their setup transfers do.
bool ResolveFirmwareAndMode(SimOptions& options, std::string& error) {
  ActuatorState& state = options.state;
  const bool sum = state.frameMode == FrameMode::kSum;
  if (sum && !options.firmwareGiven) {
    state.firmwareMajor = 2;
    state.firmwareMinor = 6;
  }
  const int version = state.firmwareMajor * 256 + state.firmwareMinor;
  if (!options.modeGiven && version <= kFirmware100) {
    state.frameMode = FrameMode::kSum;
  }
  char firmware[8];
  std::snprintf(firmware, sizeof firmware, "%d.%02d", state.firmwareMajor, state.firmwareMinor);
  if (sum && version >= kFirmware310) {
    error = std::string("firmware ") + firmware +
            " has no sum-mode link (3.10 and later speak CRC mode only); give --firmware 1.00 "
            "to 3.09 with --mode sum";
    return false;
  }
  if (state.frameMode == FrameMode::kCrc && version <= kFirmware100) {
    error = std::string("firmware ") + firmware +
            " has no CRC-mode link (1.00 and earlier speak sum mode only); give --mode sum or "
            "--firmware 1.01 or later";
    return false;
  }
  return true;
}

void SetRoomTemperatures(SimOptions& options) {
  const int version = options.state.firmwareMajor * 256 + options.state.firmwareMinor;
  StatusValues& status = options.state.status;
  for (int motor = 0; motor < 3; ++motor) {
    if (!options.statusNames.contains("motor-temp" + std::to_string(motor + 1))) {
      status.motorTemperature[motor] = MotorCountsAt(kRoomDegC, version);
    }
  }
  if (!options.statusNames.contains("elec-temp")) {
    status.electronicsTemperature = ElectronicsCountsAt(kRoomDegC, version);
  }
}

using Setter = std::function<bool(const std::string&, SimOptions&)>;

template <typename T>
Setter StateNumber(T ActuatorState::*field, uint64_t max) {
  return [field, max](const std::string& text, SimOptions& options) {
    uint64_t value = 0;
    if (!ParseUnsigned(text, max, value)) {
      return false;
    }
    options.state.*field = static_cast<T>(value);
    return true;
  };
}

Setter Text(std::optional<std::string> SimOptions::*field, size_t maxChars) {
  return [field, maxChars](const std::string& text, SimOptions& options) {
    if (text.size() > maxChars) {
      return false;
    }
    options.*field = text;
    return true;
  };
}

const std::map<std::string, Setter>& Setters() {
  static const std::map<std::string, Setter> setters{
      {"--firmware",
       [](const std::string& text, SimOptions& options) { return ParseFirmware(text, options); }},
      {"--mode",
       [](const std::string& text, SimOptions& options) {
         if (text != "sum" && text != "crc") {
           return false;
         }
         options.state.frameMode = text == "sum" ? FrameMode::kSum : FrameMode::kCrc;
         options.modeGiven = true;
         return true;
       }},
      {"--state",
       [](const std::string& text, SimOptions& options) {
         static const std::map<std::string, ModeState> states{{"reset", ModeState::kReset},
                                                              {"run-on", ModeState::kRunOn},
                                                              {"run-off", ModeState::kRunOff}};
         const auto found = states.find(text);
         if (found == states.end()) {
           return false;
         }
         options.state.modeState = found->second;
         return true;
       }},
      {"--serial",
       [](const std::string& text, SimOptions& options) {
         uint64_t value = 0;
         if (!ParseUnsigned(text, UINT32_MAX, value)) {
           return false;
         }
         options.serialNumber = static_cast<uint32_t>(value);
         return true;
       }},
      {"--model", Text(&SimOptions::modelNumber, kModelNumberChars)},
      {"--part", Text(&SimOptions::partNumber, kPartNumberChars)},
      {"--run-hours", StateNumber(&ActuatorState::runHours, UINT32_MAX)},
      {"--powered-hours", StateNumber(&ActuatorState::poweredHours, UINT32_MAX)},
      {"--span", StateNumber(&ActuatorState::span, UINT32_MAX)},
      {"--max-force", StateNumber(&ActuatorState::maxForce, UINT16_MAX)},
      {"--log-record",
       [](const std::string& text, SimOptions& options) {
         const size_t colon = text.find(':');
         uint64_t record = 0;
         LogRecordWords words{};
         std::string error;
         if (!ParseUnsigned(text.substr(0, colon), kLogSlots, record, false) || record < 1 ||
             !ParseLogRecord(colon == std::string::npos ? "" : text.substr(colon + 1), words,
                             error)) {
           return false;
         }
         options.logRecords.emplace_back(static_cast<int>(record - 1), words);
         return true;
       }},
      {"--fault-file",
       [](const std::string& text, SimOptions& options) {
         FaultFileWords words{};
         std::string error;
         if (!ParseFaultFile(text, words, error)) {
           return false;
         }
         options.faultFile = words;
         return true;
       }},
      {"--fail-log-slot",
       [](const std::string& text, SimOptions& options) {
         uint64_t record = 0;
         if (!ParseUnsigned(text, kLogSlots, record, false) || record < 1) {
           return false;
         }
         options.state.failingLogSlot = static_cast<int>(record - 1);
         return true;
       }},
      {"--corrupt-write",
       [](const std::string& text, SimOptions& options) {
         uint64_t word = 0;
         if (!ParseUnsigned(text, kMemoryWords - 1, word)) {
           return false;
         }
         options.state.corruptWrittenWord = static_cast<int>(word);
         return true;
       }},
      {"--memory",
       [](const std::string& text, SimOptions& options) {
         options.memoryPath = text;
         return !text.empty();
       }},
      {"--link",
       [](const std::string& text, SimOptions& options) {
         options.linkPath = text;
         return !text.empty();
       }},
      {"--trace",
       [](const std::string& text, SimOptions& options) {
         options.tracePath = text;
         return !text.empty();
       }},
      {"--status",
       [](const std::string& text, SimOptions& options) {
         std::string error;
         if (!SetStatusValue(text, options.state.status, error)) {
           return false;
         }
         options.statusNames.insert(text.substr(0, text.find('=')));
         return true;
       }},
      {"--status-file",
       [](const std::string& text, SimOptions& options) {
         options.statusPath = text;
         return !text.empty();
       }},
      {"--status-fault",
       [](const std::string& text, SimOptions& options) {
         return ParseStatusFault(text, options.statusFault, options.statusFaultCount);
       }},
      {"--lose-requests",
       [](const std::string& text, SimOptions& options) {
         const size_t colon = text.find(':');
         uint64_t after = 0;
         uint64_t count = 0;
         if (colon == std::string::npos ||
             !ParseUnsigned(text.substr(0, colon), INT32_MAX, after, false) ||
             !ParseUnsigned(text.substr(colon + 1), INT32_MAX, count, false)) {
           return false;
         }
         options.loseAfter = static_cast<int>(after);
         options.loseCount = static_cast<int>(count);
         return true;
       }},
      {"--baud",
       [](const std::string& text, SimOptions& options) {
         uint64_t value = 0;
         if (!ParseUnsigned(text, 4'000'000, value) || value < 50) {
           return false;
         }
         options.timing.baud = static_cast<int>(value);
         return true;
       }},
  };
  return setters;
}

}  // namespace

ParseOutcome ParseSimOptions(int argc, const char* const* argv, SimOptions& options,
                             std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      return ParseOutcome::kHelp;
    }
    if (name == "--blank") {
      options.blank = true;
      continue;
    }
    std::optional<std::string> value;
    const size_t equals = name.find('=');
    if (equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    const auto setter = Setters().find(name);
    if (setter == Setters().end()) {
      error = "unknown option " + name;
      return ParseOutcome::kError;
    }
    if (!value) {
      if (i + 1 >= argc) {
        error = "option " + name + " needs a value";
        return ParseOutcome::kError;
      }
      value = argv[++i];
    }
    if (!setter->second(*value, options)) {
      error = "invalid value \"" + *value + "\" for " + name;
      return ParseOutcome::kError;
    }
  }
  if (!ResolveFirmwareAndMode(options, error)) {
    return ParseOutcome::kError;
  }
  SetRoomTemperatures(options);
  return ParseOutcome::kRun;
}

std::string SimUsage() {
  return "Usage: velmar-sim [options]\n"
         "Simulates a Velmar actuator on a pseudo-terminal. Prints the terminal's device path\n"
         "as the first line, then serves requests until SIGINT or SIGTERM.\n"
         "\n"
         "  --firmware M.m      firmware version (default 3.10, with --mode sum 2.06; \"2.5\"\n"
         "                      means 2.05)\n"
         "  --mode sum|crc      frame format the actuator speaks (default crc; sum for\n"
         "                      firmware 1.00); sum mode needs firmware before 3.10, CRC\n"
         "                      mode firmware 1.01 or later\n"
         "  --state reset|run-on|run-off   operating mode (default reset)\n"
         "  --serial N          serial number (default 12345)\n"
         "  --model TEXT        model number, up to 12 characters (default LMX4100-262K)\n"
         "  --part TEXT         part number, up to 16 characters (default 5000000-000)\n"
         "  --run-hours N       run hours (default 0)\n"
         "  --powered-hours N   powered hours (default 0)\n"
         "  --span N            span in position counts (default 1966079)\n"
         "  --max-force N       maximum force in force counts (default 807)\n"
         "  --log-record N:F=V,...  stores fault log record N (1..16) from fields date=Y-M-D,\n"
         "                      code, firmware=M.m, motor1..3, elec, current, demand, feedback,\n"
         "                      velocity, p14, m14, p120 (raw counts), run-hours, powered-hours\n"
         "  --fault-file F=V,...  stores the fault file from date=Y-M-D, time=H:M:S,\n"
         "                      firmware=M.m, flags and the log record's readings\n"
         "  --fail-log-slot N   refuses writes into fault log slot N (1..16)\n"
         "  --corrupt-write W  stores memory word W (0..4095) with its lowest bit flipped "
         "whenever\n"
         "                      it is written, so it reads back different\n"
         "  --memory FILE       parameter memory image of 8192 bytes: loaded at start if it\n"
         "                      exists, saved on every setup commit and at exit\n"
         "  --blank             start with a zero setup image instead of the demo\n"
         "                      configuration 1045210-001 packed for the firmware\n"
         "  --link PATH         symbolic link to the device, replaced if it is a link,\n"
         "                      removed at exit\n"
         "  --trace FILE        appends every request received and reply sent to FILE, one\n"
         "                      line each (default $VELMAR_TRACE)\n"
         "  --baud B            line rate that paces the replies (default 19200)\n"
         "  --status NAME=VALUE a status reply value (repeatable): motor-temp1, motor-temp2,\n"
         "                      motor-temp3, elec-temp, motor-current, demand, position, flags,\n"
         "                      plus14, minus14, plus120, fault-bits (raw counts), travel\n"
         "                      (position counts a second toward the demand; default 196608);\n"
         "                      temperatures not given read 25 degrees C on the firmware's curves\n"
         "  --status-file FILE  NAME=VALUE lines, read at start and whenever FILE changes\n"
         "  --status-fault KIND[:N]  damage the status replies (the next N only):\n"
         "                      short, long, bad-check or wrong-code\n"
         "  --lose-requests N:C after N understood requests, lose the next C (no reply,\n"
         "                      not carried out)\n"
         "  --help              this text\n"
         "\n"
         "Identification given on the command line overrides the memory file; the defaults\n"
         "and the demo setup apply only when there is no memory file.\n";
}

void ApplyIdentification(const SimOptions& options, SimMemory& memory) {
  if (options.serialNumber) {
    memory.SetSerialNumber(*options.serialNumber);
  }
  if (options.modelNumber) {
    memory.SetModelNumber(*options.modelNumber);
  }
  if (options.partNumber) {
    memory.SetPartNumber(*options.partNumber);
  }
}

void ApplyFaultData(const SimOptions& options, SimMemory& memory) {
  for (const auto& [slot, words] : options.logRecords) {
    StoreLogRecord(memory, slot, words);
  }
  if (options.faultFile) {
    StoreFaultFile(memory, *options.faultFile);
  }
}

}  // namespace velmar
