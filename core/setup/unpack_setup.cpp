#include "setup/unpack_setup.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>

#include "base/text_format.h"
#include "link/firmware_versions.h"
#include "setup/setup_numerics.h"
#include "setup/setup_page_image.h"
#include "setup/setup_page_layout.h"

namespace velmar {
namespace {

constexpr int kStrokePoints = 17;

double RoundAt495(double d) {
  const double whole = std::floor(d);
  return d - whole < 0.495 ? whole : std::ceil(d);
}

// Writes the formatted number into exactly `count` characters of DATETIME from `at`, the way a
// fixed-width copy does: a shorter text ends the field there, a longer one is cut.
void PutDatePart(char* dateTime, std::size_t at, std::size_t count, const char* format, int value) {
  char text[16] = {};
  std::snprintf(text, sizeof(text), format, value);
  std::memcpy(dateTime + at, text, count);
}

void UnpackDateTime(std::span<const uint8_t> image, SetupFields& fields) {
  char* dt = fields.DATETIME;
  PutDatePart(dt, 6, 4, "%d", ImageWord(image, 0));
  PutDatePart(dt, 0, 2, "%02d", image[2]);
  dt[2] = '/';
  PutDatePart(dt, 3, 2, "%02d", image[3]);
  dt[5] = '/';
  // The separator between date and time is kept; a field that had none gets one, so the time
  // does not end up behind a terminator.
  if (dt[10] == '\0')
    dt[10] = '-';
  PutDatePart(dt, 11, 2, "%02d", image[4]);
  dt[13] = ':';
  PutDatePart(dt, 14, 2, "%02d", image[6]);
  dt[16] = ':';
  PutDatePart(dt, 17, 2, "%02d", image[7]);
  std::memset(dt + 19, 0, sizeof(fields.DATETIME) - 19);
}

// Identification bytes back to text; the first byte below 33 ends it.
void UnpackName(std::span<const uint8_t> bytes, std::span<char> field) {
  std::size_t length = 0;
  while (length < bytes.size() && bytes[length] >= 33)
    ++length;
  SetField(field, std::string_view(reinterpret_cast<const char*>(bytes.data()), length));
}

template <std::size_t N>
void SetWordText(char (&field)[N], uint16_t word) {
  SetField(field, FormatText("%d", word));
}

template <std::size_t N>
void SetPositionText(char (&field)[N], const char* format, uint32_t counts) {
  SetField(field, FormatText(format, FineCountsToPosition(counts)));
}

}  // namespace

std::string TwoDecimalText(double value) {
  return FormatText("%.2f", RoundAt495(value * 100) * 0.01);
}

std::string WholePoundText(uint16_t forceCounts) {
  return FormatText("%.2f", RoundAt495(ForceCountsToLbf(forceCounts)));
}

bool UnpackSetup(SetupParameters& record, int firmwareVersion) {
  if (firmwareVersion <= kFirmware100)
    return false;
  const SetupLayout& layout = SetupLayoutFor(firmwareVersion);
  const std::span<const uint8_t> image(record.pageImage);

  UnpackDateTime(image, record);
  SetField(record.SERIALNO, FormatText("%05ld", static_cast<long>(ImageLong(image, 8))));
  UnpackName(image.subspan(12, 12), record.MODELNO);
  UnpackName(image.subspan(24, 16), record.PARTNO);
  SetWordText(record.ACTTYPE, ImageWord(image, 40));
  SetWordText(record.HOMEPOS, ImageWord(image, 42));

  SetPositionText(record.SPAN, "%1.4f", ImageLong(image, layout.span));
  SetPositionText(record.STOPPOS, "%1.4f", ImageLong(image, layout.stopPos));
  for (int k = 0; k < kStrokePoints; ++k) {
    SetPositionText(record.STROKETBL[k], "%.4f", ImageLong(image, layout.strokeTable + 4 * k));
  }

  SetWordText(record.POSCMDSRC, ImageWord(image, layout.posCmdSrc));
  SetWordText(record.MOTOROVERTEMP, ImageWord(image, layout.motorOverTemp));
  SetWordText(record.ELECOVERTEMP, ImageWord(image, layout.elecOverTemp));
  SetWordText(record.ACTFAULT, ImageWord(image, layout.actFault));
  SetWordText(record.POSLOOPTUNECONST, ImageWord(image, layout.posLoopTune));
  SetField(record.CURLOOPPCONST, TwoDecimalText(ImageWord(image, layout.curLoopP()) * 0.001));
  SetField(record.CURLOOPICONST, TwoDecimalText(ImageWord(image, layout.curLoopI())));
  SetField(record.CURLOOPDCONST, TwoDecimalText(ImageWord(image, layout.curLoopD())));
  SetWordText(record.VELLOOPPCONST, ImageWord(image, layout.velLoopP));
  SetWordText(record.VELLOOPICONST, ImageWord(image, layout.velLoopI));
  SetWordText(record.VELLOOPDCONST, ImageWord(image, layout.velLoopD));

  SetField(record.MAXVEL, TwoDecimalText(ImageWord(image, layout.maxVel) * 0.001));
  SetField(record.MAXFORCE, WholePoundText(ImageWord(image, layout.maxForce)));
  SetField(record.MAXHOMEVEL, TwoDecimalText(ImageWord(image, layout.maxHomeVel) * 0.001));
  SetField(record.MAXHOMEFORCE, WholePoundText(ImageWord(image, layout.maxHomeForce)));
  SetField(record.HOLDCURFORCE, WholePoundText(ImageWord(image, layout.holdForce)));

  if (firmwareVersion >= kFirmware310) {
    SetField(record.SEATINGFORCE, WholePoundText(ImageWord(image, layout.seating)));
    SetWordText(record.SEATFORCETIME, ImageWord(image, layout.seating + 2));
    SetField(record.RUNLOSSVEL, TwoDecimalText(ImageWord(image, layout.seating + 4) * 0.001));
    SetField(record.DMDLOSSVEL, TwoDecimalText(ImageWord(image, layout.seating + 6) * 0.001));
  }
  return true;
}

}  // namespace velmar
