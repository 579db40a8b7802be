#include "program_information_dialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace velmar {

ProgramInformationDialog::ProgramInformationDialog(const std::string& version,
                                                   const std::string& partNumber, QWidget* parent)
    : QDialog(parent),
      versionText(new QLabel(QString::fromStdString(version), this)),
      programPartNumber(new QLabel(QString::fromStdString(partNumber), this)) {
  setWindowTitle("Program Information");
  versionText->setFixedSize(0, 0);
  programPartNumber->setFixedSize(0, 0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  for (const char* line : {"Velmar Linear Actuator Service Tool", "Version " VELMAR_VERSION,
                           "Built " VELMAR_BUILD_DATE}) {
    auto* label = new QLabel(line, this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  layout->addWidget(versionText);
  layout->addWidget(programPartNumber);
  layout->addWidget(buttons, 0, Qt::AlignCenter);
  setFixedSize(sizeHint());
}

}  // namespace velmar
