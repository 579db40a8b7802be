#include "modal_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

#include "transfer_progress_dialog.h"

namespace velmar::test {

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
    // Indexed by QMessageBox::Icon.
    static const QString kKinds[] = {"NoIcon", "Information", "Warning", "Error", "Question"};
    events.append(kKinds[box->icon()] + "|" + box->windowTitle() + "|" + box->text());
    box->button(box->icon() == QMessageBox::Question ? QMessageBox::No : QMessageBox::Ok)->click();
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
