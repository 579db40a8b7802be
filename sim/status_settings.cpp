#include "status_settings.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>

namespace velmar {

namespace {

bool ParseNumber(const std::string& text, long long low, long long high, long long& value) {
  const bool hex = text.find("0x") != std::string::npos;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
  return !text.empty() && *end == '\0' && errno == 0 && value >= low && value <= high;
}

template <typename T>
std::function<bool(const std::string&, StatusValues&)> Field(T StatusValues::*field, long long low,
                                                             long long high) {
  return [field, low, high](const std::string& text, StatusValues& status) {
    long long value = 0;
    if (!ParseNumber(text, low, high, value)) {
      return false;
    }
    status.*field = static_cast<T>(value);
    return true;
  };
}

std::function<bool(const std::string&, StatusValues&)> MotorTemperature(int index) {
  return [index](const std::string& text, StatusValues& status) {
    long long value = 0;
    if (!ParseNumber(text, 0, UINT16_MAX, value)) {
      return false;
    }
    status.motorTemperature[index] = static_cast<uint16_t>(value);
    return true;
  };
}

const std::map<std::string, std::function<bool(const std::string&, StatusValues&)>>& Fields() {
  static const std::map<std::string, std::function<bool(const std::string&, StatusValues&)>> fields{
      {"motor-temp1", MotorTemperature(0)},
      {"motor-temp2", MotorTemperature(1)},
      {"motor-temp3", MotorTemperature(2)},
      {"elec-temp", Field(&StatusValues::electronicsTemperature, 0, UINT16_MAX)},
      {"motor-current", Field(&StatusValues::motorCurrent, INT16_MIN, INT16_MAX)},
      {"demand", Field(&StatusValues::positionDemand, INT32_MIN, UINT32_MAX)},
      {"position", Field(&StatusValues::position, INT32_MIN, UINT32_MAX)},
      {"flags", Field(&StatusValues::otherFlags, 0, UINT16_MAX)},
      {"plus14", Field(&StatusValues::plus14V, INT16_MIN, INT16_MAX)},
      {"minus14", Field(&StatusValues::minus14V, INT16_MIN, INT16_MAX)},
      {"plus120", Field(&StatusValues::plus120V, INT16_MIN, INT16_MAX)},
      {"fault-bits", Field(&StatusValues::faultBits, 0, UINT16_MAX)},
      {"travel", Field(&StatusValues::travelCountsPerSecond, 0, UINT32_MAX)},
  };
  return fields;
}

}  // namespace

bool SetStatusValue(const std::string& assignment, StatusValues& status, std::string& error) {
  const size_t equals = assignment.find('=');
  const std::string name = assignment.substr(0, equals);
  const auto field = Fields().find(name);
  if (equals == std::string::npos || field == Fields().end()) {
    error = "unknown status value \"" + name + "\"";
    return false;
  }
  if (!field->second(assignment.substr(equals + 1), status)) {
    error = "invalid status value \"" + assignment + "\"";
    return false;
  }
  return true;
}

bool LoadStatusFile(const std::string& path, StatusValues& status, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  StatusValues loaded = status;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
      line.pop_back();
    }
    if (line.empty() || line[0] == '#') {
      continue;
    }
    if (!SetStatusValue(line, loaded, error)) {
      error = path + ":" + std::to_string(number) + ": " + error;
      return false;
    }
  }
  status = loaded;
  return true;
}

bool ParseStatusFault(const std::string& text, StatusFault& fault, int& count) {
  static const std::map<std::string, StatusFault> kinds{{"short", StatusFault::kShort},
                                                        {"long", StatusFault::kLong},
                                                        {"bad-check", StatusFault::kBadCheck},
                                                        {"wrong-code", StatusFault::kWrongCode}};
  const size_t colon = text.find(':');
  const auto kind = kinds.find(text.substr(0, colon));
  long long replies = -1;
  if (kind == kinds.end() ||
      (colon != std::string::npos && !ParseNumber(text.substr(colon + 1), 1, 1000000, replies))) {
    return false;
  }
  fault = kind->second;
  count = static_cast<int>(replies);
  return true;
}

}  // namespace velmar
