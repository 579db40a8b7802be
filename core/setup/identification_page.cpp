#include <tuple>
#include <utility>

#include "setup/setup_page_checks.h"
#include "setup/setup_pages.h"

namespace velmar {

using namespace setup_controls;

namespace {

constexpr const char* kCaption = "Actuator Identification";

// The first two tokens of a part number split at blanks and hyphens; missing ones are empty.
std::pair<std::string, std::string> SplitPartNumber(std::string_view text) {
  std::string tokens[2];
  std::size_t count = 0;
  std::size_t i = 0;
  while (count < 2 && i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '-')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '-') {
      ++i;
    }
    if (i > start) {
      tokens[count++] = std::string(text.substr(start, i - start));
    }
  }
  return {tokens[0], tokens[1]};
}

// An alternate part number that is empty or starts with a blank or control character shows as
// blanks.
std::pair<std::string, std::string> SplitAlternate(std::string_view text) {
  if (text.empty() || static_cast<unsigned char>(text.front()) <= ' ') {
    return {" ", " "};
  }
  return SplitPartNumber(text);
}

}  // namespace

IdentificationPage::IdentificationPage() : SetupPage(130, "Actuator Identification") {
  edits = {
      {.id = kSerialNumber, .prompt = "Serial Number"},
      {.id = kModelNumber, .prompt = "ZOLT Model Number"},
      {.id = kPartNoFirst, .prompt = "ZOLT Part No."},
      {.id = kPartNoSecond, .secondHalf = true},
      {.id = kOrvikPartNoFirst, .prompt = "Orvik Part No."},
      {.id = kOrvikPartNoSecond, .secondHalf = true},
      {.id = kAlternate1First, .prompt = "Alternate Orvik Part No."},
      {.id = kAlternate1Second, .secondHalf = true},
      {.id = kAlternate2First, .prompt = "Alternate Orvik Part No."},
      {.id = kAlternate2Second, .secondHalf = true},
  };
}

void IdentificationPage::Activate(SetupPageValues& values) {
  std::tie(values.partNoFirst, values.partNoSecond) = SplitPartNumber(values.PARTNO);
  std::tie(values.orvikPartNoFirst, values.orvikPartNoSecond) = SplitPartNumber(values.OrvikPartNo);
  for (std::size_t i = 0; i < values.alternatePartNo.size(); ++i) {
    std::tie(values.alternatePartNoFirst[i], values.alternatePartNoSecond[i]) =
        SplitAlternate(values.alternatePartNo[i]);
  }
  SetEditText(kSerialNumber, values.SERIALNO);
  SetEditText(kModelNumber, values.MODELNO);
  SetEditText(kPartNoFirst, values.partNoFirst);
  SetEditText(kPartNoSecond, values.partNoSecond);
  SetEditText(kOrvikPartNoFirst, values.orvikPartNoFirst);
  SetEditText(kOrvikPartNoSecond, values.orvikPartNoSecond);
  SetEditText(kAlternate1First, values.alternatePartNoFirst[0]);
  SetEditText(kAlternate1Second, values.alternatePartNoSecond[0]);
  SetEditText(kAlternate2First, values.alternatePartNoFirst[1]);
  SetEditText(kAlternate2Second, values.alternatePartNoSecond[1]);
  SetEditsReadOnly(values.databaseMode);
}

bool IdentificationPage::Leave(SetupPageValues& values, Ui& ui) {
  values.SERIALNO = ZeroFillSerialNumber(Text(kSerialNumber));
  values.MODELNO = Text(kModelNumber);
  values.partNoFirst = Text(kPartNoFirst);
  values.partNoSecond = Text(kPartNoSecond);
  values.PARTNO = values.partNoFirst + "-" + values.partNoSecond;
  // The customer part numbers are shown only; their halves are kept, the numbers stay as they came.
  values.orvikPartNoFirst = Text(kOrvikPartNoFirst);
  values.orvikPartNoSecond = Text(kOrvikPartNoSecond);
  values.alternatePartNoFirst = {Text(kAlternate1First), Text(kAlternate2First)};
  values.alternatePartNoSecond = {Text(kAlternate1Second), Text(kAlternate2Second)};

  if (!IsNumericText(values.SERIALNO) || values.SERIALNO.size() != 5) {
    ui.ShowMessage(MessageKind::Warning,
                   "Warning, Serial Number is not a valid ZOLT Serial Number.", kCaption);
  }
  if (!IsNumericText(values.partNoFirst) || !IsNumericText(values.partNoSecond) ||
      values.PARTNO.front() != '5' || values.PARTNO.size() != 11) {
    ui.ShowMessage(MessageKind::Warning, "Warning, Part Number is not a valid ZOLT Part Number.",
                   kCaption);
  }
  return true;
}

}  // namespace velmar
