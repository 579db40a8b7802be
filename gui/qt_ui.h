#pragma once

#include <QPointer>
#include <memory>

#include "ports/ui.h"
#include "program_status_dialog.h"
#include "transfer_progress_dialog.h"

namespace velmar {

// The desktop face of the Ui port: message boxes, the file boxes, the progress windows and
// printing, all owned by the main window.
class QtUi : public Ui {
 public:
  // The window the boxes belong to.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  QWidget* Owner() const { return owner_; }

  // A "File Transfer Progress" window that runs its own operation: while it is hosted, the
  // operation's progress goes to it instead of a window of its own, and ending the progress
  // closes it. nullptr ends the hosting.
  void HostTransfer(TransferProgressDialog* window) { hosted_ = window; }

  void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  // The detail is the box's details text.
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

 private:
  bool AskFile(const FileBoxRequest& request, bool save, std::string& path);

  QPointer<QWidget> owner_;
  QPointer<TransferProgressDialog> hosted_;
  // The open progress window: one of the two, or none.
  TransferProgressDialog* transfer_ = nullptr;
  std::unique_ptr<TransferProgressDialog> ownTransfer_;
  std::unique_ptr<ProgramStatusDialog> status_;
};

}  // namespace velmar
