#include <string>

#include "setup/setup_page_checks.h"
#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

namespace {

// A radio button and the code bits it stands for.
struct CodeButton {
  int id;
  int bits;
};

constexpr CodeButton kActuatorTypes[] = {
    {kLeaderLinkedToFollower, 2}, {kFollowerLinkedToLeader, 4}, {kStandAlone, 1}};
constexpr CodeButton kSources[] = {{kRs232, 2}, {kRs485, 4}, {kControlNet, 8}, {kAnalog, 1}};
constexpr CodeButton kBaudRates[] = {
    {kBaud28800, 0x10}, {kBaud38400, 0x20}, {kBaud57600, 0x40}, {kBaud9600, 0x80}, {kBaud19200, 0}};

// The button whose bits equal `bits`; the last button of the list stands for every other value.
template <std::size_t N>
int ButtonFor(const CodeButton (&buttons)[N], int bits) {
  for (const CodeButton& button : buttons) {
    if (button.bits == bits) {
      return button.id;
    }
  }
  return buttons[N - 1].id;
}

}  // namespace

ConfigurationPage::ConfigurationPage() : SetupPage(131, "Configuration") {
  groups = {
      {"Actuator Type",
       {{kStandAlone, "Stand Alone"},
        {kLeaderLinkedToFollower, "Leader Linked To Follower"},
        {kFollowerLinkedToLeader, "Follower Linked To Leader"}}},
      {"Position Command Source",
       {{kAnalog, "Analog"}, {kRs232, "RS-232"}, {kRs485, "RS-485"}, {kControlNet, "ControlNet"}}},
      {"Actuator Baud Rate",
       {{kBaud9600, "9600"},
        {kBaud19200, "19200"},
        {kBaud28800, "28800"},
        {kBaud38400, "38400"},
        {kBaud57600, "57600"}}},
  };
  edits = {{.id = kActuatorTypeHighByte, .maxLength = 7, .visible = false}};
}

void ConfigurationPage::Activate(SetupPageValues& values) {
  Check(ButtonFor(kActuatorTypes, values.actuatorType & 0xFF));
  Check(ButtonFor(kSources, values.commandSource & 0x0F));
  Check(ButtonFor(kBaudRates, values.commandSource & 0xF0));
  SetEditText(kActuatorTypeHighByte, std::to_string((values.actuatorType >> 8) & 0xFF));
  SetEditsReadOnly(values.databaseMode);
  SetRadioMode(values.databaseMode);
}

bool ConfigurationPage::Leave(SetupPageValues& values, Ui& ui) {
  if (values.databaseMode) {
    return true;
  }
  if (!PassChecks(values, ui)) {
    return false;
  }
  const auto checkedBits = [this](const auto& buttons) {
    for (const CodeButton& button : buttons) {
      if (IsChecked(button.id)) {
        return button.bits;
      }
    }
    return std::end(buttons)[-1].bits;
  };
  values.actuatorType =
      checkedBits(kActuatorTypes) + ParseLeadingInt(Text(kActuatorTypeHighByte)) * 256;
  values.commandSource = checkedBits(kSources) + checkedBits(kBaudRates);
  return true;
}

std::vector<RangeRefusal> ConfigurationPage::Refusals(const SetupPageValues&) const {
  std::vector<RangeRefusal> refusals;
  CheckIntegerText(refusals, kActuatorTypeHighByte, Text(kActuatorTypeHighByte), 0, 255);
  return refusals;
}

}  // namespace velmar
