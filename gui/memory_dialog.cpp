#include "memory_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmar {

MemoryDialog::MemoryDialog(Session& session, QWidget* parent)
    : QDialog(parent),
      memory_(session.link, session.ui),
      address_(new QLineEdit(this)),
      data_(new QLineEdit(this)),
      hex_(new QCheckBox("Hex", this)),
      read_(new QPushButton("Read", this)),
      write_(new QPushButton("Write", this)) {
  setWindowTitle("Actuator Memory Read/Write");
  auto* cancel = new QPushButton("Cancel", this);
  read_->setDefault(true);
  write_->setAutoDefault(false);
  cancel->setAutoDefault(false);
  connect(read_, &QPushButton::clicked, this, [this] {
    std::string text;
    if (memory_.Read(address_->text().toStdString(), hex_->isChecked(), text)) {
      data_->setText(QString::fromStdString(text));
    }
  });
  connect(write_, &QPushButton::clicked, this,
          [this] { memory_.Write(address_->text().toStdString(), data_->text().toStdString()); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* form = new QFormLayout;
  form->addRow("Address", address_);
  form->addRow("Data", data_);
  form->addRow("", hex_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(read_);
  buttons->addWidget(write_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

}  // namespace velmar
