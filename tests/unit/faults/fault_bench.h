#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fault_data.h"
#include "link/actuator_link.h"
#include "link/serial_port.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar::test {

// A link to an in-process actuator of the given firmware, with a recording Ui, in virtual time.
struct FaultBench {
  FaultBench(uint8_t major, uint8_t minor) {
    actuator.State().firmwareMajor = major;
    actuator.State().firmwareMinor = minor;
    link.OpenPort(1, 19200);
    // The handshake that learns the frame mode, as the main window's checks make it.
    link.SendFirmwareVersionRequestCrc();
    link.ReceiveFirmwareVersion();
    link.SetFirmwareVersion(link.ReplyFirmwareVersion());
    clock.sleeps.clear();
  }
  // Stores log record `record` (1..16) from readable fields.
  void StoreRecord(int record, const std::string& fields = "") {
    LogRecordWords words{};
    std::string error;
    ASSERT_TRUE(ParseLogRecord(fields, words, error)) << error;
    StoreLogRecord(actuator.Memory(), record - 1, words);
  }
  uint16_t LogWord(int record, int word) const {
    return actuator.Memory().Word(kFaultLogWord + (record - 1) * kLogSlotWords + word);
  }

  SimulatedActuator actuator;
  VirtualClock clock;
  SimSerialDriver driver{actuator, clock};
  SerialPort port{driver};
  ActuatorLink link{port, clock};
  RecordingUi ui;
};

}  // namespace velmar::test
