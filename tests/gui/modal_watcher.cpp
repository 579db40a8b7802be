#include "modal_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMap>
#include <QPrintDialog>

#include "transfer_progress_dialog.h"

namespace velmar::test {

namespace {

QString KindOf(QMessageBox::Icon icon) {
  static const QMap<QMessageBox::Icon, QString> kKinds = {{QMessageBox::Warning, "Warning"},
                                                          {QMessageBox::Critical, "Error"},
                                                          {QMessageBox::Information, "Information"},
                                                          {QMessageBox::Question, "Question"}};
  return kKinds.value(icon, "NoIcon");
}

}  // namespace

ModalWatcher::ModalWatcher() {
  connect(&timer_, &QTimer::timeout, this, &ModalWatcher::Check);
  timer_.start(20);
}

void ModalWatcher::ShootNext(const QString& folder, const QString& name) {
  QDir().mkpath(folder);
  shotPath_ = folder + "/" + name + ".png";
}

void ModalWatcher::Check() {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr || !window->isVisible() ||
      qobject_cast<TransferProgressDialog*>(window) != nullptr) {
    return;
  }
  if (!shotPath_.isEmpty()) {
    window->grab().save(shotPath_);
    shotPath_.clear();
  }
  if (auto* box = qobject_cast<QMessageBox*>(window)) {
    events.append(KindOf(box->icon()) + "|" + box->windowTitle() + "|" + box->text());
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (box->icon() == QMessageBox::Question) {
      answer = QMessageBox::No;
      if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
      }
    }
    box->button(answer)->click();
  } else if (auto* files = qobject_cast<QFileDialog*>(window)) {
    events.append("File|" + files->windowTitle() + "|" + files->nameFilters().join(';'));
    files->reject();
  } else if (auto* print = qobject_cast<QPrintDialog*>(window)) {
    events.append("Print");
    print->reject();
  } else if (auto* dialog = qobject_cast<QDialog*>(window)) {
    events.append("Dialog|" + dialog->windowTitle());
    dialog->accept();
  }
}

}  // namespace velmar::test
