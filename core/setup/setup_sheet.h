#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "ports/ui.h"
#include "setup/setup_page.h"
#include "setup/setup_page_values.h"

namespace velmar {

// The six pages in sheet order.
std::vector<std::unique_ptr<SetupPage>> MakeSetupPages();

// The "Actuator Setup" sheet over the page values: six pages, one active at a time. A page is
// left (its values read back and checked) before another becomes active and when the sheet ends
// with OK; a failed check keeps it active. The caller fills the values before and applies them
// after an OK.
class SetupSheet {
 public:
  // Builds the six pages and activates the first.
  SetupSheet(SetupPageValues& values, Ui& ui);

  std::size_t PageCount() const { return pages_.size(); }
  SetupPage& Page(std::size_t index) { return *pages_[index]; }
  const SetupPage& Page(std::size_t index) const { return *pages_[index]; }
  std::size_t ActiveIndex() const { return active_; }
  SetupPage& ActivePage() { return *pages_[active_]; }

  // Leaves the active page and activates page `index`; false (still on the old page) when the
  // active page's check fails.
  bool SelectPage(std::size_t index);
  // The user's actions on the active page.
  bool SetText(int editId, std::string_view text);
  bool CheckRadio(int radioId);
  void Click(int buttonId);
  // OK: true when the active page is left cleanly and the values may be applied.
  bool Ok();

 private:
  SetupPageValues& values_;
  Ui& ui_;
  std::vector<std::unique_ptr<SetupPage>> pages_;
  std::size_t active_ = 0;
};

}  // namespace velmar
