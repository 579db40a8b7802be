#include <algorithm>
#include <cstdlib>
#include <string>

#include "setup/linear_stroke.h"
#include "setup/setup_page_checks.h"
#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

namespace {

constexpr std::size_t kPoints = 17;

constexpr const char* kMilliampLabels[kPoints] = {
    " 0.0%    / 4 mA", " 6.25%  / 5 mA",  "12.5%   / 6 mA",  "18.75% / 7 mA",   "25.0%   / 8 mA",
    "31.25% / 9 mA",   "37.5%   / 10 mA", "43.75% / 11 mA",  "50.0%   / 12 mA", "56.25% / 13 mA",
    "62.5%   / 14 mA", "68.75% / 15 mA",  "75.0%   / 16 mA", "81.25% / 17 mA",  "87.5%   / 18 mA",
    "93.75% / 19 mA",  "100.0% / 20 mA"};

constexpr const char* kCountLabels[kPoints] = {
    " 0.0%    / 13107 counts", " 6.25%  / 16384 counts", "12.5%   / 19661 counts",
    "18.75% / 22937 counts",   "25.0%   / 26214 counts", "31.25% / 29491 counts",
    "37.5%   / 32768 counts",  "43.75% / 36044 counts",  "50.0%   / 39321 counts",
    "56.25% / 42589 counts",   "62.5%   / 45875 counts", "68.75% / 49151 counts",
    "75.0%   / 52428 counts",  "81.25% / 55705 counts",  "87.5%   / 58982 counts",
    "93.75% / 62258 counts",   "100.0% / 65535 counts"};

// Consecutive points must differ by at least this much.
constexpr double kMinimumStep = 0.0001;
// Decimal steps of exactly kMinimumStep can land a rounding error short of it in binary.
constexpr double kStepSlack = 1e-9;

// A point read as a plain number of digits and decimal points; any other text reads as -1.
double PointValue(const std::string& text) {
  const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= '0' && c <= '9') || c == '.';
  });
  return plain ? std::strtod(text.c_str(), nullptr) : -1.0;
}

int PointEdit(std::size_t k) {
  return kFirstPoint + static_cast<int>(k);
}

}  // namespace

InterpolationTablePage::InterpolationTablePage() : SetupPage(133, "Interpolation Table") {
  for (std::size_t k = 0; k < kPoints; ++k) {
    // The longer of the two label sets until activation picks one, so the page is sized for it.
    edits.push_back({.id = PointEdit(k),
                     .prompt = kCountLabels[k],
                     .maxLength = sizeof(SetupFields::STROKETBL[0]) - 1});
  }
  buttons = {{kClearFields, "Clear Fields"}, {kLinearStroke, "Linear Stroke"}};
}

void InterpolationTablePage::Activate(SetupPageValues& values) {
  values.STROKETBL[0] = "0.0";
  // Milliamperes only for the exact value of an analog source at the default baud setting.
  const auto& labels = values.commandSource == 1 ? kMilliampLabels : kCountLabels;
  for (std::size_t k = 0; k < kPoints; ++k) {
    PageEdit& edit = Edit(PointEdit(k));
    edit.prompt = labels[k];
    edit.text = values.STROKETBL[k];
  }
  SetEditsReadOnly(values.databaseMode);
  ShowButtons(!values.databaseMode);
}

bool InterpolationTablePage::Leave(SetupPageValues& values, Ui& ui) {
  for (std::size_t k = 0; k < kPoints; ++k) {
    values.STROKETBL[k] = Text(PointEdit(k));
  }
  return PassChecks(values, ui);
}

std::vector<RangeRefusal> InterpolationTablePage::Refusals(const SetupPageValues& values) const {
  std::vector<RangeRefusal> refusals;
  const double span = ParseLeadingDouble(values.SPAN);
  for (std::size_t k = 1; k < kPoints; ++k) {
    const std::string& text = Text(PointEdit(k));
    const double value = PointValue(text);
    if (!IsNumericText(text) || value < 0.0 || value > 5.9) {
      refusals.push_back({PointEdit(k), false, 0.0, 5.9});
      continue;
    }
    // Each point rises above the one before it.
    const double lowest = PointValue(Text(PointEdit(k - 1))) + kMinimumStep;
    if (value < lowest - kStepSlack || value > span) {
      refusals.push_back({PointEdit(k), false, lowest, span});
    }
  }
  return refusals;
}

void InterpolationTablePage::OnClick(int buttonId, SetupPageValues& values, Ui&) {
  if (buttonId == kClearFields) {
    for (std::size_t k = 1; k < kPoints; ++k) {
      SetEditText(PointEdit(k), "0.0");
    }
  } else if (buttonId == kLinearStroke) {
    const auto points = LinearStrokePoints(values.SPAN);
    for (std::size_t k = 1; k < kPoints; ++k) {
      SetEditText(PointEdit(k), points[k - 1]);
    }
  }
}

}  // namespace velmar
