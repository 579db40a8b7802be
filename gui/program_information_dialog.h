#pragma once

#include <QDialog>
#include <QLabel>
#include <string>

namespace velmar {

// "Program Information": the program's name, version and build date. The version file's two
// lines ride along in two fields of zero size, as the window always had them.
class ProgramInformationDialog : public QDialog {
  Q_OBJECT

 public:
  ProgramInformationDialog(const std::string& versionText, const std::string& programPartNumber,
                           QWidget* parent = nullptr);

  QLabel* versionText;
  QLabel* programPartNumber;
};

}  // namespace velmar
