#pragma once

#include <cstdint>
#include <functional>

#include "link/serial_port.h"
#include "monitor/status_monitor.h"
#include "ports/clock.h"

namespace velmar {

// Paces a StatusMonitor for the command line: one tick every `intervalMs`, or with an interval
// of 0 the tick that reads a reply as soon as a whole status frame is waiting (waiting at most
// one dialog tick for it) and every other tick at once, for readings at the speed of the link.
class StatusWatch {
 public:
  StatusWatch(StatusMonitor& monitor, SerialPort& serialPort, Clock& clock, int intervalMs)
      : monitor_(monitor), serialPort_(serialPort), clock_(clock), intervalMs_(intervalMs) {}

  // Ticks until the monitor takes a good reading (true) or shows no data after more than 6 ticks
  // without one (false). `stopRequested` is asked before every tick; true ends the wait (false).
  bool NextReading(const std::function<bool()>& stopRequested);

  // Milliseconds from the first status request to the last reading.
  int64_t ReadingTimeMs() const { return readingMs_ - firstRequestMs_; }

 private:
  void WaitForReply();

  StatusMonitor& monitor_;
  SerialPort& serialPort_;
  Clock& clock_;
  int intervalMs_;
  bool ticked_ = false;
  int64_t firstRequestMs_ = -1;
  int64_t readingMs_ = 0;
};

}  // namespace velmar
