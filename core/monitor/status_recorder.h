#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/replacing_file.h"
#include "monitor/status_display.h"

namespace velmar {

// Records status readings as CSV: a header, then one row per good reading with the texts the
// window shows, the mode and the fault bits. The file appears, whole, when the recording stops.
class StatusRecorder {
 public:
  static constexpr const char* kHeader =
      "time_s,motor_current_a,position_pct,demand_pct,motor_temp1_c,motor_temp2_c,"
      "motor_temp3_c,elec_temp_c,p14_v,n14_v,p120_v,mode,fault_bits\n";

  // One row: `timeMs` since the first request.
  static std::string Row(int64_t timeMs, const StatusDisplay& display, uint16_t faultBits);

  // False when the file cannot be started. A recorder may record one file after another.
  bool Start(const std::string& path);
  bool Recording() const { return recording_; }
  // False once a write has failed; the recording then ends without a file.
  bool Add(int64_t timeMs, const StatusDisplay& display, uint16_t faultBits);
  // Completes the file; false when it could not be written.
  bool Stop();

 private:
  std::unique_ptr<ReplacingFile> file_;
  bool recording_ = false;
};

}  // namespace velmar
