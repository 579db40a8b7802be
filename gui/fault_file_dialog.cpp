#include "fault_file_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "action_buttons.h"
#include "app/fault_commands.h"
#include "faults/fault_file_upload.h"

namespace velmar {

FaultFileDialog::FaultFileDialog(Session& session, QtUi& ui, QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui), previousOwner_(parent) {
  setWindowTitle("View Fault File");
  ui_.SetOwner(this);
  auto* values = new QGridLayout;
  for (int index = 0; index < FaultFileImage::kTexts; ++index) {
    fields_[index] = new QLineEdit(this);
    fields_[index]->setReadOnly(true);
    values->addWidget(new QLabel(kFaultFileTextLabels[index], this), index, 0);
    values->addWidget(fields_[index], index, 1);
  }
  auto* faults = new QGroupBox("Faults", this);
  auto* flagColumn = new QVBoxLayout(faults);
  for (int bit = 0; bit < FaultFileImage::kFlags; ++bit) {
    flags_[bit] = new QCheckBox(kFaultFlagCaptions[bit], faults);
    // The boxes show the flags; the user cannot change them.
    flags_[bit]->setAttribute(Qt::WA_TransparentForMouseEvents);
    flags_[bit]->setFocusPolicy(Qt::NoFocus);
    flagColumn->addWidget(flags_[bit]);
  }
  auto* columns = new QHBoxLayout;
  columns->addLayout(values);
  columns->addWidget(faults);

  QHBoxLayout* buttons = ActionButtonRow(
      this,
      {
          {"Upload Faults", [this] { UploadSessionFaults(session_); }},
          {"Clear Display", [this] { session_.faultFile.Clear(); }},
          {"Clear Faults",
           [this] { ClearActuatorFaults(session_.link, session_.ui, MessageKind::Error); }},
          {"Exit", [this] { accept(); }},
      },
      [this] { ShowImage(); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttons);
  ShowImage();
}

FaultFileDialog::~FaultFileDialog() {
  ui_.SetOwner(previousOwner_);
}

void FaultFileDialog::ShowImage() {
  const FaultFileImage& image = session_.faultFile;
  for (int index = 0; index < FaultFileImage::kTexts; ++index) {
    fields_[index]->setText(QString::fromStdString(image.texts[index]));
  }
  for (int bit = 0; bit < FaultFileImage::kFlags; ++bit) {
    flags_[bit]->setChecked(image.FlagSet(bit));
  }
}

}  // namespace velmar
