#pragma once

#include <string>

#include "faults/fault_file_image.h"
#include "link/actuator_link.h"
#include "ports/clock.h"
#include "ports/ui.h"

namespace velmar {

// "Upload Faults": asks for the firmware version, reads the fault file's three pages, applies
// the FAULTTEST patterns of the NODE setting `node`, checks the date and time and on success
// puts the texts and flags into `image`. Failures show their message boxes.
UploadOutcome UploadFaults(ActuatorLink& link, Clock& clock, Ui& ui, const std::string& node,
                           FaultFileImage& image);

// The dialog's and the main window's Clear Faults, with their message boxes; `failureKind` is
// the icon of the failure box (the dialog's stop icon, the main window's warning).
bool ClearActuatorFaults(ActuatorLink& link, Ui& ui, MessageKind failureKind);

}  // namespace velmar
