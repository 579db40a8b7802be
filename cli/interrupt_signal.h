#pragma once

#include "ports/cancellation.h"

namespace velmar {

// Exit status of a command stopped by SIGINT or SIGTERM.
constexpr int kExitInterrupted = 130;

// SIGINT and SIGTERM set a flag instead of ending the program, so the running command can finish
// the frame in flight, disable writes and release the port. They interrupt blocking calls (no
// restart), so a wait on the console or the line ends at once.
void InstallInterruptHandlers();

// The flag, as the core sees it.
class InterruptSignal : public Cancellation {
 public:
  bool Requested() const override;
};

}  // namespace velmar
