#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string_view>

#include "setup/setup_parameters.h"

namespace velmar {

// Longest piece of a line taken at one read; a longer line is read in pieces, each taken as a line.
inline constexpr std::size_t kSetupLinePiece = 126;

// What one line of a setup file was.
enum class SetupLine {
  kSkipped,     // does not begin with a letter
  kUnknownKey,  // counts, but names no setup key
  kKey,         // names a setup key
};

// Applies one line of a setup file. Only a line beginning with a letter counts: it is upper-cased
// and cut at its first control or non-ASCII character; its first token (delimited by blanks and
// "=") selects the first key, current keys before old ones, that it contains; the next token is
// the value. A line without a value token leaves the field as it is.
SetupLine ApplySetupFileLine(SetupFields& fields, std::string_view line);

// Applies every line of `file`, calling `onCountedLine` after each line that counted and
// counting in `keyLines` the lines that named a setup key. False on a read error.
bool ReadSetupFileLines(std::FILE* file, SetupFields& fields,
                        const std::function<void()>& onCountedLine, int& keyLines);

}  // namespace velmar
