#include "support/recording_ui.h"

#include <cstdlib>

namespace velmar::test {

namespace {

const char* KindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return "Warning";
    case MessageKind::Error:
      return "Error";
    case MessageKind::Information:
      return "Information";
  }
  return "?";
}

}  // namespace

void RecordingUi::ShowMessage(MessageKind kind, const std::string& text,
                              const std::string& caption) {
  events.push_back(std::string(KindName(kind)) + "|" + caption + "|" + text);
}

Answer RecordingUi::AskYesNo(const std::string& text, const std::string& caption) {
  events.push_back("Question|" + caption + "|" + text);
  if (answers.empty()) {
    return Answer::No;
  }
  Answer answer = answers.front();
  answers.pop_front();
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

void RecordingUi::PrintText(const std::string& text) {
  events.push_back("Print|" + text);
}

std::vector<std::string> RecordingUi::Messages() const {
  std::vector<std::string> result;
  for (const auto& event : events) {
    if (event.rfind("Warning|", 0) == 0 || event.rfind("Error|", 0) == 0 ||
        event.rfind("Information|", 0) == 0 || event.rfind("Question|", 0) == 0) {
      result.push_back(event);
    }
  }
  return result;
}

std::vector<int> RecordingUi::Positions() const {
  std::vector<int> result;
  for (const auto& event : events) {
    if (event.rfind("Position|", 0) == 0) {
      result.push_back(std::atoi(event.c_str() + 9));
    }
  }
  return result;
}

}  // namespace velmar::test
