#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

#include "app_icon.h"

namespace velmar {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About Velmar");
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap::fromImage(DrawAppIcon(48)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(new QLabel("Velmar Version " VELMAR_VERSION, this), 0, 1);
  layout->addWidget(new QLabel("Linear actuator service tool", this), 1, 1);
  layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
  layout->setHorizontalSpacing(16);
  setFixedSize(sizeHint());
}

}  // namespace velmar
