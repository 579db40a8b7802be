#include "setup/pack_setup.h"

#include <cstring>
#include <string_view>

#include "setup/position_profile_table.h"
#include "setup/setup_numerics.h"
#include "setup/setup_page_image.h"
#include "setup/setup_page_layout.h"

namespace velmar {
namespace {

constexpr int kStrokePoints = 17;

// A field's text up to its terminator, never beyond the field.
template <std::size_t N>
std::string_view Text(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

template <std::size_t N>
uint16_t IntWord(const char (&field)[N]) {
  return static_cast<uint16_t>(ParseLeadingInt(Text(field)));
}

template <std::size_t N>
double Decimal(const char (&field)[N]) {
  return ParseLeadingDouble(Text(field));
}

// The number in characters [from, from + count) of DATETIME.
int DatePart(const SetupFields& fields, std::size_t from, std::size_t count) {
  return ParseLeadingInt(std::string_view(fields.DATETIME + from, count));
}

// Identification bytes: blanks, control characters and terminators all become 0.
void PackName(std::span<uint8_t> image, std::size_t offset, std::span<const char> field) {
  for (std::size_t k = 0; k < field.size(); ++k) {
    const auto byte = static_cast<uint8_t>(field[k]);
    image[offset + k] = byte < 33 ? 0 : byte;
  }
}

void PackIdentification(const SetupFields& fields, std::span<uint8_t> image) {
  SetImageWord(image, 0, static_cast<uint16_t>(DatePart(fields, 6, 4)));
  image[2] = static_cast<uint8_t>(DatePart(fields, 0, 2));
  image[4] = static_cast<uint8_t>(DatePart(fields, 11, 2));
  image[5] = static_cast<uint8_t>(DatePart(fields, 3, 2));
  image[6] = static_cast<uint8_t>(DatePart(fields, 17, 2));
  image[7] = static_cast<uint8_t>(DatePart(fields, 14, 2));
  SetImageLong(image, 8, static_cast<uint32_t>(ParseLeadingInt(Text(fields.SERIALNO))));
  PackName(image, 12, std::span<const char>(fields.MODELNO).first(12));
  PackName(image, 24, fields.PARTNO);
  SetImageWord(image, 40, IntWord(fields.ACTTYPE));
  SetImageWord(image, 42, IntWord(fields.HOMEPOS));
}

void PackPositions(const SetupFields& fields, const SetupLayout& layout, std::span<uint8_t> image) {
  if (layout.finePositions) {
    SetImageLong(image, layout.span, PositionToFineCounts(Decimal(fields.SPAN)));
    SetImageLong(image, layout.stopPos, PositionToFineCounts(Decimal(fields.STOPPOS)));
    uint32_t previous = 0;
    for (int k = 0; k < kStrokePoints; ++k) {
      const uint32_t counts = PositionToFineCounts(Decimal(fields.STROKETBL[k]));
      SetImageLong(image, layout.strokeTable + 4 * k, counts);
      if (k > 0)
        SetImageWord(image, layout.slopes + 2 * (k - 1), FineSegmentSlope(previous, counts));
      previous = counts;
    }
    return;
  }
  SetImageWord(image, layout.span, PositionToCounts(Decimal(fields.SPAN)));
  SetImageWord(image, layout.stopPos, PositionToCounts(Decimal(fields.STOPPOS)));
  uint16_t previous = 0;
  for (int k = 0; k < kStrokePoints; ++k) {
    const uint16_t counts = PositionToCounts(Decimal(fields.STROKETBL[k]));
    SetImageWord(image, layout.strokeTable + 2 * k, counts);
    if (k > 0)
      SetImageWord(image, layout.slopes + 2 * (k - 1), CoarseSegmentSlope(previous, counts));
    previous = counts;
  }
}

void PackLoops(const SetupFields& fields, const SetupLayout& layout, std::span<uint8_t> image) {
  SetImageWord(image, layout.posLoopTune, IntWord(fields.POSLOOPTUNECONST));
  const std::array<uint16_t, 6> current =
      CurrentLoopWords(Decimal(fields.CURLOOPPCONST), Decimal(fields.CURLOOPICONST),
                       Decimal(fields.CURLOOPDCONST), layout.loopForm);
  for (std::size_t k = 0; k < current.size(); ++k) {
    SetImageWord(image, layout.currentLoop + 2 * k, current[k]);
  }
  const uint16_t p = IntWord(fields.VELLOOPPCONST);
  const uint16_t i = IntWord(fields.VELLOOPICONST);
  const uint16_t d = IntWord(fields.VELLOOPDCONST);
  // The status is not needed: a result out of bounds has left all three words at 0.
  const VelocityCoefficients velocity = VelocityLoopCoefficients(p, i, d, layout.loopForm);
  SetImageWord(image, layout.velocityCoefficients, velocity.a);
  SetImageWord(image, layout.velocityCoefficients + 2, velocity.b);
  SetImageWord(image, layout.velocityCoefficients + 4, velocity.c);
  SetImageWord(image, layout.velLoopP, p);
  SetImageWord(image, layout.velLoopI, i);
  SetImageWord(image, layout.velLoopD, d);
}

void PackLimits(const SetupFields& fields, const SetupLayout& layout, std::span<uint8_t> image) {
  auto velocity = [&layout](const auto& text) {
    return layout.finePositions ? VelocityToCounts(Decimal(text))
                                : VelocityToCountsTruncated(Decimal(text));
  };
  SetImageWord(image, layout.maxVel, velocity(fields.MAXVEL));
  SetImageWord(image, layout.maxForce, ForceToCounts(Decimal(fields.MAXFORCE)));
  SetImageWord(image, layout.maxForceLbf, IntWord(fields.MAXFORCE));
  SetImageWord(image, layout.maxHomeVel, velocity(fields.MAXHOMEVEL));
  SetImageWord(image, layout.maxHomeForce, ForceToCounts(Decimal(fields.MAXHOMEFORCE)));
  SetImageWord(image, layout.maxHomeForceLbf, IntWord(fields.MAXHOMEFORCE));
  SetImageWord(image, layout.holdForce, ForceToCounts(Decimal(fields.HOLDCURFORCE)));
  SetImageWord(image, layout.holdForceLbf, IntWord(fields.HOLDCURFORCE));
  if (layout.seating == 0)
    return;
  SetImageWord(image, layout.seating, ForceToCounts(Decimal(fields.SEATINGFORCE)));
  SetImageWord(image, layout.seating + 2, IntWord(fields.SEATFORCETIME));
  SetImageWord(image, layout.seating + 4, velocity(fields.RUNLOSSVEL));
  SetImageWord(image, layout.seating + 6, velocity(fields.DMDLOSSVEL));
  SetImageWord(image, layout.seating + 8, 0x0055);
  SetImageWord(image, layout.seating + 10, 0x00AA);
}

}  // namespace

void PackSetup(SetupParameters& record, int firmwareVersion) {
  SetDateTimeToNow(record);
  const SetupLayout& layout = SetupLayoutFor(firmwareVersion);
  const std::span<uint8_t> image(record.pageImage, layout.imageBytes);
  PackIdentification(record, image);
  PackPositions(record, layout, image);
  SetImageWord(image, layout.posCmdSrc, IntWord(record.POSCMDSRC));
  SetImageWord(image, layout.motorOverTemp, IntWord(record.MOTOROVERTEMP));
  SetImageWord(image, layout.elecOverTemp, IntWord(record.ELECOVERTEMP));
  SetImageWord(image, layout.actFault, IntWord(record.ACTFAULT));
  if (layout.profileTable != 0) {
    const std::array<uint16_t, 17> profile = PositionProfileTable(
        ParseLeadingInt(Text(record.POSLOOPTUNECONST)), ImageWord(image, layout.span),
        VelocityToCountsTruncated(Decimal(record.MAXVEL)));
    for (std::size_t k = 0; k < profile.size(); ++k) {
      SetImageWord(image, layout.profileTable + 2 * k, profile[k]);
    }
  }
  PackLoops(record, layout, image);
  PackLimits(record, layout, image);
  SetImageWord(image, layout.checksum(), SetupChecksum(image));
}

}  // namespace velmar
