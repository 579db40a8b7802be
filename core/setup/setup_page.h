#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ui.h"
#include "setup/setup_page_checks.h"
#include "setup/setup_page_values.h"

namespace velmar {

// One edit field of a page as the dialog shows it.
struct PageEdit {
  int id = 0;
  // Empty initialisers let pages name only the members they set.
  std::string prompt = {};
  std::string text = {};
  // The record field's capacity; longer typing is cut.
  std::size_t maxLength = 15;
  bool readOnly = true;
  bool visible = true;
  // Shown after a hyphen on the row of the edit before it (the second half of a part number).
  bool secondHalf = false;
};

struct PageRadio {
  int id = 0;
  std::string label;
  bool checked = false;
  bool enabled = true;
};

struct PageRadioGroup {
  std::string title;
  std::vector<PageRadio> buttons;
};

struct PageButton {
  int id = 0;
  std::string label;
  bool visible = false;
};

// One page of the "Actuator Setup" sheet: its controls' state plus the rules behind them. The
// page shows the values when it becomes active and reads them back, checked, when it is left;
// the dialog only mirrors the controls and forwards edits, radio choices and clicks.
class SetupPage {
 public:
  SetupPage(int id, std::string title) : id(id), title(std::move(title)) {}
  virtual ~SetupPage() = default;
  SetupPage(const SetupPage&) = delete;
  SetupPage& operator=(const SetupPage&) = delete;

  // Takes the values into the controls and sets which controls may change.
  virtual void Activate(SetupPageValues& values) = 0;
  // Reads the controls back into the values and checks them. False after the range message,
  // with `focusControl` naming the failing field: the page stays active.
  virtual bool Leave(SetupPageValues& values, Ui& ui) = 0;
  // Every value in the page's controls that its check refuses, in field order; `values` holds
  // what the checks compare with. Pages that check nothing refuse nothing.
  virtual std::vector<RangeRefusal> Refusals(const SetupPageValues& values) const;
  // A push button of the page; hidden buttons do nothing.
  void Click(int buttonId, SetupPageValues& values, Ui& ui);

  // The user's typing; refused (false) for read-only, hidden or unknown fields.
  bool SetText(int editId, std::string_view text);
  // The user's radio choice; refused for disabled or unknown buttons. Unchecks the group's others.
  bool CheckRadio(int radioId);

  const PageEdit* FindEdit(int editId) const;
  const PageRadio* FindRadio(int radioId) const;
  const PageButton* FindButton(int buttonId) const;

  const int id;
  const std::string title;
  std::vector<PageEdit> edits;
  std::vector<PageRadioGroup> groups;
  std::vector<PageButton> buttons;
  int focusControl = 0;

 protected:
  virtual void OnClick(int buttonId, SetupPageValues& values, Ui& ui);

  PageEdit& Edit(int editId);
  const std::string& Text(int editId) const { return FindEdit(editId)->text; }
  void SetEditText(int editId, std::string_view text);
  bool IsChecked(int radioId) const { return FindRadio(radioId)->checked; }
  // Checks one button of its group and unchecks the others.
  void Check(int radioId);
  void SetEditsReadOnly(bool readOnly);
  void ShowButtons(bool visible);
  // View-only: every radio button disabled but the checked one of each group. Editing: all
  // enabled, choosing one unchecks the rest.
  void SetRadioMode(bool databaseMode);
  // Records the field to take the focus; returns false for the caller to pass on.
  bool Fail(int controlId);
  // False after the range message of the first refusal, with the focus on its field.
  bool PassChecks(const SetupPageValues& values, Ui& ui);
};

}  // namespace velmar
