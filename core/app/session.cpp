#include "app/session.h"

namespace velmar {

namespace {
constexpr int kVerifyAttempts = 6;
constexpr int kVerifyReplyDelayMs = 60;
}  // namespace

Session::Session(SerialDriver& driver, Clock& clockPort, Ui& uiPort, const std::string& configHome)
    : clock(clockPort),
      ui(uiPort),
      settings(configHome),
      serialPort(driver),
      link(serialPort, clockPort) {}

Session::~Session() {
  link.ClosePort();
}

int Session::VerifyCommunication() {
  for (int attempt = 0; attempt < kVerifyAttempts; ++attempt) {
    if (attempt % 2 == 0) {
      link.SendFirmwareVersionRequest();
    } else {
      link.SendFirmwareVersionRequestCrc();
    }
    clock.SleepMs(kVerifyReplyDelayMs);
    if (link.ReceiveFirmwareVersion() == LinkResult::kSuccess) {
      AcceptFirmwareVersion(link.ReplyFirmwareVersion());
      return 0;
    }
  }
  // In CRC mode both forms of the request are the CRC form, so a sum-mode unit connected in
  // place of a CRC-mode one would never be heard; forget the mode of the unit that went silent.
  link.SetCrcMode(false);
  return 1;
}

void Session::AcceptFirmwareVersion(int version) {
  link.SetFirmwareVersion(version);
  if (version != lastPollVersion) {
    if (configList) {
      configList->RebuildConfigList(version);
    }
    lastPollVersion = version;
  }
}

void Session::OpenConfigDatabase(const std::filesystem::path& databasePath) {
  configList = std::make_unique<ConfigurationList>(ui, catalogue, setup, databasePath);
}

}  // namespace velmar
