#include "app/session.h"

namespace velmar {

namespace {
constexpr int kVerifyAttempts = 6;
constexpr int kVerifyReplyDelayMs = 60;
}  // namespace

Session::Session(SerialDriver& driver, Clock& clockPort, Ui& uiPort)
    : clock(clockPort), ui(uiPort), serialPort(driver), link(serialPort, clockPort) {}

int Session::VerifyCommunication() {
  for (int attempt = 0; attempt < kVerifyAttempts; ++attempt) {
    if (attempt % 2 == 0) {
      link.SendFirmwareVersionRequest();
    } else {
      link.SendFirmwareVersionRequestCrc();
    }
    clock.SleepMs(kVerifyReplyDelayMs);
    if (link.ReceiveFirmwareVersion() == 0) {
      AcceptFirmwareVersion(link.ReplyFirmwareVersion());
      return 0;
    }
  }
  return 1;
}

void Session::AcceptFirmwareVersion(int version) {
  link.firmwareVersion = version;
  if (version != lastPollVersion) {
    if (rebuildConfigList) {
      rebuildConfigList(version);
    }
    lastPollVersion = version;
  }
}

}  // namespace velmar
