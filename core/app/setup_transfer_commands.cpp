#include "app/setup_transfer_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/pre_checks.h"
#include "app/setup_transfer.h"
#include "link/firmware_versions.h"
#include "setup/setup_file.h"
#include "setup/setup_record_check.h"

namespace velmar {

namespace {

constexpr const char* kProgramError = "Program Error";
constexpr const char* kComStatusCaption = "Setup Com Status";
// A minimum firmware version this close to zero marks a part that may not be reconfigured.
constexpr double kZeroVersionTolerance = 0.001;

void Warn(Session& session, const char* text) {
  session.ui.ShowMessage(MessageKind::Warning, text, kProgramError);
}

bool InResetState(Session& session, ResetCommand command) {
  // Firmware before 2.00 has no status request.
  if (session.link.FirmwareVersion() < kFirmware200) {
    return true;
  }
  int statusFlags = 0;
  return StatusCheck(session, statusFlags) && ResetCheck(session, statusFlags, command);
}

bool DownloadPreChecks(Session& session) {
  if (ParseLeadingInt(session.serialNumber) == 0) {
    Warn(session, "Cannot download configuration with serial number of 0.");
    return false;
  }
  if (!VersionCheckIfUnread(session)) {
    return false;
  }
  if (session.link.ReadIdentification() != LinkResult::kSuccess) {
    Warn(session, "Actuator failed to respond to part number request.");
    return false;
  }
  if (session.catalogue.FindByMakerPartNumber(session.link.IdentPartNumber()) != 0) {
    Warn(session, "Part number not listed in database.");
    return false;
  }
  const double minVersion = ParseLeadingDouble(session.catalogue.current.minVersion);
  if (minVersion > -kZeroVersionTolerance && minVersion < kZeroVersionTolerance) {
    Warn(session, "Reconfiguration of existing part number not allowed with this software.");
    return false;
  }
  return InResetState(session, ResetCommand::DownloadSetup);
}

// The approved setup of the chosen configuration replaces the record. The database is read by
// its absolute path, so the working folder stays as it is. False, after the warning, when the
// database holds no such setup or a damaged one: the record then holds something other than
// what the configuration approves. Without a database the record goes out as it stands.
bool LoadApprovedSetup(Session& session) {
  ConfigurationList* list = session.configList.get();
  if (list == nullptr) {
    Warn(session, ConfigurationList::kNoConfigurationText);
    return true;
  }
  if (list->LoadConfiguration(list->configFileName) == 0) {
    return true;
  }
  if (!list->WarnIfDamaged()) {
    Warn(session, ConfigurationList::kNoConfigurationText);
  }
  return false;
}

// True when every value of the record passes the setup pages' checks; else the warning lists
// each refused value.
bool RecordPassesChecks(Session& session) {
  const std::vector<SetupValueRefusal> refusals = CheckSetupRecord(session.setup);
  if (refusals.empty()) {
    return true;
  }
  std::string text = "The setup holds values outside the setup pages' ranges:";
  for (const SetupValueRefusal& refusal : refusals) {
    text += "\n" + RefusalLine(refusal);
  }
  Warn(session, text.c_str());
  return false;
}

const char* DownloadFailureText(TransferResult transferResult) {
  switch (transferResult) {
    case TransferResult::kDeclined:
      return "Setup download failed!";
    case TransferResult::kNoReply:
      return "Download aborted, actuator failed to respond!";
    case TransferResult::kSerialInvalid:
      return "Actuator serial number invalid!";
    case TransferResult::kPartNotListed:
      return "Download aborted, uploaded part number not valid for download!";
    default:
      return nullptr;
  }
}

// The download window and its result box. `keepRecordSerial`: the record's own SERIALNO is
// sent (a restored file), else the actuator's.
DownloadOutcome RunDownload(Session& session, bool keepRecordSerial, const std::string& subject) {
  DownloadOutcome outcome;
  SetupTransfer transfer(session);
  transfer.downloadSubject = subject;
  outcome.downloaded = transfer.Download(keepRecordSerial, session.verifyDownloads);
  outcome.transferResult = transfer.TransferResult;
  outcome.writesLeftEnabled = transfer.WritesLeftEnabled;
  if (outcome.downloaded) {
    session.ui.ShowMessage(MessageKind::Information,
                           "Setup download successful.\n\nNOTE: The Orvik part number on the "
                           "nameplate must be\nre-identified to reflect the downloaded Orvik part "
                           "number!",
                           kComStatusCaption);
  } else if (outcome.transferResult == TransferResult::kVerifyFailed) {
    char text[80];
    std::snprintf(text, sizeof text,
                  "Setup verification failed: page %d differs from what was written.",
                  transfer.VerifyFailedPage);
    session.ui.ShowMessage(MessageKind::Error, text, kComStatusCaption);
  } else if (const char* text = DownloadFailureText(outcome.transferResult)) {
    session.ui.ShowMessage(MessageKind::Error, text, kComStatusCaption);
  }
  if (outcome.writesLeftEnabled) {
    session.ui.ShowMessage(
        MessageKind::Error,
        "Actuator did not confirm the end of writing. Reset the actuator before use.",
        kComStatusCaption);
  }
  return outcome;
}

// "Configuration 1045210-001" for the chosen entry "1045210-001.cfg"; empty without a list.
std::string ConfigurationSubject(const Session& session) {
  const ConfigurationList* list = session.configList.get();
  if (list == nullptr || list->configFileName.empty()) {
    return "";
  }
  const std::string& entry = list->configFileName;
  return "Configuration " + entry.substr(0, entry.rfind(".cfg"));
}

}  // namespace

bool UploadSetupCommand(Session& session) {
  if (!VersionCheckIfUnread(session) || !InResetState(session, ResetCommand::UploadSetup)) {
    return false;
  }
  SetupTransfer transfer(session);
  if (!transfer.Upload()) {
    session.ui.ShowMessage(MessageKind::Error, "Setup data upload failed!", "Setup Com Error");
    return false;
  }
  session.serialNumber = session.setup.SERIALNO;
  SetField(session.setup.OrvikPartNo, " ");
  return true;
}

DownloadOutcome DownloadSetupCommand(Session& session, const DownloadOptions& options) {
  if (!DownloadPreChecks(session) || !LoadApprovedSetup(session)) {
    return {};
  }
  if (options.checkRecord && !RecordPassesChecks(session)) {
    return {.refusedByChecks = true};
  }
  // The program always runs in database mode: the actuator's own serial number is sent.
  return RunDownload(session, false, ConfigurationSubject(session));
}

DownloadOutcome RestoreSetupCommand(Session& session, const std::string& path,
                                    const DownloadOptions& options) {
  if (!DownloadPreChecks(session) ||
      LoadSetupFileByName(session.setup, path, session.ui) != FileResult::kOk) {
    return {};
  }
  if (options.checkRecord && !RecordPassesChecks(session)) {
    return {.refusedByChecks = true};
  }
  if (session.configList != nullptr) {
    session.configList->UpdateOrvikPartNo();
  }
  return RunDownload(session, true, "Setup file " + path);
}

}  // namespace velmar
