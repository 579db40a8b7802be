#pragma once

#include <string>

#include "app/session.h"
#include "app/setup_transfer.h"

namespace velmar {

// The main window's Upload Setup command: the version and RESET pre-checks, the upload window,
// then the uploaded serial number becomes the main window's. True when the record now holds the
// actuator's setup; the window then shows the setup pages.
bool UploadSetupCommand(Session& session);

// How a Download Setup command ended.
struct DownloadOutcome {
  // The setup was written and committed, and the success box shown.
  bool downloaded = false;
  // Nothing was written: the record holds values the setup pages refuse.
  bool refusedByChecks = false;
  // `TransferResult` of the transfer window; kDone when the command ended before opening it.
  TransferResult transferResult = TransferResult::kDone;
  // The actuator never acknowledged the write-disable.
  bool writesLeftEnabled = false;
};

struct DownloadOptions {
  // Refuse a record holding values the setup pages' checks refuse. The desktop tool downloads
  // an approved setup as it stands, as its view-only pages show it.
  bool checkRecord = false;
};

// The main window's Download Setup command: its pre-checks, the approved setup of the chosen
// configuration loaded from the database, optionally the setup pages' checks over it, the
// download window and the result box. Nothing is written when the approved setup cannot be
// loaded.
DownloadOutcome DownloadSetupCommand(Session& session, const DownloadOptions& options = {});

// Restore Setup From File: the same pre-checks, then the setup file at `path` replaces the record
// and is downloaded with its own serial number, which must be 1..99999. A file that cannot be
// read, or fails the checks `options` asks for, ends the command after its warning; nothing is
// written.
DownloadOutcome RestoreSetupCommand(Session& session, const std::string& path,
                                    const DownloadOptions& options = {});

}  // namespace velmar
