#pragma once

#include "app/session.h"
#include "simulated_actuator.h"
#include "support/recording_ui.h"
#include "support/sim_serial_driver.h"
#include "support/virtual_clock.h"

namespace velmar::test {

// An actuator of firmware `version` (major × 256 + minor).
inline ActuatorState Actuator(int version, ModeState mode = ModeState::kReset,
                              FrameMode frames = FrameMode::kCrc) {
  ActuatorState state;
  state.firmwareMajor = static_cast<uint8_t>(version >> 8);
  state.firmwareMinor = static_cast<uint8_t>(version);
  state.modeState = mode;
  state.frameMode = frames;
  return state;
}

// A session with COM 1 open to an in-process simulated actuator, in virtual time.
struct SimBench {
  explicit SimBench(const ActuatorState& state = {}) : actuator(state) {
    session.link.OpenPort(1, 19200);
  }
  VirtualClock clock;
  SimulatedActuator actuator;
  SimSerialDriver driver{actuator, clock};
  RecordingUi ui;
  Session session{driver, clock, ui};
};

}  // namespace velmar::test
