#include "program_status_dialog.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace velmar {

ProgramStatusDialog::ProgramStatusDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      statusEdit(new QLineEdit(this)),
      progressBar(new QProgressBar(this)) {
  setWindowTitle("Program Status");
  setModal(false);
  statusEdit->setReadOnly(true);
  statusEdit->setAlignment(Qt::AlignCenter);
  statusEdit->setFrame(false);
  progressBar->setRange(0, 100);
  progressBar->setValue(0);
  progressBar->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(statusEdit);
  layout->addWidget(progressBar);
  setFixedSize(300, 80);
  // Centred on the screen, whatever window opened it.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

}  // namespace velmar
