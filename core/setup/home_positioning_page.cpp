#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

namespace {

using V = SetupPageValues;

constexpr TuningField kHomeFields[] = {
    {kMaximumHomingVelocity, "Maximum Homing Velocity (in/sec)", &V::MAXHOMEVEL,
     TuningCheck::Number, 0.1, 0.5},
    {kMaximumHomingForce, "Maximum Homing Force (lbf)", &V::MAXHOMEFORCE, TuningCheck::Integer, 100,
     1267},
    {kMaximumHoldingForce, "Maximum Holding Force (lbf)", &V::HOLDCURFORCE, TuningCheck::Integer,
     100, 500},
    {kMaximumSeatingForce, "Maximum Seating Force (lbf)", &V::SEATINGFORCE, TuningCheck::Integer,
     100, 1267},
    {kSeatingForceDuration, "Seating Force Duration (ms)", &V::SEATFORCETIME, TuningCheck::Integer,
     10, 2000},
    {kRunLossVelocity, "Run Loss Velocity (in/sec)", &V::RUNLOSSVEL, TuningCheck::Number, 0.1,
     10.0},
    {kDemandLossVelocity, "Demand Loss Velocity (in/sec)", &V::DMDLOSSVEL, TuningCheck::Number, 0.1,
     10.0},
};

constexpr const char* kHomeDefaults[] = {"0.5", "500", "250", "1000", "1000", "2.0", "2.0"};

}  // namespace

HomePositioningPage::HomePositioningPage()
    : TuningFieldsPage(135, "Home Positioning Tuning", kHomeFields, kHomeDefaultValues) {}

void HomePositioningPage::OnClick(int buttonId, SetupPageValues&, Ui&) {
  if (buttonId == kHomeDefaultValues) {
    ShowTexts(kHomeDefaults);
  }
}

}  // namespace velmar
