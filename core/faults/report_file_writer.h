#pragma once

#include <string>
#include <string_view>

#include "base/replacing_file.h"

namespace velmar {

// A text report written line by line with CR LF line ends, as the reports travel to Windows
// machines. It replaces the target only once complete, so a failure leaves any earlier report.
class ReportFileWriter {
 public:
  bool Open(const std::string& path) { return file_.Open(path); }
  void WriteLine(std::string_view line) {
    file_.Write(line);
    file_.Write("\r\n");
  }
  // False when any line could not be written or the file not put in place.
  bool Commit() { return file_.Commit(); }

 private:
  ReplacingFile file_;
};

}  // namespace velmar
