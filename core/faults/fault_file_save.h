#pragma once

#include <string>

#include "faults/fault_file_image.h"
#include "ports/clock.h"
#include "ports/ui.h"

namespace velmar {

// Writes the fault file report of `image` to `path` inside the "File Transfer Progress" window,
// pausing after each line so the window repaints. False after the failure's message box.
bool SaveFaultFileReport(const FaultFileImage& image, const std::string& path, Ui& ui,
                         Clock& clock);

}  // namespace velmar
