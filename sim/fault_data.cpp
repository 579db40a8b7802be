#include "fault_data.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

namespace velmar {

namespace {

// A field sets one or more words from its text; false when the text does not fit.
using FieldSetter = std::function<bool(const std::string&, uint16_t* words)>;

bool ParseInt(const std::string& text, long min, long max, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 0);
  return !text.empty() && *end == '\0' && value >= min && value <= max;
}

FieldSetter Word(size_t index, long min = -32768, long max = 65535) {
  return [index, min, max](const std::string& text, uint16_t* words) {
    long value = 0;
    if (!ParseInt(text, min, max, value)) {
      return false;
    }
    words[index] = static_cast<uint16_t>(value);
    return true;
  };
}

FieldSetter Long(size_t lowIndex) {
  return [lowIndex](const std::string& text, uint16_t* words) {
    long value = 0;
    if (!ParseInt(text, 0, 0xFFFFFFFFL, value)) {
      return false;
    }
    words[lowIndex] = static_cast<uint16_t>(value & 0xFFFF);
    words[lowIndex + 1] = static_cast<uint16_t>(value >> 16);
    return true;
  };
}

// "a?b?c" split at the separator into exactly three numbers.
bool Triple(const std::string& text, char separator, int (&parts)[3]) {
  char tail = 0;
  const std::string format = std::string("%d") + separator + "%d" + separator + "%d%c";
  return std::sscanf(text.c_str(), format.c_str(), &parts[0], &parts[1], &parts[2], &tail) == 3;
}

// "M.m" as major in the high byte, minor (hundredths) in the low byte.
bool Firmware(const std::string& text, uint16_t& word) {
  int major = 0;
  int minor = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d.%d%c", &major, &minor, &tail) != 2 || major < 0 ||
      major > 255 || minor < 0 || minor > 99) {
    return false;
  }
  word = static_cast<uint16_t>(major << 8 | minor);
  return true;
}

// Year in word 0, month in the low byte of word 1, day in the high byte of word 2.
bool Date(const std::string& text, uint16_t* w) {
  int parts[3];
  if (!Triple(text, '-', parts) || parts[0] < 0 || parts[0] > 0xFFFF || parts[1] < 0 ||
      parts[1] > 255 || parts[2] < 0 || parts[2] > 255) {
    return false;
  }
  w[0] = static_cast<uint16_t>(parts[0]);
  w[1] = static_cast<uint16_t>((w[1] & 0xFF00) | parts[1]);
  w[2] = static_cast<uint16_t>((w[2] & 0x00FF) | parts[2] << 8);
  return true;
}

bool ApplyFields(const std::string& text, const std::map<std::string, FieldSetter>& fields,
                 uint16_t* words, std::string& error) {
  std::istringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    const size_t equals = item.find('=');
    const auto field = fields.find(item.substr(0, equals));
    if (equals == std::string::npos || field == fields.end()) {
      error = "unknown field \"" + item + "\"";
      return false;
    }
    if (!field->second(item.substr(equals + 1), words)) {
      error = "invalid value in \"" + item + "\"";
      return false;
    }
  }
  return true;
}

// The sensor readings both kinds of record carry, at their word indexes.
void AddReadings(std::map<std::string, FieldSetter>& fields, size_t motor1, size_t current,
                 size_t demand, size_t p14) {
  fields["motor1"] = Word(motor1);
  fields["motor2"] = Word(motor1 + 1);
  fields["motor3"] = Word(motor1 + 2);
  fields["elec"] = Word(motor1 + 3);
  fields["current"] = Word(current);
  fields["demand"] = Word(demand);
  fields["feedback"] = Word(demand + 1);
  fields["velocity"] = Word(demand + 2);
  fields["p14"] = Word(p14);
  fields["m14"] = Word(p14 + 1);
  fields["p120"] = Word(p14 + 2);
}

}  // namespace

bool ParseLogRecord(const std::string& text, LogRecordWords& words, std::string& error) {
  words = {2024, 1, 1 << 8, 0, 0x30A, 0, 512, 512, 512, 190, 0, 0, 0, 0, 700, 0xFD44, 600};
  std::map<std::string, FieldSetter> fields{
      {"date", Date},
      {"code", Word(21, 0)},
      {"firmware", [](const std::string& value, uint16_t* w) { return Firmware(value, w[4]); }},
      {"run-hours", Long(17)},
      {"powered-hours", Long(19)},
  };
  AddReadings(fields, 6, 10, 11, 14);
  return ApplyFields(text, fields, words.data(), error);
}

bool ParseFaultFile(const std::string& text, FaultFileWords& words, std::string& error) {
  // Bytes: year, month, -, hour, day, second, minute, minor, major, flags, then the readings.
  words = {2024, 1, 1 << 8, 0, 0x205, 0, 512, 512, 512, 512, 0, 0, 0, 0, 700, 0xFD44, 600};
  std::map<std::string, FieldSetter> fields{
      {"date", Date},
      {"time",
       [](const std::string& value, uint16_t* w) {
         int parts[3];
         if (!Triple(value, ':', parts) || parts[0] < 0 || parts[0] > 255 || parts[1] < 0 ||
             parts[1] > 255 || parts[2] < 0 || parts[2] > 255) {
           return false;
         }
         w[2] = static_cast<uint16_t>((w[2] & 0xFF00) | parts[0]);
         w[3] = static_cast<uint16_t>(parts[2] | parts[1] << 8);
         return true;
       }},
      {"firmware", [](const std::string& value, uint16_t* w) { return Firmware(value, w[4]); }},
      {"flags", Word(5, 0)},
  };
  AddReadings(fields, 6, 10, 11, 14);
  return ApplyFields(text, fields, words.data(), error);
}

bool InFaultLog(size_t word) {
  return word >= kFaultLogWord && word < kFaultLogWord + kLogSlots * kLogSlotWords;
}

int LogSlotOf(size_t word) {
  return static_cast<int>((word - kFaultLogWord) / kLogSlotWords);
}

void StoreLogRecord(SimMemory& memory, int slot, const LogRecordWords& words) {
  for (size_t i = 0; i < words.size(); ++i) {
    memory.SetWord(kFaultLogWord + static_cast<size_t>(slot) * kLogSlotWords + i, words[i]);
  }
}

void StoreFaultFile(SimMemory& memory, const FaultFileWords& words) {
  for (size_t i = 0; i < words.size(); ++i) {
    memory.SetWord(kFaultFileWord + i, words[i]);
  }
}

void EraseFaultFile(SimMemory& memory) {
  FaultFileWords erased;
  erased.fill(0xFFFF);
  StoreFaultFile(memory, erased);
}

}  // namespace velmar
