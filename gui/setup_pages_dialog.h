#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <map>
#include <vector>

#include "ports/ui.h"
#include "setup/setup_page_values.h"
#include "setup/setup_sheet.h"

namespace velmar {

// The "Actuator Setup" sheet: six tabs over the core SetupSheet, OK and Cancel. The widgets
// mirror the active page's controls and forward typing, radio choices and button clicks; the
// page rules decide what may change and whether a page may be left. The caller fills the values
// before the run and applies them after an accepted one.
class SetupPagesDialog : public QDialog {
  Q_OBJECT

 public:
  SetupPagesDialog(SetupPageValues& values, Ui& ui, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  const SetupSheet& sheet() const { return sheet_; }
  // The widget of a control of page `page`, nullptr when the page has none of that id.
  QLineEdit* edit(int page, int id) const;
  QRadioButton* radio(int page, int id) const;
  QPushButton* button(int page, int id) const;

 public slots:
  // OK: the active page is left first; a failed check keeps the sheet open.
  void accept() override;

 private:
  struct PageWidgets {
    std::map<int, QLineEdit*> edits;
    std::map<int, QLabel*> prompts;
    std::map<int, QRadioButton*> radios;
    std::map<int, QPushButton*> buttons;
  };

  QWidget* BuildPage(SetupPage& page, PageWidgets& widgets);
  void ChangeTab(int index);
  // Puts the active page's controls into its widgets.
  void ShowActivePage();
  void FocusFailedField();

  SetupSheet sheet_;
  QTabWidget* tabs_;
  std::vector<PageWidgets> pages_;
  bool showing_ = false;
};

}  // namespace velmar
