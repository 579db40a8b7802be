#include "faults/fault_file_upload.h"

#include <cstdio>
#include <cstring>

#include "base/little_endian.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr int kVersionTries = 8;
constexpr int kVersionPauseMs = 40;
constexpr int kPagePauseMs = 100;

struct TestPattern {
  const char* node;
  uint16_t flags;
};

constexpr TestPattern kTestPatterns[] = {
    {"FAULTTEST0", 0x0000},
    {"FAULTTEST1", 0x5555},
    {"FAULTTEST2", 0xAAAA},
    {"FAULTTEST3", 0xFFFF},
};
constexpr int kFlagsOffset = 10;

bool AskFirmwareVersion(ActuatorLink& link, Clock& clock) {
  for (int attempt = 0; attempt < kVersionTries; ++attempt) {
    if (attempt > 0) {
      clock.SleepMs(kVersionPauseMs);
    }
    link.SendFirmwareVersionRequest();
    if (link.ReceiveFirmwareVersion() == LinkResult::kSuccess) {
      return true;
    }
  }
  return false;
}

}  // namespace

UploadOutcome UploadFaults(ActuatorLink& link, Clock& clock, Ui& ui, const std::string& node,
                           FaultFileImage& image) {
  if (!AskFirmwareVersion(link, clock)) {
    ui.ShowMessage(MessageKind::Error, "No response from actuator.", "Communication Error");
    return UploadOutcome::CommunicationError;
  }
  uint8_t bytes[FaultFileImage::kBytes] = {};
  for (int page = 0; page < FaultFileImage::kPages; ++page) {
    uint16_t words[ActuatorLink::kWordsPerPage];
    const auto address =
        static_cast<uint16_t>(FaultFileImage::kWordAddress + page * ActuatorLink::kWordsPerPage);
    if (link.ReadFaultFileWords(address, words) != LinkResult::kSuccess) {
      char text[64];
      std::snprintf(text, sizeof text, "Fault upload page %d request failed!", page);
      ui.ShowMessage(MessageKind::Error, text, "Fault File Transfer Error");
      return UploadOutcome::CommunicationError;
    }
    // The third page supplies the last 10 bytes; its last word is not part of the file.
    const int offset = page * 2 * ActuatorLink::kWordsPerPage;
    for (int word = 0;
         word < ActuatorLink::kWordsPerPage && offset + 2 * word < FaultFileImage::kBytes; ++word) {
      WriteLe16(bytes + offset + 2 * word, words[word]);
    }
    clock.SleepMs(kPagePauseMs);
  }
  for (const TestPattern& pattern : kTestPatterns) {
    if (node == pattern.node) {
      if (pattern.flags == 0) {
        image.Clear();
      }
      WriteLe16(bytes + kFlagsOffset, pattern.flags);
    }
  }
  const int thermistorMode = link.FirmwareVersion() >= kFirmware200 ? 2 : 1;
  if (!DecodeFaultFile(bytes, thermistorMode, image)) {
    ui.ShowMessage(MessageKind::Information, "No Fault File data to upload.", "View Fault File");
    return UploadOutcome::NoFaultFile;
  }
  return UploadOutcome::Uploaded;
}

bool ClearActuatorFaults(ActuatorLink& link, Ui& ui, MessageKind failureKind) {
  if (link.ClearFaults() != LinkResult::kSuccess) {
    ui.ShowMessage(failureKind, "Clear faults aborted, clear faults failed!", "Clear Faults");
    return false;
  }
  ui.ShowMessage(MessageKind::Information, "Clear faults procedure successful.", "Clear Faults");
  return true;
}

}  // namespace velmar
