#pragma once

#include <signal.h>

#include <atomic>
#include <string>

#include "simulated_actuator.h"

namespace velmar {

// A pseudo-terminal whose slave side stands for the actuator's serial port. The server holds
// the slave open itself: its raw settings then persist for every client, and the master never
// reports a hang-up while no client is connected.
class PtyServer {
 public:
  PtyServer() = default;
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;
  ~PtyServer();

  // Creates the terminal in raw mode; false and the reason in `error` on failure.
  bool Open(std::string& error);
  // The slave device path, e.g. /dev/pts/7.
  const std::string& DevicePath() const { return devicePath_; }

  // Feeds the actuator what the client writes and writes the replies out when they are due,
  // on the steady clock, until `stop` is set. `waitMask`, when given, is the signal mask while
  // waiting, so that a stop signal blocked otherwise interrupts the wait at once. Returns true
  // when stopped, false and the reason in `error` when the terminal fails.
  bool Serve(SimulatedActuator& actuator, const std::atomic<bool>& stop, const sigset_t* waitMask,
             std::string& error);

 private:
  void ReleaseAbandonedTerminal();

  int master_ = -1;
  int slave_ = -1;
  std::string devicePath_;
};

}  // namespace velmar
