#pragma once

#include <string>

namespace velmar {

enum class MessageKind { Warning, Error, Information };

enum class Answer { Yes, No, Cancel };

// What a standard open or save file box is asked for. The filter uses the
// "Description (*.ext)|*.EXT|All Files (*.*)|*.*||" notation of the setup and fault files.
struct FileBoxRequest {
  std::string defaultExtension;
  std::string initialName;
  std::string filter;
  bool overwritePrompt = false;
};

// FileTransfer: the modal "File Transfer Progress" window that runs settings, setup-file and
// setup-transfer operations. ProgramStatus: the modeless "Program Status" window of the fault
// operations.
enum class ProgressKind { FileTransfer, ProgramStatus };

// How a print job ended: Cancelled when the user declined the printer box.
enum class PrintResult { Printed, Cancelled, Failed };

// Everything the user sees or answers. Core code reaches the user only through this port.
class Ui {
 public:
  virtual ~Ui() = default;

  virtual void ShowMessage(MessageKind kind, const std::string& text,
                           const std::string& caption) = 0;
  // A message with `detail` apart from its text: what was tried (a device, a file), the system's
  // reason and the usual fix. Where no place for detail exists, the text alone is shown.
  virtual void ShowDetailedMessage(MessageKind kind, const std::string& text,
                                   const std::string& caption, const std::string& /*detail*/) {
    ShowMessage(kind, text, caption);
  }
  virtual Answer AskYesNo(const std::string& text, const std::string& caption) = 0;
  virtual Answer AskYesNoCancel(const std::string& text, const std::string& caption) = 0;

  // Both return false when the user cancels; on true `path` holds the chosen file.
  virtual bool AskOpenFile(const FileBoxRequest& request, std::string& path) = 0;
  virtual bool AskSaveFile(const FileBoxRequest& request, std::string& path) = 0;

  // A progress window: opened with range 0..100 at position 0, then driven by the operation,
  // closed by EndProgress (before any error box the operation shows).
  virtual void BeginProgress(ProgressKind kind, const std::string& status) = 0;
  virtual void SetProgressStatus(const std::string& status) = 0;
  virtual void SetProgressRange(int low, int high) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void EndProgress() = 0;

  virtual PrintResult PrintText(const std::string& text) = 0;

  // PrintText, telling the user when the printer failed: a report that did not come out is
  // never passed over in silence. False after that box.
  bool PrintReport(const std::string& text);
};

}  // namespace velmar
