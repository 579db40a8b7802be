#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ports/ui.h"

namespace velmar::test {

// Records what the user would see as one line per event and answers from scripted queues.
// Event lines: "Warning|caption|text", "Error|...", "Information|...", "Question|caption|text",
// "Open|initialName", "Save|initialName", "Progress|status", "Status|text", "Range|lo|hi",
// "Position|n", "EndProgress", "Print|text".
class RecordingUi : public Ui {
 public:
  void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  // Recorded as ShowMessage is; the detail goes to `details`.
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
  PrintResult PrintText(const std::string& text) override;

  // Only the message and question lines, the usual thing to assert.
  std::vector<std::string> Messages() const;
  // Only the Position values.
  std::vector<int> Positions() const;

  std::vector<std::string> events;
  std::vector<std::string> details;   // one per detailed message
  std::deque<Answer> answers;         // empty: No
  std::deque<std::string> filePaths;  // empty: the box is cancelled
  std::vector<FileBoxRequest> fileRequests;
  bool progressOpen = false;
  // What every print job ends with.
  PrintResult printResult = PrintResult::Printed;

 private:
  bool AnswerFileBox(const std::string& tag, const FileBoxRequest& request, std::string& path);
};

}  // namespace velmar::test
