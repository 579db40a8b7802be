#include "ports/ui.h"

namespace velmar {

bool Ui::PrintReport(const std::string& text) {
  if (PrintText(text) != PrintResult::Failed) {
    return true;
  }
  ShowMessage(MessageKind::Error, "The report could not be printed.", "Print Error");
  return false;
}

}  // namespace velmar
