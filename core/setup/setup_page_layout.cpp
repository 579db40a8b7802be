#include "setup/setup_page_layout.h"

#include "link/firmware_versions.h"

namespace velmar {
namespace {

constexpr SetupLayout kLayout100 = {
    .imageBytes = 200,
    .finePositions = false,
    .loopForm = LoopForm::kFirmware100,
    .span = 44,
    .stopPos = 46,
    .strokeTable = 48,
    .slopes = 82,
    .posCmdSrc = 114,
    .motorOverTemp = 116,
    .elecOverTemp = 118,
    .actFault = 120,
    .profileTable = 122,
    .posLoopTune = 156,
    .currentLoop = 158,
    .velocityCoefficients = 170,
    .velLoopP = 176,
    .velLoopI = 178,
    .velLoopD = 180,
    .maxVel = 182,
    .maxForce = 184,
    .maxForceLbf = 186,
    .maxHomeVel = 188,
    .maxHomeForce = 190,
    .maxHomeForceLbf = 192,
    .holdForce = 194,
    .holdForceLbf = 196,
    .seating = 0,
};

constexpr SetupLayout kLayout101 = {
    .imageBytes = 204,
    .finePositions = true,
    .loopForm = LoopForm::kFirmware101,
    .span = 44,
    .stopPos = 48,
    .strokeTable = 52,
    .slopes = 120,
    .posCmdSrc = 152,
    .motorOverTemp = 154,
    .elecOverTemp = 156,
    .actFault = 158,
    .profileTable = 0,
    .posLoopTune = 160,
    .currentLoop = 162,
    .velocityCoefficients = 174,
    .velLoopP = 180,
    .velLoopI = 182,
    .velLoopD = 184,
    .maxVel = 186,
    .maxForce = 188,
    .maxForceLbf = 190,
    .maxHomeVel = 192,
    .maxHomeForce = 194,
    .maxHomeForceLbf = 196,
    .holdForce = 198,
    .holdForceLbf = 200,
    .seating = 0,
};

constexpr SetupLayout WithSeating(SetupLayout layout) {
  layout.imageBytes = 216;
  layout.seating = 202;
  return layout;
}

constexpr SetupLayout kLayout301 = WithSeating(kLayout101);

}  // namespace

const SetupLayout& SetupLayoutFor(int firmwareVersion) {
  if (firmwareVersion <= kFirmware100)
    return kLayout100;
  if (firmwareVersion <= kFirmware300)
    return kLayout101;
  return kLayout301;
}

}  // namespace velmar
