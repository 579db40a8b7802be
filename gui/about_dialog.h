#pragma once

#include <QDialog>

namespace velmar {

// "About Velmar": the icon, the program's name and version; OK closes it.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace velmar
