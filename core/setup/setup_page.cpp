#include "setup/setup_page.h"

#include <algorithm>

namespace velmar {

void SetupPage::Click(int buttonId, SetupPageValues& values, Ui& ui) {
  const PageButton* button = FindButton(buttonId);
  if (button != nullptr && button->visible) {
    OnClick(buttonId, values, ui);
  }
}

void SetupPage::OnClick(int, SetupPageValues&, Ui&) {}

bool SetupPage::SetText(int editId, std::string_view text) {
  for (PageEdit& edit : edits) {
    if (edit.id == editId && !edit.readOnly && edit.visible) {
      edit.text = text.substr(0, edit.maxLength);
      return true;
    }
  }
  return false;
}

bool SetupPage::CheckRadio(int radioId) {
  const PageRadio* radio = FindRadio(radioId);
  if (radio == nullptr || !radio->enabled) {
    return false;
  }
  Check(radioId);
  return true;
}

const PageEdit* SetupPage::FindEdit(int editId) const {
  for (const PageEdit& edit : edits) {
    if (edit.id == editId) {
      return &edit;
    }
  }
  return nullptr;
}

const PageRadio* SetupPage::FindRadio(int radioId) const {
  for (const PageRadioGroup& group : groups) {
    for (const PageRadio& radio : group.buttons) {
      if (radio.id == radioId) {
        return &radio;
      }
    }
  }
  return nullptr;
}

const PageButton* SetupPage::FindButton(int buttonId) const {
  for (const PageButton& button : buttons) {
    if (button.id == buttonId) {
      return &button;
    }
  }
  return nullptr;
}

PageEdit& SetupPage::Edit(int editId) {
  return *const_cast<PageEdit*>(FindEdit(editId));
}

void SetupPage::SetEditText(int editId, std::string_view text) {
  Edit(editId).text = text;
}

void SetupPage::Check(int radioId) {
  for (PageRadioGroup& group : groups) {
    const bool inGroup =
        std::any_of(group.buttons.begin(), group.buttons.end(),
                    [radioId](const PageRadio& radio) { return radio.id == radioId; });
    if (inGroup) {
      for (PageRadio& radio : group.buttons) {
        radio.checked = radio.id == radioId;
      }
      return;
    }
  }
}

void SetupPage::SetEditsReadOnly(bool readOnly) {
  for (PageEdit& edit : edits) {
    edit.readOnly = readOnly;
  }
}

void SetupPage::ShowButtons(bool visible) {
  for (PageButton& button : buttons) {
    button.visible = visible;
  }
}

void SetupPage::SetRadioMode(bool databaseMode) {
  for (PageRadioGroup& group : groups) {
    for (PageRadio& radio : group.buttons) {
      radio.enabled = !databaseMode || radio.checked;
    }
  }
}

bool SetupPage::Fail(int controlId) {
  focusControl = controlId;
  return false;
}

std::vector<RangeRefusal> SetupPage::Refusals(const SetupPageValues&) const {
  return {};
}

bool SetupPage::PassChecks(const SetupPageValues& values, Ui& ui) {
  const std::vector<RangeRefusal> refusals = Refusals(values);
  if (refusals.empty()) {
    return true;
  }
  ui.ShowMessage(MessageKind::Warning, RangeMessage(refusals.front()), kSetupSheetCaption);
  return Fail(refusals.front().control);
}

}  // namespace velmar
