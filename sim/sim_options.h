#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fault_data.h"
#include "sim_memory.h"
#include "simulated_actuator.h"

namespace velmar {

// The command line of velmar-sim.
struct SimOptions {
  // The simulator moves its position a tenth of the default span a second, so plots show motion.
  SimOptions() { state.status.travelCountsPerSecond = 196608; }

  ActuatorState state;
  LineTiming timing;
  // Identification given on the command line; what is not given comes from the memory file,
  // else from the defaults.
  std::optional<uint32_t> serialNumber;
  std::optional<std::string> modelNumber;
  std::optional<std::string> partNumber;
  // Fault log records (slot 0..15) and a fault file to store over the memory file's.
  std::vector<std::pair<int, LogRecordWords>> logRecords;
  std::optional<FaultFileWords> faultFile;
  // Without a memory file the unit starts set up as it leaves the factory; --blank keeps the
  // setup image zero.
  bool blank = false;
  std::string memoryPath;
  std::string linkPath;
  // Frame trace file; empty: $VELMAR_TRACE, else none.
  std::string tracePath;
  // Status values read at start and again whenever the file changes.
  std::string statusPath;
  // Status values named on the command line; the others start at the unit's room readings.
  std::set<std::string> statusNames;
  // Whether --firmware and --mode were given: each picks the other's default.
  bool firmwareGiven = false;
  bool modeGiven = false;
  StatusFault statusFault = StatusFault::kNone;
  int statusFaultCount = -1;
  // Requests to lose: after `loseAfter` understood requests, the next `loseCount`.
  int loseAfter = 0;
  int loseCount = 0;
};

enum class ParseOutcome { kRun, kHelp, kError };

// Fills `options` from the arguments and completes what they leave open: the firmware of the
// frame mode, the mode of the firmware, temperatures read as room temperature on the firmware's
// curves. On kError `error` says what is wrong, also for a firmware that has no link in the
// chosen frame mode.
ParseOutcome ParseSimOptions(int argc, const char* const* argv, SimOptions& options,
                             std::string& error);

// The --help text.
std::string SimUsage();

// Writes the identification given on the command line into the memory.
void ApplyIdentification(const SimOptions& options, SimMemory& memory);

// Stores the fault log records and the fault file given on the command line.
void ApplyFaultData(const SimOptions& options, SimMemory& memory);

}  // namespace velmar
