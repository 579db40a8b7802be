#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmar {

// The fault snapshot of firmware 2.00 up to 3.00 as last uploaded in this program run: fourteen
// display texts and the fault flags word. Blank until an upload succeeds.
struct FaultFileImage {
  static constexpr int kTexts = 14;
  static constexpr int kFlags = 15;
  // 34 bytes at word address 0x200, read as three pages.
  static constexpr uint16_t kWordAddress = 0x200;
  static constexpr int kBytes = 34;
  static constexpr int kPages = 3;

  FaultFileImage() { Clear(); }
  // The blank state: eight blanks for the date and time, four for the rest, no flags.
  void Clear();
  bool FlagSet(int bit) const { return (flags >> bit) & 1; }

  using Texts = std::array<std::string, kTexts>;
  Texts texts;
  uint16_t flags = 0;
};

// The check box captions and the save report's labels of flag bits 0..14.
extern const std::array<const char*, FaultFileImage::kFlags> kFaultFlagCaptions;
extern const std::array<const char*, FaultFileImage::kFlags> kFaultFlagReportLabels;
// The dialog's labels of the fourteen texts.
extern const std::array<const char*, FaultFileImage::kTexts> kFaultFileTextLabels;

// Checks the date and time of the raw fault file and, when they hold, fills `image` with its
// texts and flags; `thermistorMode` is the curve of the actuator's firmware. False (and `image`
// unchanged) for an erased or unset fault file.
bool DecodeFaultFile(const uint8_t (&bytes)[FaultFileImage::kBytes], int thermistorMode,
                     FaultFileImage& image);

// How the last upload went, for the printed report.
enum class UploadOutcome { NotRun, Uploaded, NoFaultFile, CommunicationError };

// The printed fault file report ("\n" line breaks, tabs).
std::string FaultFileReportText(const FaultFileImage& image, UploadOutcome upload);

// The lines of the saved fault file report, without line ends.
std::vector<std::string> FaultFileReportLines(const FaultFileImage& image);

}  // namespace velmar
