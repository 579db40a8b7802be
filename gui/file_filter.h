#pragma once

#include <QStringList>
#include <string>

namespace velmar {

// Turns a "Description (*.cfg)|*.CFG|All Files (*.*)|*.*||" filter into Qt's name filters.
// Linux file names are case-sensitive, so each pattern is offered in lower and upper case, and
// "*.*" (every file) becomes "*".
QStringList QtNameFilters(const std::string& filter);

}  // namespace velmar
