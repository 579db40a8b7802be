#include "setup/setup_record_check.h"

#include <cstdio>
#include <utility>

#include "setup/setup_pages.h"
#include "setup/setup_sheet.h"

namespace velmar {
namespace {

using namespace setup_controls;

// The record key behind each checked field; the interpolation points are numbered apart.
constexpr std::pair<int, const char*> kCheckedKeys[] = {
    {kActuatorTypeHighByte, "ACTTYPE"},
    {kSpan, "SPAN"},
    {kStopPosition, "STOPPOS"},
    {kPositionLoopConstant, "POSLOOPTUNECONST"},
    {kCurrentLoopP, "CURLOOPPCONST"},
    {kCurrentLoopI, "CURLOOPICONST"},
    {kVelocityLoopP, "VELLOOPPCONST"},
    {kVelocityLoopI, "VELLOOPICONST"},
    {kMaximumVelocity, "MAXVEL"},
    {kMaximumForce, "MAXFORCE"},
    {kMaximumHomingVelocity, "MAXHOMEVEL"},
    {kMaximumHomingForce, "MAXHOMEFORCE"},
    {kMaximumHoldingForce, "HOLDCURFORCE"},
    {kMaximumSeatingForce, "SEATINGFORCE"},
    {kSeatingForceDuration, "SEATFORCETIME"},
    {kRunLossVelocity, "RUNLOSSVEL"},
    {kDemandLossVelocity, "DMDLOSSVEL"},
};

constexpr int kPoints = 17;

std::string KeyOf(int control) {
  if (control >= kFirstPoint && control < kFirstPoint + kPoints) {
    char key[16];
    std::snprintf(key, sizeof(key), "STROKETBL%02d", control - kFirstPoint);
    return key;
  }
  for (const auto& [id, key] : kCheckedKeys) {
    if (id == control) {
      return key;
    }
  }
  return std::to_string(control);
}

}  // namespace

std::vector<SetupValueRefusal> CheckSetupRecord(const SetupFields& record) {
  SetupPageValues values;
  values.FillPages(record);
  std::vector<SetupValueRefusal> refusals;
  for (const auto& page : MakeSetupPages()) {
    page->Activate(values);
    for (const RangeRefusal& refusal : page->Refusals(values)) {
      refusals.push_back(
          {KeyOf(refusal.control), page->FindEdit(refusal.control)->text, RangeMessage(refusal)});
    }
  }
  return refusals;
}

std::string RefusalLine(const SetupValueRefusal& refusal) {
  return refusal.key + " = " + refusal.value + ": " + refusal.range;
}

}  // namespace velmar
