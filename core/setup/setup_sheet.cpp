#include "setup/setup_sheet.h"

#include "setup/setup_pages.h"

namespace velmar {

std::vector<std::unique_ptr<SetupPage>> MakeSetupPages() {
  std::vector<std::unique_ptr<SetupPage>> pages;
  pages.push_back(std::make_unique<IdentificationPage>());
  pages.push_back(std::make_unique<ConfigurationPage>());
  pages.push_back(std::make_unique<PositionDefinitionPage>());
  pages.push_back(std::make_unique<InterpolationTablePage>());
  pages.push_back(std::make_unique<LoopTuningPage>());
  pages.push_back(std::make_unique<HomePositioningPage>());
  return pages;
}

SetupSheet::SetupSheet(SetupPageValues& values, Ui& ui)
    : values_(values), ui_(ui), pages_(MakeSetupPages()) {
  ActivePage().Activate(values_);
}

bool SetupSheet::SelectPage(std::size_t index) {
  if (index >= pages_.size() || index == active_) {
    return index == active_;
  }
  if (!ActivePage().Leave(values_, ui_)) {
    return false;
  }
  active_ = index;
  ActivePage().Activate(values_);
  return true;
}

bool SetupSheet::SetText(int editId, std::string_view text) {
  return ActivePage().SetText(editId, text);
}

bool SetupSheet::CheckRadio(int radioId) {
  return ActivePage().CheckRadio(radioId);
}

void SetupSheet::Click(int buttonId) {
  ActivePage().Click(buttonId, values_, ui_);
}

bool SetupSheet::Ok() {
  return ActivePage().Leave(values_, ui_);
}

}  // namespace velmar
