#pragma once

#include <functional>
#include <string>

#include "app/session.h"
#include "monitor/diagnostic_checks.h"
#include "monitor/status_reading.h"

namespace velmar {

// The "Actuator Identification" window's test without widgets: seven checks, one per timer step,
// with their edits, the status line and the progress bar. The window's one-shot timer (or the
// command line) calls Tick() 1000 ms after each step while `timerRunning` is set.
class DiagnosticTest {
 public:
  static constexpr int kStepMs = 1000;
  static constexpr int kBarStep = 14;
  static constexpr int kAllDone = 8;
  static constexpr int kStopped = 9;

  explicit DiagnosticTest(Session& session) : session_(session) {}

  void StartTest();
  void StopTest();
  void Tick();
  // Prints the results through the Ui.
  void Print();
  // The results as printed, stamped with `now`.
  std::string ReportText(const std::tm& now) const;

  // The run passed: shown on the status line when it ended.
  bool Passed() const;

  // Called whenever the status line changes, before and after each check, so the window can
  // repaint while a check blocks it.
  std::function<void()> onStatusLine;

  int testStep = 0;
  DiagnosticResults results = kNotTested;
  bool statusValid = false;
  int versionWord = 0;
  StatusReading status;
  uint16_t faultFileWords[6] = {};
  // The texts of the seven result edits, in check order.
  std::array<std::string, kDiagnosticChecks> resultTexts;
  std::string serialNumber;
  std::string modelNumber;
  std::string partNumber;
  std::string firmwareText;
  std::string statusLine;
  int bar = 0;
  bool timerRunning = false;

 private:
  // 1 passed, 0 failed, -1 skipped.
  int RunCheck(DiagnosticCheck check);
  bool Communications();
  bool Integrity();
  bool ActiveFault();
  bool FaultFile();
  void SetStatusLine(const std::string& text);

  Session& session_;
};

}  // namespace velmar
