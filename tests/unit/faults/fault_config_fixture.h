#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "faults/fault_config_editor.h"
#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar::test {

// The dialog's model over an in-process actuator whose CRC frames the link has learnt, on
// virtual time.
struct FaultConfigFixture {
  explicit FaultConfigFixture(bool viewOnly = false)
      : editor(FaultConfigPorts{link, clock, ui}, viewOnly) {
    link.OpenPort(1, 19200);
    link.SendFirmwareVersionRequestCrc();
    link.ReceiveFirmwareVersion();
    driver.writes.clear();
  }

  // The writing requests sent, decoded: "enable", "disable", "0x0500: 807 0 969" (byte address
  // and words of a WriteWords).
  std::vector<std::string> Writes() const {
    std::vector<std::string> lines;
    for (const std::vector<uint8_t>& frame : driver.writes) {
      if (frame.size() < 3) {
        continue;
      }
      if (frame[1] == kWriteEnable || frame[1] == kWriteDisable) {
        lines.push_back(frame[1] == kWriteEnable ? "enable" : "disable");
      } else if (frame[1] == kWriteWords) {
        char text[32];
        std::snprintf(text, sizeof text, "0x%04X:", 2 * (frame[3] | frame[4] << 8));
        std::string line = text;
        for (size_t i = 5; i + 3 < frame.size(); i += 2) {  // CRC form: two check bytes
          line += " " + std::to_string(frame[i] | frame[i + 1] << 8);
        }
        lines.push_back(line);
      }
    }
    return lines;
  }

  // Words 0..6 of the slot at `address` in the actuator's memory.
  std::vector<int> MemoryRecord(uint16_t address) const {
    std::vector<int> words;
    for (int i = 0; i < 7; ++i) {
      words.push_back(actuator.Memory().Word(address / 2 + i));
    }
    return words;
  }

  VirtualClock clock;
  SimulatedActuator actuator;
  SimSerialDriver driver{actuator, clock};
  SerialPort port{driver};
  ActuatorLink link{port, clock};
  RecordingUi ui;
  FaultConfigEditor editor;
};

}  // namespace velmar::test
