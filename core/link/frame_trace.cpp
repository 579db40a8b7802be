#include "link/frame_trace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velmar {

namespace {

constexpr uint8_t kSoh = 0x01;

struct CodeName {
  uint8_t code;
  const char* name;
};

// Request and reply codes share one table: the only code used both ways is the firmware
// version's, and the direction tells the two apart.
constexpr CodeName kCodeNames[] = {
    {0x05, "write-enable"},
    {0x06, "ack"},
    {0x07, "nak"},
    {0x08, "write-disable"},
    {0x09, "write-words"},
    {0x0A, "commit-setup"},
    {0x0B, "prepare-upload"},
    {0x0C, "read-words"},
    {0x0D, "words"},
    {0x0E, "write-done"},
    {0x10, "firmware-version"},
    {0x11, "clear-faults"},
    {0x12, "span"},
    {0x13, "status"},
    {0x14, "max-force"},
    {0x15, "run-hours"},
    {0x16, "reset-run-hours"},
    {0x17, "powered-hours"},
    {0x19, "read-memory"},
    {0x1A, "write-memory"},
    {0x32, "span-reply"},
    {0x33, "status-reply"},
    {0x34, "max-force-reply"},
    {0x35, "run-hours-reply"},
    {0x36, "memory-reply"},
    {0x37, "powered-hours-reply"},
};

std::string CodeName(uint8_t code) {
  for (const auto& entry : kCodeNames) {
    if (entry.code == code) {
      return entry.name;
    }
  }
  return "unknown";
}

}  // namespace

std::string FrameName(const uint8_t* bytes, int length) {
  if (length >= 2 && bytes[0] == kSoh) {
    return CodeName(bytes[1]);
  }
  if (length >= 3 && bytes[1] == kSoh) {
    return "stray-byte+" + CodeName(bytes[2]);
  }
  return "no-frame";
}

bool FrameTrace::OpenRequested(const std::string& option, std::unique_ptr<FrameTrace>& trace,
                               std::string& error) {
  const char* environment = std::getenv("VELMAR_TRACE");
  const std::string path = option.empty() && environment != nullptr ? environment : option;
  if (path.empty()) {
    return true;
  }
  std::FILE* file = std::fopen(path.c_str(), "a");
  if (file == nullptr) {
    error = "cannot open trace file " + path + ": " + std::strerror(errno);
    return false;
  }
  trace.reset(new FrameTrace(file));
  return true;
}

FrameTrace::~FrameTrace() {
  std::fclose(file_);
}

std::string FrameTrace::Line(int64_t ms, TraceDirection direction, const uint8_t* bytes,
                             int length) {
  std::string line = std::to_string(ms);
  line += direction == TraceDirection::kSent ? " TX" : " RX";
  char hex[4];
  for (int i = 0; i < length; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    line += hex;
  }
  line += " [" + FrameName(bytes, length) + "]";
  return line;
}

void FrameTrace::Record(int64_t ms, TraceDirection direction, const uint8_t* bytes, int length) {
  std::fprintf(file_, "%s\n", Line(ms, direction, bytes, length).c_str());
  std::fflush(file_);
}

}  // namespace velmar
