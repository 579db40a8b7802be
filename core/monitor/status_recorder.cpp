#include "monitor/status_recorder.h"

#include <cstdio>

namespace velmar {

std::string StatusRecorder::Row(int64_t timeMs, const StatusDisplay& display, uint16_t faultBits) {
  char time[32];
  std::snprintf(time, sizeof time, "%lld.%03lld", static_cast<long long>(timeMs / 1000),
                static_cast<long long>(timeMs % 1000));
  std::string row = time;
  for (const StatusField& field : display.fields) {
    row += "," + field.text;
  }
  char bits[16];
  std::snprintf(bits, sizeof bits, "0x%04X", faultBits);
  return row + "," + display.ModeName() + "," + bits + "\n";
}

bool StatusRecorder::Start(const std::string& path) {
  file_ = std::make_unique<ReplacingFile>();
  recording_ = file_->Open(path) && file_->Write(kHeader);
  return recording_;
}

bool StatusRecorder::Add(int64_t timeMs, const StatusDisplay& display, uint16_t faultBits) {
  return recording_ && file_->Write(Row(timeMs, display, faultBits));
}

bool StatusRecorder::Stop() {
  const bool written = recording_ && file_->Commit();
  recording_ = false;
  file_.reset();
  return written;
}

}  // namespace velmar
