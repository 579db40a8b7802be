#pragma once

#include <cstddef>

#include "setup/setup_numerics.h"

namespace velmar {

// Byte offsets of the firmware-dependent part of a setup page image (the first 44 bytes,
// identification and codes, are the same for every firmware). An offset of 0 marks a block the
// layout does not have.
struct SetupLayout {
  std::size_t imageBytes;
  // Positions as 32-bit fine counts (1.01 and later) or 16-bit coarse counts (1.00).
  bool finePositions;
  LoopForm loopForm;
  std::size_t span;
  std::size_t stopPos;
  std::size_t strokeTable;
  std::size_t slopes;
  std::size_t posCmdSrc;
  std::size_t motorOverTemp;
  std::size_t elecOverTemp;
  std::size_t actFault;
  std::size_t profileTable;
  std::size_t posLoopTune;
  // Six words: three derived coefficients, then the P, I and D words.
  std::size_t currentLoop;
  std::size_t velocityCoefficients;
  std::size_t velLoopP;
  std::size_t velLoopI;
  std::size_t velLoopD;
  std::size_t maxVel;
  std::size_t maxForce;
  std::size_t maxForceLbf;
  std::size_t maxHomeVel;
  std::size_t maxHomeForce;
  std::size_t maxHomeForceLbf;
  std::size_t holdForce;
  std::size_t holdForceLbf;
  // Seating force, seating time, run-loss and demand-loss velocities, then the two markers.
  std::size_t seating;

  std::size_t curLoopP() const { return currentLoop + 6; }
  std::size_t curLoopI() const { return currentLoop + 8; }
  std::size_t curLoopD() const { return currentLoop + 10; }
  std::size_t checksum() const { return imageBytes - 2; }
};

// The layout an image for `firmwareVersion` is packed in: 1.00 (and anything older), 1.01 to
// 3.00, or 3.01 and later.
const SetupLayout& SetupLayoutFor(int firmwareVersion);

}  // namespace velmar
