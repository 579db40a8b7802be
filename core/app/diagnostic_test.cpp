#include "app/diagnostic_test.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "app/actuator_readings.h"
#include "link/firmware_versions.h"

namespace velmar {

namespace {

constexpr int kAttempts = 5;
constexpr int kReplyTimeoutMs = 250;
constexpr uint16_t kFaultLogHeaderAddress = 0x300;
constexpr uint16_t kFaultFileHeaderAddress = 0x200;

}  // namespace

void DiagnosticTest::SetStatusLine(const std::string& text) {
  statusLine = text;
  if (onStatusLine) {
    onStatusLine();
  }
}

void DiagnosticTest::StartTest() {
  for (std::string& text : resultTexts) {
    text.clear();
  }
  serialNumber.clear();
  modelNumber.clear();
  partNumber.clear();
  firmwareText.clear();
  statusLine.clear();
  bar = 0;
  results = kNotTested;
  statusValid = false;
  testStep = 1;
  timerRunning = true;
}

void DiagnosticTest::StopTest() {
  if (testStep == 0) {
    return;
  }
  bar = 100;
  testStep = 0;
  timerRunning = false;
  SetStatusLine("Diagnostic Test aborted by user!");
}

bool DiagnosticTest::Passed() const {
  return DiagnosticPassed(results, session_.link.CrcMode() != 0);
}

void DiagnosticTest::Tick() {
  timerRunning = false;
  if (testStep < 1 || testStep > kDiagnosticChecks) {
    return;
  }
  const auto check = static_cast<DiagnosticCheck>(testStep - 1);
  const DiagnosticTexts& texts = TextsOf(check);
  SetStatusLine(texts.running);
  const int result = RunCheck(check);
  results[testStep - 1] = result;
  if (result == 1) {
    resultTexts[testStep - 1] = texts.passedEdit;
    SetStatusLine(texts.passedStatus);
  } else if (result == 0) {
    resultTexts[testStep - 1] = texts.failedEdit;
    SetStatusLine(texts.failedStatus);
  } else {
    resultTexts[testStep - 1] = texts.skippedEdit;
    SetStatusLine(texts.skippedStatus);
  }
  const bool endsRun = result == 0 && (check == DiagnosticCheck::Communications ||
                                       check == DiagnosticCheck::Integrity);
  testStep = endsRun ? kStopped : testStep + 1;

  if (testStep != kAllDone && testStep != kStopped) {
    if (bar < 100) {
      bar += kBarStep;
    }
    timerRunning = true;
    return;
  }
  const bool passed = testStep == kAllDone && Passed();
  bar = 100;
  testStep = 0;
  SetStatusLine(passed ? "All Diagnostic Tests passed." : "Diagnostic Test failed!");
}

int DiagnosticTest::RunCheck(DiagnosticCheck check) {
  const bool crcMode = session_.link.CrcMode() != 0;
  switch (check) {
    case DiagnosticCheck::Communications:
      return Communications() ? 1 : 0;
    case DiagnosticCheck::Integrity:
      return Integrity() ? 1 : 0;
    case DiagnosticCheck::FaultFile:
      return FaultFile() ? 1 : 0;
    default:
      break;
  }
  // The status checks need the CRC-only status request.
  if (!crcMode) {
    return -1;
  }
  switch (check) {
    case DiagnosticCheck::ActiveFault:
      return ActiveFault() ? 1 : 0;
    case DiagnosticCheck::Voltage:
      return statusValid && SuppliesInRange(status) ? 1 : 0;
    case DiagnosticCheck::MotorTemperature:
      return statusValid && MotorTemperaturesInRange(status, versionWord) ? 1 : 0;
    default:
      return statusValid && ElecTemperatureInRange(status, versionWord) ? 1 : 0;
  }
}

bool DiagnosticTest::Communications() {
  return RequestFirmwareVersion(session_.link, kAttempts, versionWord);
}

bool DiagnosticTest::Integrity() {
  ActuatorLink& link = session_.link;
  bool acknowledged = false;
  for (int attempt = 0; attempt < kAttempts && !acknowledged; ++attempt) {
    link.SendPrepareUpload();
    const LinkResult ack = link.ReceiveAck(kReplyTimeoutMs);
    if (ack == LinkResult::kFailed) {
      return false;  // a negative acknowledge
    }
    acknowledged = ack == LinkResult::kSuccess;
  }
  if (!acknowledged || link.ReadIdentification() != LinkResult::kSuccess) {
    return false;
  }
  serialNumber = link.IdentSerialNumber();
  modelNumber = link.IdentModelNumber();
  partNumber = link.IdentPartNumber();
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", versionWord >> 8, versionWord & 0xFF);
  firmwareText = text;
  return true;
}

bool DiagnosticTest::ActiveFault() {
  StatusFrame frame = {};
  statusValid = RequestStatusFrame(session_, frame);
  if (!statusValid) {
    return false;
  }
  status = DecodeStatusFrame(frame);
  return status.faultBits == 0;
}

bool DiagnosticTest::FaultFile() {
  const bool faultLog = versionWord >= kFirmware300;
  const uint16_t address = faultLog ? kFaultLogHeaderAddress : kFaultFileHeaderAddress;
  const FrameForm form = faultLog ? FrameForm::kCrc : FrameForm::kCurrentMode;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (session_.link.ReadWords(address, form, kReplyTimeoutMs) == LinkResult::kSuccess) {
      std::copy_n(session_.link.ReplyWords().begin(), ActuatorLink::kWordsPerPage, faultFileWords);
      return FaultFileHeaderClear(faultFileWords, versionWord);
    }
  }
  return false;
}

std::string DiagnosticTest::ReportText(const std::tm& now) const {
  return DiagnosticReportText(results, session_.link.CrcMode() != 0, now);
}

void DiagnosticTest::Print() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  session_.ui.PrintReport(ReportText(local));
}

}  // namespace velmar
