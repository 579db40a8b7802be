#include "monitor/memory_access.h"

#include <cstdio>
#include <cstdlib>

namespace velmar {

namespace {
constexpr const char* kProgramError = "Program Error";
}  // namespace

bool ParseMemoryNumber(const std::string& text, uint16_t& value) {
  const bool hex = text.find("0x") != std::string::npos;
  char* end = nullptr;
  const long long number = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
  value = static_cast<uint16_t>(number & 0xFFFF);
  return end != text.c_str();
}

bool MemoryAccess::Read(const std::string& addressText, bool hex, std::string& dataText) {
  uint16_t address = 0;
  ParseMemoryNumber(addressText, address);
  uint16_t value = 0;
  if (link_.ReadMemoryWord(address, value) != LinkResult::kSuccess) {
    ui_.ShowMessage(MessageKind::Warning, "Read Actuator memory error.", kProgramError);
    return false;
  }
  char text[16];
  std::snprintf(text, sizeof text, hex ? "0x%04X" : "%d", value);
  dataText = text;
  return true;
}

bool MemoryAccess::Write(const std::string& addressText, const std::string& dataText) {
  uint16_t address = 0;
  uint16_t value = 0;
  if (!ParseMemoryNumber(addressText, address) || !ParseMemoryNumber(dataText, value)) {
    ui_.ShowMessage(MessageKind::Warning, kNoNumberText, kProgramError);
    return false;
  }
  if (link_.WriteMemoryWord(address, value) != LinkResult::kSuccess) {
    ui_.ShowMessage(MessageKind::Warning, "Write Actuator memory error.", kProgramError);
    return false;
  }
  return true;
}

}  // namespace velmar
