#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "app/session.h"
#include "monitor/memory_access.h"

namespace velmar {

// "Actuator Memory Read/Write": one word of the actuator's memory at the typed address; Enter
// reads.
class MemoryDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MemoryDialog(Session& session, QWidget* parent = nullptr);

  QLineEdit* address() const { return address_; }
  QLineEdit* data() const { return data_; }
  QCheckBox* hex() const { return hex_; }
  QPushButton* readButton() const { return read_; }
  QPushButton* writeButton() const { return write_; }

 private:
  MemoryAccess memory_;
  QLineEdit* address_;
  QLineEdit* data_;
  QCheckBox* hex_;
  QPushButton* read_;
  QPushButton* write_;
};

}  // namespace velmar
