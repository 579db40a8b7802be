#include "app/setup_transfer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <span>

#include "app/actuator_readings.h"
#include "link/firmware_versions.h"
#include "setup/pack_setup.h"
#include "setup/setup_page_image.h"
#include "setup/unpack_setup.h"

namespace velmar {

namespace {

constexpr const char* kWindowStatus = "Setup Parameter Transfer in Progress...";
constexpr const char* kTransferErrorCaption = "Setup Transfer Error";
constexpr const char* kDownloadCaption = "Setup Download";

constexpr int kMaxVelocityLoopIFor100 = 2000;

constexpr int kUploadAttempts = 8;
constexpr int kUploadRetrySleepMs = 40;
constexpr int kUploadStep = 6;
constexpr int kUploadPageSleepMs = 100;

constexpr int kDownloadVersionAttempts = 5;
constexpr int kDownloadAttempts = 8;
constexpr int kDownloadStep = 5;
constexpr int kLastPagePosition = 95;
constexpr int kDownloadPageSleepMs = 500;
constexpr int kCommitTimeoutMs = 2000;
constexpr int kCommitRetrySleepMs = 1000;
constexpr int kCommittedSleepMs = 100;

bool InRange(int value, int low, int high) {
  return value >= low && value <= high;
}

// 3.10 and later pages go in CRC form whatever mode the link is in; older pages in the link's.
FrameForm PageForm(int version) {
  return version >= kFirmware310 ? FrameForm::kCrc : FrameForm::kCurrentMode;
}

// The download question, naming what goes to which actuator when the command says what it writes.
std::string DownloadQuestion(const std::string& subject, const ActuatorLink& link) {
  std::string question = "Current setup parameters will be overwritten.\n\n";
  if (!subject.empty()) {
    question += subject + "\nActuator serial number " + link.IdentSerialNumber() +
                ", part number " + link.IdentPartNumber() + "\n\n";
  }
  return question + "Proceed with download?";
}

}  // namespace

void SetupTransfer::OpenWindow() {
  session_.ui.BeginProgress(ProgressKind::FileTransfer, kWindowStatus);
  session_.ui.SetProgressPosition(0);
  windowOpen_ = true;
}

void SetupTransfer::CloseWindow() {
  if (windowOpen_) {
    session_.ui.EndProgress();
    windowOpen_ = false;
  }
}

void SetupTransfer::Warn(const char* text, const char* caption) {
  CloseWindow();
  session_.ui.ShowMessage(MessageKind::Warning, text, caption);
}

bool SetupTransfer::Upload() {
  OpenWindow();
  const bool uploaded = UploadPages();
  CloseWindow();
  return uploaded;
}

bool SetupTransfer::PrepareUpload() {
  for (int attempt = 0; attempt < kUploadAttempts && !session_.link.StopRequested(); ++attempt) {
    session_.link.SendPrepareUpload();
    if (session_.link.ReceiveAck() == LinkResult::kSuccess) {
      return true;
    }
    session_.clock.SleepMs(kUploadRetrySleepMs);
  }
  return false;
}

bool SetupTransfer::ReadPage(int page, FrameForm form) {
  for (int attempt = 0; attempt < kUploadAttempts && !session_.link.StopRequested(); ++attempt) {
    if (attempt > 0) {
      session_.clock.SleepMs(kUploadRetrySleepMs);
    }
    if (session_.link.ReadWords(PageWordOffset(page), form) == LinkResult::kSuccess) {
      return true;
    }
  }
  return false;
}

bool SetupTransfer::UploadPages() {
  Ui& ui = session_.ui;
  int position = 1;
  ui.SetProgressPosition(position);
  ui.SetProgressStatus("Uploading Setup Parameters...");

  int version = 0;
  if (!RequestFirmwareVersion(session_.link, kUploadAttempts, version) ||
      !InRange(version, kFirmware100, kFirmware1500) || !PrepareUpload()) {
    return false;
  }
  if (!InRange(version, kFirmware101, kFirmware300) &&
      !InRange(version, kFirmware310, kFirmware1500)) {
    Warn("Undefined firmware version!", kTransferErrorCaption);
    return false;
  }

  // The pages gather in a copy, so a failed upload leaves the record's image as it was.
  SetupParameters& record = session_.setup;
  uint8_t image[kSetupImageBytes];
  std::memcpy(image, record.pageImage, sizeof image);
  const int pages = SetupPageCount(version);
  for (int page = 0; page < pages; ++page) {
    if (!ReadPage(page, PageForm(version))) {
      char text[64];
      std::snprintf(text, sizeof text, "Setup upload page %d request failed!", page);
      Warn(text, kTransferErrorCaption);
      return false;
    }
    for (int word = 0; word < ActuatorLink::kWordsPerPage; ++word) {
      SetImageWord(image, page * kSetupPageBytes + 2 * word, session_.link.ReplyWords()[word]);
    }
    // Eighteen steps would run past the end of the bar; it stays full instead.
    position = page == pages - 1 ? 100 : std::min(position + kUploadStep, 100);
    ui.SetProgressPosition(position);
    session_.clock.SleepMs(kUploadPageSleepMs);
  }

  std::memcpy(record.pageImage, image, sizeof image);
  UnpackSetup(record, version);
  const std::size_t size = SetupImageSize(version);
  const std::span<const uint8_t> used(image, size);
  if (ImageWord(used, size - 2) != SetupChecksum(used)) {
    CloseWindow();
    ui.ShowMessage(MessageKind::Error, "Setup data checksum is invalid!", "Setup Com Error");
  }
  return true;
}

bool SetupTransfer::Download(bool keepRecordSerial, bool verify) {
  TransferResult = velmar::TransferResult::kDone;
  VerifyFailedPage = -1;
  WritesLeftEnabled = false;
  OpenWindow();
  const bool downloaded = DownloadPages(keepRecordSerial, verify);
  CloseWindow();
  return downloaded;
}

bool SetupTransfer::Fail(velmar::TransferResult result) {
  TransferResult = result;
  return false;
}

bool SetupTransfer::FailAndDisableWrites(velmar::TransferResult result) {
  TransferResult = result;
  WritesLeftEnabled = session_.link.DisableWrites() != LinkResult::kSuccess;
  return false;
}

// A step that gave up because the user asked to stop was interrupted, not unanswered.
velmar::TransferResult SetupTransfer::NoReplyOrInterrupted() const {
  return session_.link.StopRequested() ? velmar::TransferResult::kInterrupted
                                       : velmar::TransferResult::kNoReply;
}

bool SetupTransfer::EnableWrites() {
  for (int attempt = 0; attempt < kDownloadAttempts; ++attempt) {
    session_.link.SendWriteEnable();
    if (session_.link.ReceiveAck() == LinkResult::kSuccess) {
      return true;
    }
  }
  return false;
}

bool SetupTransfer::Compatible(int version) {
  const DefaultLoopSet loopSet = RecogniseDefaultLoopSet(session_.setup);
  if (version == kFirmware100) {
    if (loopSet == DefaultLoopSet::Firmware101) {
      Warn("Version 1.01 default loop parameters are incompatible with v1.00 firmware!",
           kDownloadCaption);
      return false;
    }
    if (ParseLeadingInt(session_.setup.VELLOOPICONST) > kMaxVelocityLoopIFor100) {
      Warn("Version 1.01 velocity loop I parameter is incompatible with v1.00 firmware!",
           kDownloadCaption);
      return false;
    }
    return true;
  }
  // 3.01 to 3.09 take no setup pages: nothing would be written, yet the commit would report
  // success.
  if (version < kFirmware101 || version >= kFirmware1500 ||
      (version > kFirmware300 && version < kFirmware310)) {
    TransferResult = velmar::TransferResult::kFirmwareNotSupported;
    Warn("Actuator firmware is not compatible with this version of Velmar.", kDownloadCaption);
    return false;
  }
  if (loopSet == DefaultLoopSet::Firmware100) {
    Warn("Version 1.00 default loop parameters are incompatible with v1.01 or later firmware! ",
         kDownloadCaption);
    return false;
  }
  return true;
}

bool SetupTransfer::WritePage(int page, int words, FrameForm form) {
  uint16_t data[ActuatorLink::kWordsPerPage];
  for (int word = 0; word < words; ++word) {
    data[word] = ImageWord(session_.setup.pageImage, page * kSetupPageBytes + 2 * word);
  }
  for (int attempt = 0; attempt < kDownloadAttempts && !session_.link.StopRequested(); ++attempt) {
    if (session_.link.WriteWords(PageWordOffset(page), data, words, form) == LinkResult::kSuccess) {
      return true;
    }
  }
  return false;
}

bool SetupTransfer::Commit() {
  ActuatorLink& link = session_.link;
  for (int attempt = 0; attempt < kDownloadAttempts && !link.StopRequested(); ++attempt) {
    if (attempt > 0) {
      session_.clock.SleepMs(kCommitRetrySleepMs);
    }
    link.SendCommitSetup();
    // The commit's acknowledge is awaited whole.
    if (link.ReceiveAck(kCommitTimeoutMs, link.EmptyFrameLength()) == LinkResult::kSuccess) {
      return true;
    }
  }
  return false;
}

bool SetupTransfer::DownloadPages(bool keepRecordSerial, bool verify) {
  Ui& ui = session_.ui;
  ActuatorLink& link = session_.link;
  SetupParameters& record = session_.setup;
  if (ui.AskYesNo(DownloadQuestion(downloadSubject, link), kDownloadCaption) != Answer::Yes) {
    return Fail(velmar::TransferResult::kDeclined);
  }
  int version = 0;
  if (!RequestFirmwareVersion(link, kDownloadVersionAttempts, version) ||
      link.ReadIdentification() != LinkResult::kSuccess) {
    return Fail(velmar::TransferResult::kNoReply);
  }
  if (keepRecordSerial && !InRange(ParseLeadingInt(record.SERIALNO), 1, 99999)) {
    return Fail(velmar::TransferResult::kSerialInvalid);
  }
  if (session_.catalogue.FindByMakerPartNumber(link.IdentPartNumber()) != 0) {
    return Fail(velmar::TransferResult::kPartNotListed);
  }
  // An unanswered write-enable may still have reached the actuator.
  if (!EnableWrites() || !RequestFirmwareVersion(link, kDownloadAttempts, version)) {
    return FailAndDisableWrites(velmar::TransferResult::kNoReply);
  }
  if (!Compatible(version)) {
    return FailAndDisableWrites(TransferResult);
  }
  if (!keepRecordSerial) {
    SetField(record.SERIALNO, link.IdentSerialNumber());
  }
  PackSetup(record, version);

  int position = 1;
  ui.SetProgressPosition(position);
  ui.SetProgressStatus("Downloading Setup Parameters...");
  const int pages = SetupPageCount(version);
  for (int page = 0; page < pages; ++page) {
    const int words = static_cast<int>(SetupPageSize(version, page) / 2);
    if (!WritePage(page, words, PageForm(version))) {
      return FailAndDisableWrites(NoReplyOrInterrupted());
    }
    position = page == pages - 1 ? kLastPagePosition : position + kDownloadStep;
    ui.SetProgressPosition(position);
    session_.clock.SleepMs(kDownloadPageSleepMs);
  }
  if (!Commit()) {
    return FailAndDisableWrites(NoReplyOrInterrupted());
  }
  ui.SetProgressPosition(100);
  session_.clock.SleepMs(kCommittedSleepMs);
  if (link.DisableWritesAfterDownload() != LinkResult::kSuccess) {
    WritesLeftEnabled = true;
    return false;
  }
  TransferResult = velmar::TransferResult::kDone;
  return !verify || Verify(version);
}

// Reads every page back as an upload would and compares it with the image sent. The actuator
// keeps every byte it is sent (the checksum and the coefficients are the program's own), so the
// whole image is compared; only the words past the end of the shorter last page of 1.00 are not.
bool SetupTransfer::Verify(int version) {
  if (!PrepareUpload()) {
    return Fail(NoReplyOrInterrupted());
  }
  const int pages = SetupPageCount(version);
  for (int page = 0; page < pages; ++page) {
    if (!ReadPage(page, PageForm(version))) {
      return Fail(NoReplyOrInterrupted());
    }
    const int words = static_cast<int>(SetupPageSize(version, page) / 2);
    for (int word = 0; word < words; ++word) {
      if (session_.link.ReplyWords()[word] !=
          ImageWord(session_.setup.pageImage, page * kSetupPageBytes + 2 * word)) {
        VerifyFailedPage = page;
        return Fail(velmar::TransferResult::kVerifyFailed);
      }
    }
  }
  return true;
}

}  // namespace velmar
