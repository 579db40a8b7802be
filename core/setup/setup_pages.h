#pragma once

#include <span>

#include "setup/setup_page.h"

namespace velmar {

// Control identifiers of the six pages.
namespace setup_controls {
// Actuator Identification
inline constexpr int kSerialNumber = 1013;
inline constexpr int kModelNumber = 1014;
inline constexpr int kPartNoFirst = 1015;
inline constexpr int kPartNoSecond = 1016;
inline constexpr int kOrvikPartNoFirst = 1211;
inline constexpr int kOrvikPartNoSecond = 1210;
inline constexpr int kAlternate1First = 1305;
inline constexpr int kAlternate1Second = 1306;
inline constexpr int kAlternate2First = 1307;
inline constexpr int kAlternate2Second = 1308;
// Configuration
inline constexpr int kStandAlone = 1018;
inline constexpr int kFollowerLinkedToLeader = 1019;
inline constexpr int kLeaderLinkedToFollower = 1020;
inline constexpr int kAnalog = 1021;
inline constexpr int kRs232 = 1022;
inline constexpr int kRs485 = 1023;
inline constexpr int kControlNet = 1024;
inline constexpr int kBaud9600 = 1025;
inline constexpr int kBaud19200 = 1026;
inline constexpr int kBaud28800 = 1027;
inline constexpr int kBaud38400 = 1028;
inline constexpr int kBaud57600 = 1029;
inline constexpr int kActuatorTypeHighByte = 1030;
// Position Definition
inline constexpr int kSpan = 1031;
inline constexpr int kStopPosition = 1032;
inline constexpr int kExtend = 1033;
inline constexpr int kRetract = 1034;
inline constexpr int kDefaults = 1035;
// Interpolation Table: point k (4 + k mA) is edit kFirstPoint + k
inline constexpr int kClearFields = 1036;
inline constexpr int kLinearStroke = 1037;
inline constexpr int kFirstPoint = 1061;
// Loop Tuning
inline constexpr int kPositionLoopConstant = 1078;
inline constexpr int kCurrentLoopP = 1079;
inline constexpr int kCurrentLoopI = 1080;
inline constexpr int kCurrentLoopD = 1081;
inline constexpr int kVelocityLoopP = 1082;
inline constexpr int kVelocityLoopI = 1083;
inline constexpr int kVelocityLoopD = 1084;
inline constexpr int kMaximumVelocity = 1085;
inline constexpr int kMaximumForce = 1086;
inline constexpr int kLoopDefaultValues = 1087;
// Home Positioning Tuning
inline constexpr int kMaximumHomingVelocity = 1089;
inline constexpr int kMaximumHomingForce = 1090;
inline constexpr int kMaximumHoldingForce = 1091;
inline constexpr int kSeatingForceDuration = 1301;
inline constexpr int kMaximumSeatingForce = 1302;
inline constexpr int kRunLossVelocity = 1303;
inline constexpr int kDemandLossVelocity = 1304;
inline constexpr int kHomeDefaultValues = 1092;
}  // namespace setup_controls

// Page 130: serial, model and part numbers. Its warnings only inform.
class IdentificationPage : public SetupPage {
 public:
  IdentificationPage();
  void Activate(SetupPageValues& values) override;
  bool Leave(SetupPageValues& values, Ui& ui) override;
};

// Page 131: actuator type, command source and the actuator's baud rate.
class ConfigurationPage : public SetupPage {
 public:
  ConfigurationPage();
  void Activate(SetupPageValues& values) override;
  bool Leave(SetupPageValues& values, Ui& ui) override;
  std::vector<RangeRefusal> Refusals(const SetupPageValues& values) const override;
};

// Page 132: span, stop position and home position.
class PositionDefinitionPage : public SetupPage {
 public:
  PositionDefinitionPage();
  void Activate(SetupPageValues& values) override;
  bool Leave(SetupPageValues& values, Ui& ui) override;
  std::vector<RangeRefusal> Refusals(const SetupPageValues& values) const override;

 protected:
  void OnClick(int buttonId, SetupPageValues& values, Ui& ui) override;
};

// Page 133: the 17-point interpolation table of the analog position command.
class InterpolationTablePage : public SetupPage {
 public:
  InterpolationTablePage();
  void Activate(SetupPageValues& values) override;
  bool Leave(SetupPageValues& values, Ui& ui) override;
  std::vector<RangeRefusal> Refusals(const SetupPageValues& values) const override;

 protected:
  void OnClick(int buttonId, SetupPageValues& values, Ui& ui) override;
};

// How a tuning field is checked when its page is left.
enum class TuningCheck { None, Number, Integer };

struct TuningField {
  int id;
  const char* prompt;
  std::string SetupPageValues::*value;
  TuningCheck check;
  double low;
  double high;
};

// A page of plain tuning values, each shown, read back and range-checked alike.
class TuningFieldsPage : public SetupPage {
 public:
  TuningFieldsPage(int id, std::string title, std::span<const TuningField> fields,
                   int defaultsButton);
  void Activate(SetupPageValues& values) override;
  bool Leave(SetupPageValues& values, Ui& ui) override;
  std::vector<RangeRefusal> Refusals(const SetupPageValues& values) const override;

 protected:
  // Puts `texts` (one per field, in field order) into the edits.
  void ShowTexts(std::span<const char* const> texts);

 private:
  std::span<const TuningField> fields_;
};

// Page 134: the loop constants, maximum velocity and force; locked while in database mode.
class LoopTuningPage : public TuningFieldsPage {
 public:
  LoopTuningPage();
  void Activate(SetupPageValues& values) override;

 protected:
  void OnClick(int buttonId, SetupPageValues& values, Ui& ui) override;
};

// Page 135: homing, holding and seating limits.
class HomePositioningPage : public TuningFieldsPage {
 public:
  HomePositioningPage();

 protected:
  void OnClick(int buttonId, SetupPageValues& values, Ui& ui) override;
};

}  // namespace velmar
