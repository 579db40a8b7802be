#pragma once

#include <cstdint>

#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "monitor/status_display.h"
#include "monitor/status_reading.h"

namespace velmar {

// The status window's polling without widgets: a request on every second 750 ms tick, the reply
// read on the tick after it when exactly a status frame is waiting, the two lamps, and the
// no-data display after more than 6 ticks without a good reply. The window's timer (or the
// command line) calls Tick().
class StatusMonitor {
 public:
  static constexpr int kTickMs = 750;
  static constexpr int kNoDataTicks = 6;

  // What one tick did.
  enum class TickResult {
    Sent,        // a status request went out
    Reading,     // a good status frame gave new values
    OtherReply,  // a good frame of another code: the lamps and the count only
    Damaged,     // 33 bytes whose check failed
    Discarded,   // any other count was waiting and has been thrown away
  };

  // `span` and `firmwareVersion` as the opening command read them.
  StatusMonitor(ActuatorLink& link, SerialPort& serialPort, uint32_t span, int firmwareVersion);

  // The window's start-up: no-data values and display, the count at 0, the lamps out, stale
  // bytes read and thrown away.
  void Start();
  TickResult Tick();

  uint32_t span() const { return span_; }
  int firmwareVersion() const { return firmwareVersion_; }

  StatusReading values;
  StatusDisplay display;
  int tickCount = 0;
  bool transmit = false;
  bool receive = false;

 private:
  TickResult Listen();
  void Refresh();

  ActuatorLink& link_;
  SerialPort& serialPort_;
  uint32_t span_;
  int firmwareVersion_;
};

}  // namespace velmar
