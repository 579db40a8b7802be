#include "console_ui.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velmar {

ConsoleUi::ConsoleUi(std::FILE* out, std::FILE* err, std::FILE* in)
    : out_(out),
      err_(err),
      in_(in),
      interactive_(isatty(fileno(in)) && isatty(fileno(err))),
      showProgress_(isatty(fileno(err))) {}

void ConsoleUi::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) {
  ShowDetailedMessage(kind, text, caption, "");
}

void ConsoleUi::ShowDetailedMessage(MessageKind kind, const std::string& text,
                                    const std::string& caption, const std::string& detail) {
  std::FILE* stream = kind == MessageKind::Information ? out_ : err_;
  if (kind != MessageKind::Information) {
    failureShown_ = true;
  }
  BreakProgressLine();
  std::fprintf(stream, "%s: %s\n", caption.c_str(), text.c_str());
  if (!detail.empty()) {
    std::fprintf(stream, "%s\n", detail.c_str());
  }
  std::fflush(stream);
}

Answer ConsoleUi::AskYesNo(const std::string& text, const std::string& caption) {
  BreakProgressLine();
  std::fprintf(err_, "%s: %s [y/N] ", caption.c_str(), text.c_str());
  if (answerYes_) {
    std::fprintf(err_, "yes\n");
    return Answer::Yes;
  }
  if (!interactive_) {
    std::fprintf(err_, "no\n");
    return Answer::No;
  }
  std::fflush(err_);
  char line[64] = {};
  if (std::fgets(line, sizeof line, in_) == nullptr) {
    return Answer::No;
  }
  return (line[0] == 'y' || line[0] == 'Y') ? Answer::Yes : Answer::No;
}

Answer ConsoleUi::AskYesNoCancel(const std::string& text, const std::string& caption) {
  return AskYesNo(text, caption);
}

bool ConsoleUi::AskOpenFile(const FileBoxRequest&, std::string&) {
  return false;
}

bool ConsoleUi::AskSaveFile(const FileBoxRequest&, std::string&) {
  return false;
}

void ConsoleUi::BeginProgress(ProgressKind, const std::string& status) {
  progressOpen_ = true;
  progressLow_ = 0;
  progressHigh_ = 100;
  progressPosition_ = 0;
  progressStatus_ = status;
  DrawProgress();
}

void ConsoleUi::SetProgressStatus(const std::string& status) {
  progressStatus_ = status;
  DrawProgress();
}

void ConsoleUi::SetProgressRange(int low, int high) {
  progressLow_ = low;
  progressHigh_ = high;
  DrawProgress();
}

void ConsoleUi::SetProgressPosition(int position) {
  progressPosition_ = position;
  DrawProgress();
}

void ConsoleUi::EndProgress() {
  BreakProgressLine();
  progressOpen_ = false;
}

void ConsoleUi::BreakProgressLine() {
  if (progressDrawn_) {
    std::fputc('\n', err_);
    std::fflush(err_);
    progressDrawn_ = false;
  }
}

void ConsoleUi::DrawProgress() {
  if (!progressOpen_ || !showProgress_ || quiet_) {
    return;
  }
  constexpr int kWidth = 30;
  int span = std::max(1, progressHigh_ - progressLow_);
  int filled = std::clamp((progressPosition_ - progressLow_) * kWidth / span, 0, kWidth);
  std::fprintf(err_, "\r[%.*s%*s] %s\033[K", filled, "##############################",
               kWidth - filled, "", progressStatus_.c_str());
  std::fflush(err_);
  progressDrawn_ = true;
}

PrintResult ConsoleUi::PrintText(const std::string& text) {
  std::FILE* target = printTarget_ ? printTarget_ : out_;
  std::fwrite(text.data(), 1, text.size(), target);
  if (!text.empty() && text.back() != '\n') {
    std::fputc('\n', target);
  }
  if (std::fflush(target) != 0 || std::ferror(target)) {
    std::fprintf(err_, "velmar-cli: the report was not written: %s\n", std::strerror(errno));
    std::clearerr(target);
    return PrintResult::Failed;
  }
  return PrintResult::Printed;
}

}  // namespace velmar
