#include "qt_ui.h"

#include <QFileDialog>
#include <QMessageBox>

#include "file_filter.h"
#include "text_printer.h"

namespace velmar {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning:
      return QMessageBox::Warning;
    case MessageKind::Error:
      return QMessageBox::Critical;
    case MessageKind::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

Answer Ask(QWidget* owner, const std::string& text, const std::string& caption,
           QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                  QString::fromStdString(text), buttons, owner);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

}  // namespace

void QtUi::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) {
  ShowDetailedMessage(kind, text, caption, "");
}

void QtUi::ShowDetailedMessage(MessageKind kind, const std::string& text,
                               const std::string& caption, const std::string& detail) {
  QMessageBox box(IconOf(kind), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::Ok, owner_);
  if (!detail.empty()) {
    box.setDetailedText(QString::fromStdString(detail));
  }
  box.exec();
}

Answer QtUi::AskYesNo(const std::string& text, const std::string& caption) {
  return Ask(owner_, text, caption, QMessageBox::Yes | QMessageBox::No);
}

Answer QtUi::AskYesNoCancel(const std::string& text, const std::string& caption) {
  return Ask(owner_, text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

bool QtUi::AskOpenFile(const FileBoxRequest& request, std::string& path) {
  return AskFile(request, false, path);
}

bool QtUi::AskSaveFile(const FileBoxRequest& request, std::string& path) {
  return AskFile(request, true, path);
}

bool QtUi::AskFile(const FileBoxRequest& request, bool save, std::string& path) {
  QFileDialog box(owner_, save ? "Save As" : "Open");
  // Qt's own box, so the filters match names case-insensitively on every desktop.
  box.setOption(QFileDialog::DontUseNativeDialog);
  box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  box.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  box.setNameFilters(QtNameFilters(request.filter));
  box.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  // A wildcard initial name only repeats the filter.
  if (request.initialName.find('*') == std::string::npos) {
    box.selectFile(QString::fromStdString(request.initialName));
  }
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
    return false;
  }
  path = box.selectedFiles().front().toStdString();
  return true;
}

void QtUi::BeginProgress(ProgressKind kind, const std::string& status) {
  EndProgress();
  const QString text = QString::fromStdString(status);
  if (kind == ProgressKind::ProgramStatus) {
    status_ = std::make_unique<ProgramStatusDialog>(owner_);
    status_->statusEdit->setText(text);
    status_->show();
    return;
  }
  if (hosted_) {
    transfer_ = hosted_;
  } else {
    ownTransfer_ = std::make_unique<TransferProgressDialog>(owner_);
    ownTransfer_->setWindowModality(Qt::ApplicationModal);
    ownTransfer_->show();
    transfer_ = ownTransfer_.get();
  }
  transfer_->SetStatus(text);
  transfer_->SetRange(0, 100);
  transfer_->SetPosition(0);
}

void QtUi::SetProgressStatus(const std::string& status) {
  const QString text = QString::fromStdString(status);
  if (status_) {
    status_->statusEdit->setText(text);
  } else if (transfer_) {
    transfer_->SetStatus(text);
  }
}

void QtUi::SetProgressRange(int low, int high) {
  if (status_) {
    status_->progressBar->setRange(low, high);
  } else if (transfer_) {
    transfer_->SetRange(low, high);
  }
}

void QtUi::SetProgressPosition(int position) {
  if (status_) {
    status_->progressBar->setValue(position);
  } else if (transfer_) {
    transfer_->SetPosition(position);
  }
}

void QtUi::EndProgress() {
  status_.reset();
  if (transfer_ != nullptr && transfer_ == hosted_) {
    // The hosted window closes; its modal run ends once the operation returns.
    hosted_->done(QDialog::Accepted);
  }
  ownTransfer_.reset();
  transfer_ = nullptr;
}

PrintResult QtUi::PrintText(const std::string& text) {
  return velmar::PrintText(owner_, text);
}

}  // namespace velmar
