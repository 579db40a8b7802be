#include "setup/setup_page_values.h"

#include <cstdio>
#include <cstring>

namespace velmar {

namespace {

// Calls copy(pageText, recordField) for every text the pages carry, in record order. One list
// for both directions, so copy in and copy back cannot drift apart.
template <typename Values, typename Fields, typename Copy>
void ForEachText(Values& values, Fields& record, Copy copy) {
  copy(values.SERIALNO, record.SERIALNO);
  copy(values.MODELNO, record.MODELNO);
  copy(values.OrvikPartNo, record.OrvikPartNo);
  copy(values.PARTNO, record.PARTNO);
  copy(values.SPAN, record.SPAN);
  copy(values.STOPPOS, record.STOPPOS);
  for (std::size_t k = 0; k < values.STROKETBL.size(); ++k) {
    copy(values.STROKETBL[k], record.STROKETBL[k]);
  }
  copy(values.POSLOOPTUNECONST, record.POSLOOPTUNECONST);
  copy(values.CURLOOPPCONST, record.CURLOOPPCONST);
  copy(values.CURLOOPICONST, record.CURLOOPICONST);
  copy(values.CURLOOPDCONST, record.CURLOOPDCONST);
  copy(values.VELLOOPPCONST, record.VELLOOPPCONST);
  copy(values.VELLOOPICONST, record.VELLOOPICONST);
  copy(values.VELLOOPDCONST, record.VELLOOPDCONST);
  copy(values.MAXVEL, record.MAXVEL);
  copy(values.MAXFORCE, record.MAXFORCE);
  copy(values.MAXHOMEVEL, record.MAXHOMEVEL);
  copy(values.MAXHOMEFORCE, record.MAXHOMEFORCE);
  copy(values.HOLDCURFORCE, record.HOLDCURFORCE);
  copy(values.SEATINGFORCE, record.SEATINGFORCE);
  copy(values.SEATFORCETIME, record.SEATFORCETIME);
  copy(values.RUNLOSSVEL, record.RUNLOSSVEL);
  copy(values.DMDLOSSVEL, record.DMDLOSSVEL);
}

template <std::size_t N>
std::string FieldString(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

template <std::size_t N>
void SetCode(char (&field)[N], int value) {
  char text[16];
  std::snprintf(text, sizeof(text), "%d", value);
  SetField(field, text);
}

}  // namespace

SetupPageValues::SetupPageValues() {
  FillPages(SetupFields{});
}

void SetupPageValues::FillPages(const SetupFields& record) {
  ForEachText(*this, record,
              [](std::string& text, const auto& field) { text = FieldString(field); });
  SERIALNO = ZeroFillSerialNumber(SERIALNO);
  alternatePartNo = {};
  actuatorType = ParseLeadingInt(FieldString(record.ACTTYPE));
  commandSource = ParseLeadingInt(FieldString(record.POSCMDSRC));
  homePosition = ParseLeadingInt(FieldString(record.HOMEPOS));
}

void SetupPageValues::ApplyPages(SetupFields& record) const {
  ForEachText(*this, record, [](const std::string& text, auto& field) { SetField(field, text); });
  SetCode(record.ACTTYPE, actuatorType);
  SetCode(record.POSCMDSRC, commandSource);
  SetCode(record.HOMEPOS, homePosition);
}

std::string ZeroFillSerialNumber(std::string_view serial) {
  constexpr std::size_t kDigits = 5;
  std::string filled(serial.size() < kDigits ? kDigits - serial.size() : 0, '0');
  filled += serial;
  return filled;
}

}  // namespace velmar
