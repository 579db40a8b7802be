#pragma once

namespace velmar {

// Whether the user asked the running command to stop (an interrupt in the console tool). Reads
// stop at once; a command that writes stops at its next safe point and disables writes first.
class Cancellation {
 public:
  virtual ~Cancellation() = default;
  virtual bool Requested() const = 0;
};

}  // namespace velmar
