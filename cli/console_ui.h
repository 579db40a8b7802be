#pragma once

#include <cstdio>
#include <string>

#include "ports/ui.h"

namespace velmar {

// The command-line face of the Ui port: every message box is one "Caption: text" line
// (information on stdout, warnings and errors on stderr), questions are answered by --yes or a
// prompt on a terminal and always start a line of their own, progress is a bar on stderr when
// stderr is a terminal and progress is not silenced. Commands take their file names as
// arguments, so a file box is answered as cancelled.
class ConsoleUi : public Ui {
 public:
  ConsoleUi(std::FILE* out, std::FILE* err, std::FILE* in);

  void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  // The detail follows on lines of its own.
  void ShowDetailedMessage(MessageKind kind, const std::string& text, const std::string& caption,
                           const std::string& detail) override;
  Answer AskYesNo(const std::string& text, const std::string& caption) override;
  Answer AskYesNoCancel(const std::string& text, const std::string& caption) override;
  bool AskOpenFile(const FileBoxRequest& request, std::string& path) override;
  bool AskSaveFile(const FileBoxRequest& request, std::string& path) override;
  void BeginProgress(ProgressKind kind, const std::string& status) override;
  void SetProgressStatus(const std::string& status) override;
  void SetProgressRange(int low, int high) override;
  void SetProgressPosition(int position) override;
  void EndProgress() override;
  // Failed, with the reason on the error stream, when the report did not all reach its target.
  PrintResult PrintText(const std::string& text) override;

  void SetAnswerYes(bool yes) { answerYes_ = yes; }
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  // Where PrintText writes; stdout when not set.
  void SetPrintTarget(std::FILE* target) { printTarget_ = target; }

  // True once a warning or error box has been shown: the command then exits with status 1.
  bool FailureShown() const { return failureShown_; }
  // A step whose warnings do not decide the command's outcome has ended.
  void ForgetFailures() { failureShown_ = false; }

 private:
  void DrawProgress();
  // Ends a drawn progress line, so what follows starts on a line of its own.
  void BreakProgressLine();

  std::FILE* out_;
  std::FILE* err_;
  std::FILE* in_;
  std::FILE* printTarget_ = nullptr;
  bool interactive_;
  bool showProgress_;  // stderr is a terminal
  bool quiet_ = false;
  bool answerYes_ = false;
  bool failureShown_ = false;
  bool progressOpen_ = false;
  bool progressDrawn_ = false;
  int progressLow_ = 0;
  int progressHigh_ = 100;
  int progressPosition_ = 0;
  std::string progressStatus_;
};

}  // namespace velmar
