#include "setup/setup_page_checks.h"
#include "setup/setup_pages.h"

namespace velmar {

TuningFieldsPage::TuningFieldsPage(int id, std::string title, std::span<const TuningField> fields,
                                   int defaultsButton)
    : SetupPage(id, std::move(title)), fields_(fields) {
  for (const TuningField& field : fields_) {
    edits.push_back({.id = field.id, .prompt = field.prompt});
  }
  buttons = {{defaultsButton, "Default Values"}};
}

void TuningFieldsPage::Activate(SetupPageValues& values) {
  for (const TuningField& field : fields_) {
    SetEditText(field.id, values.*field.value);
  }
  SetEditsReadOnly(values.databaseMode);
  ShowButtons(!values.databaseMode);
}

bool TuningFieldsPage::Leave(SetupPageValues& values, Ui& ui) {
  for (const TuningField& field : fields_) {
    values.*field.value = Text(field.id);
  }
  return PassChecks(values, ui);
}

std::vector<RangeRefusal> TuningFieldsPage::Refusals(const SetupPageValues&) const {
  std::vector<RangeRefusal> refusals;
  for (const TuningField& field : fields_) {
    if (field.check == TuningCheck::Number) {
      CheckNumberText(refusals, field.id, Text(field.id), field.low, field.high);
    } else if (field.check == TuningCheck::Integer) {
      CheckIntegerText(refusals, field.id, Text(field.id), static_cast<int>(field.low),
                       static_cast<int>(field.high));
    }
  }
  return refusals;
}

void TuningFieldsPage::ShowTexts(std::span<const char* const> texts) {
  for (std::size_t i = 0; i < fields_.size() && i < texts.size(); ++i) {
    SetEditText(fields_[i].id, texts[i]);
  }
}

}  // namespace velmar
