#include "console_ui.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace velmar {
namespace {

// stderr as a terminal (the slave side of a pty, read back from the master) or as a plain file.
class ErrorStream {
 public:
  explicit ErrorStream(bool terminal) {
    if (!terminal) {
      file_ = std::tmpfile();
      return;
    }
    int slave = -1;
    if (openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) {
      return;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    file_ = fdopen(slave, "w");
  }
  ~ErrorStream() {
    if (file_ != nullptr) {
      std::fclose(file_);
    }
    if (master_ >= 0) {
      close(master_);
    }
  }
  std::FILE* File() const { return file_; }
  std::string Written() {
    std::fflush(file_);
    std::string text;
    char buffer[4096];
    if (master_ < 0) {
      std::rewind(file_);
      for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
        text.append(buffer, n);
      }
      return text;
    }
    // A marker after what was written tells where it ends, so reading needs no timeout.
    const std::string end = "\x01end\x01";
    std::fputs(end.c_str(), file_);
    std::fflush(file_);
    for (ssize_t n; !text.ends_with(end) && (n = read(master_, buffer, sizeof buffer)) > 0;) {
      text.append(buffer, static_cast<size_t>(n));
    }
    return text.substr(0, text.size() - std::min(text.size(), end.size()));
  }

 private:
  int master_ = -1;
  std::FILE* file_ = nullptr;
};

TEST(ConsoleUiTest, DrawsProgressOnlyOnATerminalAndNeverWhenQuiet) {
  struct Case {
    bool terminal;
    bool quiet;
    bool drawn;
  };
  for (const Case& c : {Case{true, false, true}, Case{true, true, false}, Case{false, false, false},
                        Case{false, true, false}}) {
    SCOPED_TRACE(std::string(c.terminal ? "terminal" : "file") + (c.quiet ? ", quiet" : ""));
    ErrorStream err(c.terminal);
    ASSERT_NE(err.File(), nullptr);
    std::FILE* out = std::tmpfile();
    ConsoleUi ui(out, err.File(), stdin);
    ui.SetQuiet(c.quiet);
    ui.BeginProgress(ProgressKind::FileTransfer, "Uploading Setup Parameters...");
    ui.SetProgressPosition(50);
    ui.EndProgress();
    const std::string written = err.Written();
    EXPECT_EQ(written.find("Uploading Setup Parameters...") != std::string::npos, c.drawn)
        << written;
    if (!c.drawn) {
      EXPECT_EQ(written, "");
    }
    std::fclose(out);
  }
}

// A question or message while a bar is drawn starts on a line of its own.
TEST(ConsoleUiTest, QuestionsAndMessagesNeverContinueAProgressLine) {
  for (const bool ask : {true, false}) {
    SCOPED_TRACE(ask ? "question" : "message");
    ErrorStream err(true);
    ASSERT_NE(err.File(), nullptr);
    std::FILE* out = std::tmpfile();
    ConsoleUi ui(out, err.File(), stdin);
    ui.SetAnswerYes(true);
    ui.BeginProgress(ProgressKind::FileTransfer, "Saving...");
    if (ask) {
      EXPECT_EQ(ui.AskYesNo("Proceed?", "Setup Download"), Answer::Yes);
    } else {
      ui.ShowMessage(MessageKind::Error, "Failed.", "Setup Download");
    }
    const std::string written = err.Written();
    const size_t caption = written.find("Setup Download: ");
    ASSERT_NE(caption, std::string::npos) << written;
    ASSERT_GT(caption, 0u);
    EXPECT_EQ(written[caption - 1], '\n') << written;
    std::fclose(out);
  }
}

}  // namespace
}  // namespace velmar
