#pragma once

#include <functional>

#include "app/session.h"

namespace velmar {

// The clear-fault-information command after its checks: ClearFaults below firmware 3.00, the
// fault log erase from 3.00. True when it cleared.
bool ClearFaultInformation(Session& session);

// The fault file report for firmware below 3.00 (the caller has verified communication): with
// `upload` (the OPTIONS bit 1 setting, or always from the command line) the version is asked
// again and the fault file uploaded, and `showAnimation` runs after a good upload. Then the
// report is printed.
void PrintFaultFileReport(Session& session, bool upload,
                          const std::function<void()>& showAnimation);

// Whether the OPTIONS setting asks for an upload before the fault file report.
bool ReportUploadsFirst(const Session& session);

// Upload Faults with the session's NODE setting and fault file image.
UploadOutcome UploadSessionFaults(Session& session);

}  // namespace velmar
