#include <algorithm>

#include "setup/linear_stroke.h"
#include "setup/setup_page_checks.h"
#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

PositionDefinitionPage::PositionDefinitionPage() : SetupPage(132, "Position Definition") {
  edits = {{.id = kSpan, .prompt = "Span (in)"},
           {.id = kStopPosition, .prompt = "Stop Position (in)"}};
  groups = {{"Home Position", {{kExtend, "Extend"}, {kRetract, "Retract"}}}};
  buttons = {{kDefaults, "Defaults"}};
}

void PositionDefinitionPage::Activate(SetupPageValues& values) {
  values.previousSpan = values.SPAN;
  SetEditText(kSpan, values.SPAN);
  SetEditText(kStopPosition, values.STOPPOS);
  Check(values.homePosition % 2 != 0 ? kExtend : kRetract);
  SetEditsReadOnly(values.databaseMode);
  SetRadioMode(values.databaseMode);
  ShowButtons(!values.databaseMode);
}

bool PositionDefinitionPage::Leave(SetupPageValues& values, Ui& ui) {
  if (values.databaseMode) {
    return true;
  }
  if (!PassChecks(values, ui)) {
    return false;
  }
  values.SPAN = Text(kSpan);
  values.STOPPOS = Text(kStopPosition);
  values.homePosition = IsChecked(kExtend) ? 1 : 2;
  if (values.SPAN != values.previousSpan) {
    const auto points = LinearStrokePoints(values.SPAN);
    std::copy(points.begin(), points.end(), values.STROKETBL.begin() + 1);
    values.previousSpan = values.SPAN;
  }
  return true;
}

std::vector<RangeRefusal> PositionDefinitionPage::Refusals(const SetupPageValues&) const {
  std::vector<RangeRefusal> refusals;
  CheckNumberText(refusals, kSpan, Text(kSpan), 0.1, 5.9);
  const std::size_t stopRefusals = refusals.size();
  CheckNumberText(refusals, kStopPosition, Text(kStopPosition), 0.0, 5.9);
  // The stop position may not lie beyond the span.
  const double span = ParseLeadingDouble(Text(kSpan));
  if (refusals.size() == stopRefusals && ParseLeadingDouble(Text(kStopPosition)) > span) {
    refusals.push_back({kStopPosition, false, 0.0, span});
  }
  return refusals;
}

void PositionDefinitionPage::OnClick(int buttonId, SetupPageValues&, Ui&) {
  if (buttonId == kDefaults) {
    SetEditText(kSpan, "5.9");
    SetEditText(kStopPosition, "0.1");
    Check(kRetract);
  }
}

}  // namespace velmar
