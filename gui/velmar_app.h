#pragma once

#include "app/session.h"
#include "ports/posix_serial_driver.h"
#include "qt_clock.h"
#include "qt_ui.h"

namespace velmar {

// The application object: the session on the real serial ports, clock and windows, and the
// main window run modally; when that closes, the program ends.
class VelmarApp {
 public:
  // `serviceMode`: started with --service; `trace`, when given, logs the serial frames.
  VelmarApp(bool serviceMode, FrameTrace* trace);

  // Runs the main window to its end; the program's exit status.
  int Run();

 private:
  PosixSerialDriver driver_;
  QtClock clock_;
  QtUi ui_;
  Session session_;
};

}  // namespace velmar
