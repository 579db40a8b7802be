#include "faults/fault_file_image.h"

#include <cstdio>

#include "base/little_endian.h"
#include "base/text_format.h"
#include "faults/fault_readings.h"
#include "faults/temperature.h"

namespace velmar {

namespace {

constexpr const char* kPrintedValueFormats[FaultFileImage::kTexts] = {
    "\tDate :\t\t\t%s\n",          "\tTime :\t\t\t%s\n",          "\tVersion :\t\t%s\n",
    "\tMotor Over Temp 1 :\t%s\n", "\tMotor Over Temp 2 :\t%s\n", "\tMotor Over Temp 3 :\t%s\n",
    "\tElectronics Temp :\t%s\n",  "\tMotor Current :\t\t%s\n",   "\tPosition Demand :\t%s\n",
    "\tPosition Feedback :\t%s\n", "\tVelocity :\t\t%s\n",        "\t+14 Volts :\t\t%s\n",
    "\t-14 Volts :\t\t%s\n",       "\t120 Volts : \t\t%s\n",
};

constexpr const char* kPrintedFlagLabels[FaultFileImage::kFlags] = {
    "\n\tDriver Over Current :\t", "\n\tTracking Error :\t\t",   "\n\tWatchdog Error :\t",
    "\n\tRDC Failure :\t\t",       "\n\tRetract/Extend Cmd :\t", "\n\tUnregulated Low :\t",
    "\n\t+14 Volts Low :\t\t",     "\n\t+14 Volts High :\t\t",   "\n\t-14 Volts Low :\t\t",
    "\n\t-14 Volts High :\t\t",    "\n\tInput Voltage Low :\t",  "\n\tInput Voltage High :\t",
    "\n\tDSP Failure :\t\t",       "\n\tMotor Over Temp :\t",    "\n\tElec Over Temp :\t",
};

// The save report keeps the program's own spelling of "Posttion Feedback".
constexpr const char* kSavedValueFormats[FaultFileImage::kTexts] = {
    "Setup Date            : %s", "Setup Time            : %s", "Version               : %s",
    "Motor Over Temp 1     : %s", "Motor Over Temp 2     : %s", "Motor Over Temp 3     : %s",
    "Electronics Temp      : %s", "Motor Current         : %s", "Position Demand       : %s",
    "Posttion Feedback     : %s", "Velocity              : %s", "+14 Volts             : %s",
    "-14 Volts             : %s", "+120 Volts            : %s",
};

const char* FlagText(const FaultFileImage& image, int bit) {
  return image.FlagSet(bit) ? "FAULT" : "OK";
}

}  // namespace

const std::array<const char*, FaultFileImage::kFlags> kFaultFlagCaptions = {
    "Driver Over Current", "Tracking Error",           "Watchdog Expired",
    "RDC Failure",         "Retract / Extend Command", "Unregulated Voltage Low",
    "+14 Volts Low",       "+14 Volts High",           "-14 Volts Low",
    "-14 Volts High",      "Input Voltage Low",        "Input Voltage High",
    "DSP Failure",         "Motor Over Temp",          "Electronics Over Temp",
};

const std::array<const char*, FaultFileImage::kFlags> kFaultFlagReportLabels = {
    "Driver Over Current", "Tracking Error",    "Watchdog Expired",      "RDC Failure",
    "Retract/Ext Cmd",     "Unreg Voltage Low", "+14 Volts Low",         "+14 Volts High",
    "-14 Volts Low",       "-14 Volts High",    "Input Voltage Low",     "Input Voltage High",
    "DSP Failure",         "Motor Over Temp",   "Electronics Over Temp",
};

const std::array<const char*, FaultFileImage::kTexts> kFaultFileTextLabels = {
    "Last Download Date", "Last Download Time", "Firmware Version", "Motor Temp 1", "Motor Temp 2",
    "Motor Temp 3",       "Elec Temp",          "Motor Current",    "Pos Demand",   "Pos Feedback",
    "Velocity",           "+14 Volts",          "-14 Volts",        "+120 Volts",
};

void FaultFileImage::Clear() {
  texts[0] = texts[1] = "        ";
  for (int text = 2; text < kTexts; ++text) {
    texts[text] = "    ";
  }
  flags = 0;
}

bool DecodeFaultFile(const uint8_t (&bytes)[FaultFileImage::kBytes], int thermistorMode,
                     FaultFileImage& image) {
  const unsigned year = ReadLe16(bytes);
  const unsigned month = bytes[2];
  const unsigned hour = bytes[4];
  const unsigned day = bytes[5];
  const unsigned second = bytes[6];
  const unsigned minute = bytes[7];
  if (year == 0xFFFF || year < 2000 || month < 1 || month > 12 || hour > 23 || day < 1 ||
      day > 31 || minute > 59) {
    return false;
  }
  const auto word = [&bytes](int offset) { return ReadLe16(bytes + offset); };
  const auto count = [&word](int offset) { return static_cast<int16_t>(word(offset)); };
  image.texts[0] = FormatText("%02u-%02u-%u", month, day, year);
  image.texts[1] = FormatText("%02u:%02u:%02u", hour, minute, second);
  image.texts[2] = FormatText("%d.%02d", bytes[9], bytes[8]);
  for (int sensor = 0; sensor < 4; ++sensor) {
    image.texts[3 + sensor] =
        FormatText("%d", ThermistorCountsToDegC(count(12 + 2 * sensor), thermistorMode));
  }
  image.texts[7] = FormatText("%d", MotorCurrentAmps(count(20)));
  image.texts[8] = FormatText("%u", unsigned{word(22)});
  image.texts[9] = FormatText("%u", unsigned{word(24)});
  image.texts[10] = FormatText("%u", unsigned{word(26)});
  image.texts[11] = FormatText("%.2f", Supply14Volts(count(28)));
  image.texts[12] = FormatText("%.2f", Supply14Volts(count(30)));
  image.texts[13] = FormatText("%.2f", Supply120Volts(count(32)));
  image.flags = word(10);
  return true;
}

std::string FaultFileReportText(const FaultFileImage& image, UploadOutcome upload) {
  const char* substitute = upload == UploadOutcome::CommunicationError ? "COMMUNICATION ERROR"
                           : upload == UploadOutcome::NoFaultFile      ? "NO FAULT FILE TO UPLOAD "
                                                                       : nullptr;
  const bool nothingUploaded = upload == UploadOutcome::NotRun && image.texts[0][0] == ' ' &&
                               image.texts[1][0] == ' ' && image.texts[2][0] == ' ';
  std::string report = "\n\n\n\tActuator Fault File Data\n\n";
  for (int text = 0; text < FaultFileImage::kTexts; ++text) {
    report += FormatText(kPrintedValueFormats[text],
                         substitute != nullptr ? substitute : image.texts[text].c_str());
  }
  for (int bit = 0; bit < FaultFileImage::kFlags; ++bit) {
    report += kPrintedFlagLabels[bit];
    if (substitute != nullptr) {
      report += substitute;
    } else if (!nothingUploaded) {
      report += FlagText(image, bit);
    }
  }
  return report + "\n\n";
}

std::vector<std::string> FaultFileReportLines(const FaultFileImage& image) {
  std::vector<std::string> lines = {"Fault File Report", ""};
  for (int text = 0; text < FaultFileImage::kTexts; ++text) {
    lines.push_back(FormatText(kSavedValueFormats[text], image.texts[text].c_str()));
  }
  lines.emplace_back();
  for (int bit = 0; bit < FaultFileImage::kFlags; ++bit) {
    lines.push_back(FormatText("%-22s: %s", kFaultFlagReportLabels[bit], FlagText(image, bit)));
  }
  return lines;
}

}  // namespace velmar
