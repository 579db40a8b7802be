#include "setup/setup_sheet.h"

#include "setup/setup_pages.h"

namespace velmar {

SetupSheet::SetupSheet(SetupPageValues& values, Ui& ui) : values_(values), ui_(ui) {
  pages_.push_back(std::make_unique<IdentificationPage>());
  pages_.push_back(std::make_unique<ConfigurationPage>());
  pages_.push_back(std::make_unique<PositionDefinitionPage>());
  pages_.push_back(std::make_unique<InterpolationTablePage>());
  pages_.push_back(std::make_unique<LoopTuningPage>());
  pages_.push_back(std::make_unique<HomePositioningPage>());
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
