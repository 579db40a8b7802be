#pragma once

#include <QPrinter>
#include <QWidget>
#include <string>

#include "ports/ui.h"

namespace velmar {

// Asks for a printer (or a PDF file) and prints the report; cancelling prints nothing.
PrintResult PrintText(QWidget* owner, const std::string& text);

// Prints the report on `printer` in the report font, word-wrapped to the page width and split
// into pages that fit. False when the job could not start or a page could not be begun.
bool PrintPages(QPrinter& printer, const std::string& text);

}  // namespace velmar
