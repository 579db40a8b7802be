#pragma once

#include <functional>
#include <string>

#include "app/clock.h"
#include "app/ui.h"
#include "link/actuator_link.h"
#include "link/serial_driver.h"
#include "link/serial_port.h"

namespace velmar {

// The program's long-lived state, created once at start-up and handed by reference to every
// command: the serial port and the actuator link, and what the main window keeps between
// commands.
class Session {
 public:
  Session(SerialDriver& driver, Clock& clock, Ui& ui);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Asks for the firmware version, alternating the current-mode and the CRC form of the request
  // over 6 attempts. 0 with `link.firmwareVersion` updated, 1 when no reply came.
  int VerifyCommunication();

  // Takes a good version reply's version: stores it and, when it differs from the version the
  // configuration list was last built for, rebuilds the list.
  void AcceptFirmwareVersion(int version);

  Clock& clock;
  Ui& ui;
  SerialPort serialPort;
  ActuatorLink link;

  // The firmware version the configuration list was last built for; -1 before the first reply.
  int lastPollVersion = -1;
  // Serial number of the last uploaded actuator; "00000" forbids a download.
  std::string serialNumber = "00000";
  // No command of this edition sets it: fault configuration stays view-only and the service
  // commands answer "Feature not available.".
  bool serviceMode = false;

  // Rebuilds the configuration list for a newly seen firmware version.
  std::function<void(int firmwareVersion)> rebuildConfigList;
};

}  // namespace velmar
