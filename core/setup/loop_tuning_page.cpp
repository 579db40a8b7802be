#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

namespace {

using V = SetupPageValues;

constexpr TuningField kLoopFields[] = {
    {kPositionLoopConstant, "Position Loop Constant", &V::POSLOOPTUNECONST, TuningCheck::Integer, 1,
     100},
    {kCurrentLoopP, "Current Loop P", &V::CURLOOPPCONST, TuningCheck::Number, 0.001, 500.0},
    {kCurrentLoopI, "Current Loop I", &V::CURLOOPICONST, TuningCheck::Number, 0.0, 1000.0},
    {kCurrentLoopD, "Current Loop D", &V::CURLOOPDCONST, TuningCheck::None, 0, 0},
    {kVelocityLoopP, "Velocity Loop P", &V::VELLOOPPCONST, TuningCheck::Number, 0.01, 100.0},
    {kVelocityLoopI, "Velocity Loop I", &V::VELLOOPICONST, TuningCheck::Number, 1.0, 12000.0},
    {kVelocityLoopD, "Velocity Loop D", &V::VELLOOPDCONST, TuningCheck::None, 0, 0},
    {kMaximumVelocity, "Maximum Velocity (in/sec)", &V::MAXVEL, TuningCheck::Integer, 1, 10},
    {kMaximumForce, "Maximum Force (lbf)", &V::MAXFORCE, TuningCheck::Integer, 100, 1267},
};

// The default loop sets, in field order.
constexpr const char* kFirmware101Defaults[] = {"20",    "2.0", "400", "0",   "40",
                                                "10000", "0",   "6",   "1000"};
constexpr const char* kFirmware100Defaults[] = {"15",  "0.01", "200", "0",   "5",
                                                "500", "0",    "6",   "1000"};

}  // namespace

LoopTuningPage::LoopTuningPage()
    : TuningFieldsPage(134, "Loop Tuning", kLoopFields, kLoopDefaultValues) {}

void LoopTuningPage::Activate(SetupPageValues& values) {
  TuningFieldsPage::Activate(values);
  if (!values.databaseMode) {
    values.loopTuningLocked = false;
  }
  const bool locked = values.databaseMode && values.loopTuningLocked;
  SetEditsReadOnly(locked);
  ShowButtons(!locked);
}

void LoopTuningPage::OnClick(int buttonId, SetupPageValues&, Ui& ui) {
  if (buttonId != kLoopDefaultValues) {
    return;
  }
  switch (ui.AskYesNoCancel("Target firmware version v1.01 or greater?", "Loop Tuning")) {
    case Answer::Yes:
      ShowTexts(kFirmware101Defaults);
      break;
    case Answer::No:
      ShowTexts(kFirmware100Defaults);
      break;
    case Answer::Cancel:
      break;
  }
}

}  // namespace velmar
