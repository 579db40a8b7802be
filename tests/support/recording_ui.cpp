#include "support/recording_ui.h"

#include <cstdlib>

namespace velmar::test {

namespace {

// Indexed by MessageKind; a question is the fourth kind of message line.
const std::string kMessageKinds[] = {"Warning|", "Error|", "Information|", "Question|"};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void RecordingUi::ShowMessage(MessageKind kind, const std::string& text,
                              const std::string& caption) {
  events.push_back(kMessageKinds[static_cast<int>(kind)] + caption + "|" + text);
}

void RecordingUi::ShowDetailedMessage(MessageKind kind, const std::string& text,
                                      const std::string& caption, const std::string& detail) {
  ShowMessage(kind, text, caption);
  details.push_back(detail);
}

Answer RecordingUi::AskYesNo(const std::string& text, const std::string& caption) {
  events.push_back(kMessageKinds[3] + caption + "|" + text);
  const Answer answer = answers.empty() ? Answer::No : answers.front();
  if (!answers.empty()) {
    answers.pop_front();
  }
  return answer;
}

Answer RecordingUi::AskYesNoCancel(const std::string& text, const std::string& caption) {
  return AskYesNo(text, caption);
}

bool RecordingUi::AnswerFileBox(const std::string& tag, const FileBoxRequest& request,
                                std::string& path) {
  events.push_back(tag + "|" + request.initialName);
  fileRequests.push_back(request);
  if (filePaths.empty()) {
    return false;
  }
  path = filePaths.front();
  filePaths.pop_front();
  return true;
}

bool RecordingUi::AskOpenFile(const FileBoxRequest& request, std::string& path) {
  return AnswerFileBox("Open", request, path);
}

bool RecordingUi::AskSaveFile(const FileBoxRequest& request, std::string& path) {
  return AnswerFileBox("Save", request, path);
}

void RecordingUi::BeginProgress(ProgressKind, const std::string& status) {
  events.push_back("Progress|" + status);
  progressOpen = true;
}

void RecordingUi::SetProgressStatus(const std::string& status) {
  events.push_back("Status|" + status);
}

void RecordingUi::SetProgressRange(int low, int high) {
  events.push_back("Range|" + std::to_string(low) + "|" + std::to_string(high));
}

void RecordingUi::SetProgressPosition(int position) {
  events.push_back("Position|" + std::to_string(position));
}

void RecordingUi::EndProgress() {
  events.push_back("EndProgress");
  progressOpen = false;
}

PrintResult RecordingUi::PrintText(const std::string& text) {
  events.push_back("Print|" + text);
  return printResult;
}

std::vector<std::string> RecordingUi::Messages() const {
  std::vector<std::string> result;
  for (const auto& event : events) {
    for (const std::string& kind : kMessageKinds) {
      if (StartsWith(event, kind)) {
        result.push_back(event);
      }
    }
  }
  return result;
}

std::vector<int> RecordingUi::Positions() const {
  std::vector<int> result;
  for (const auto& event : events) {
    if (StartsWith(event, "Position|")) {
      result.push_back(std::atoi(event.c_str() + 9));
    }
  }
  return result;
}

}  // namespace velmar::test
