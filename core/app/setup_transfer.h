#pragma once

#include <cstdint>
#include <string>

#include "app/session.h"
#include "link/actuator_link.h"

namespace velmar {

// Why the download window closed: its `TransferResult`.
enum class TransferResult {
  kDone = 0,
  kPartNotListed = 12,
  kNoReply = 21,
  kFirmwareNotSupported = 32,
  kDeclined = 34,
  kSerialInvalid = 40,
  // The pages read back after the commit differ from what was written (`VerifyFailedPage`).
  kVerifyFailed = 50,
  // The user stopped the download; writes were disabled first.
  kInterrupted = 51,
};

// The work of the "File Transfer Progress" window that moves the setup record to or from the
// actuator: every exchange with its attempts and pauses, the progress positions and the
// window's own warnings.
class SetupTransfer {
 public:
  explicit SetupTransfer(Session& session) : session_(session) {}

  // Reads every setup page and unpacks the image into the setup record. True (the window's OK)
  // once all pages arrived, also after the warning about a bad checksum; otherwise the record
  // and its image are left as they were.
  bool Upload();

  // Packs the setup record for the actuator's firmware, writes it page by page and commits it.
  // `keepRecordSerial`: the record's own SERIALNO is sent and must be 1..99999; otherwise the
  // actuator's serial number replaces it first. True on success; otherwise `TransferResult`
  // says why (0 after a loop-parameter refusal, which shows its own warning).
  // Every way out after the write-enable sends the write-disable; when `verify`, the committed
  // pages are read back and compared with the image sent.
  bool Download(bool keepRecordSerial, bool verify = true);

  velmar::TransferResult TransferResult = velmar::TransferResult::kDone;
  // The page that read back different, with kVerifyFailed.
  int VerifyFailedPage = -1;
  // The actuator never acknowledged the write-disable: it may still accept writes. A download
  // that ends so is never a success.
  bool WritesLeftEnabled = false;

  // What the download writes ("Configuration 1045210-001", "Setup file unit.cfg"). When set,
  // the question before writing names it with the actuator's serial and part number, so the
  // technician sees what goes where before saying Yes.
  std::string downloadSubject;

 private:
  void OpenWindow();
  void CloseWindow();
  // Closes the window first, so the box never hides behind it.
  void Warn(const char* text, const char* caption);

  bool UploadPages();
  bool DownloadPages(bool keepRecordSerial, bool verify);
  bool Fail(velmar::TransferResult result);
  bool FailAndDisableWrites(velmar::TransferResult result);
  bool Verify(int version);
  velmar::TransferResult NoReplyOrInterrupted() const;

  bool PrepareUpload();
  bool ReadPage(int page, FrameForm form);
  bool EnableWrites();
  bool Compatible(int version);
  bool WritePage(int page, int words, FrameForm form);
  bool Commit();

  Session& session_;
  bool windowOpen_ = false;
};

}  // namespace velmar
