#include "faults/fault_config_file_load.h"

#include "faults/fault_config_units.h"

namespace velmar {

namespace {

// 126 characters and the terminating NUL.
constexpr int kLineBuffer = 127;

constexpr const char* kLoadFieldNames[kFaultValueFields] = {
    "Fault 1 High Limit", "Fault 1 Low Limit", "Fault 2 High Limit",
    "Fault 2 Low Limit",  "Persist Time 1",    "Persist Time 2"};

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The upper-cased text up to the first control character.
std::string UpperLine(const char* line) {
  std::string text;
  for (const char* p = line; !IsControl(*p); ++p) {
    text += (*p >= 'a' && *p <= 'z') ? static_cast<char>(*p - 'a' + 'A') : *p;
  }
  return text;
}

// The first and second tokens between blanks and "=".
void SplitKeyValue(const std::string& text, std::string& key, std::string& value) {
  const char* separators = " =";
  const size_t keyStart = text.find_first_not_of(separators);
  const size_t keyEnd = text.find_first_of(separators, keyStart);
  key = text.substr(keyStart, keyEnd - keyStart);
  const size_t valueStart = text.find_first_not_of(separators, keyEnd);
  value = valueStart == std::string::npos
              ? ""
              : text.substr(valueStart, text.find_first_of(separators, valueStart) - valueStart);
}

bool FindKey(const std::string& key, int& type, int& field) {
  for (type = 0; type < kFaultTypeCount; ++type) {
    for (field = 0; field < kFaultRecordWords; ++field) {
      if (key.find(std::string(kFaultTypes[type].keyPrefix) + kFaultKeySuffixes[field]) !=
          std::string::npos) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

FaultConfigFileLoad LoadFaultConfigFile(std::FILE* file, const std::function<void()>& onLine) {
  FaultConfigFileLoad load;
  char line[kLineBuffer];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    onLine();
    if (!IsLetter(line[0])) {
      continue;
    }
    std::string key;
    std::string value;
    SplitKeyValue(UpperLine(line), key, value);
    int type = 0;
    int field = 0;
    if (!FindKey(key, type, field)) {
      continue;
    }
    ++load.parameterCount;
    const FieldConversion converted = FileValueToWord(type, field, value);
    if (converted.check != LimitCheck::kAccepted) {
      load.abortText =
          std::string("Load aborted as ") + kFaultTypes[type].loadName + " " +
          kLoadFieldNames[field] + " is " +
          (converted.check == LimitCheck::kAboveMaximum ? "above maximum" : "below minimum") +
          " allowed value.";
      return load;
    }
    load.records[type].words[field] = converted.word;
  }
  return load;
}

}  // namespace velmar
