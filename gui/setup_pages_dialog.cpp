#include "setup_pages_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmar {

namespace {

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// Beyond this many rows the edits continue in a second column, so the interpolation table fits.
constexpr int kRowsPerColumn = 9;

template <typename Widget>
Widget* Find(const std::map<int, Widget*>& widgets, int id) {
  const auto found = widgets.find(id);
  return found == widgets.end() ? nullptr : found->second;
}

}  // namespace

SetupPagesDialog::SetupPagesDialog(SetupPageValues& values, Ui& ui, QWidget* parent)
    : QDialog(parent), sheet_(values, ui), tabs_(new QTabWidget(this)) {
  setWindowTitle("Actuator Setup");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  // All six tabs in view, as on a property sheet.
  tabs_->setUsesScrollButtons(false);
  pages_.resize(sheet_.PageCount());
  for (std::size_t i = 0; i < sheet_.PageCount(); ++i) {
    tabs_->addTab(BuildPage(sheet_.Page(i), pages_[i]), Text(sheet_.Page(i).title));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SetupPagesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &SetupPagesDialog::ChangeTab);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  ShowActivePage();
}

QWidget* SetupPagesDialog::BuildPage(SetupPage& page, PageWidgets& widgets) {
  auto* widget = new QWidget;
  auto* layout = new QVBoxLayout(widget);

  auto* fields = new QGridLayout;
  int row = -1;
  int column = 0;
  QHBoxLayout* rowEdits = nullptr;
  for (const PageEdit& control : page.edits) {
    auto* edit = new QLineEdit(widget);
    edit->setMaxLength(static_cast<int>(control.maxLength));
    widgets.edits[control.id] = edit;
    const int id = control.id;
    connect(edit, &QLineEdit::textEdited, this, [this, edit, id](const QString& text) {
      const std::string typed = text.toStdString();
      const bool taken = sheet_.SetText(id, typed);
      const PageEdit* shown = sheet_.ActivePage().FindEdit(id);
      if (!taken || (shown != nullptr && shown->text != typed)) {
        edit->setText(shown != nullptr ? Text(shown->text) : QString());
      }
    });
    if (control.secondHalf && rowEdits != nullptr) {
      rowEdits->addWidget(new QLabel("-", widget));
      rowEdits->addWidget(edit);
      continue;
    }
    if (!control.visible) {
      edit->hide();
      continue;
    }
    if (++row == kRowsPerColumn) {
      row = 0;
      column += 2;
    }
    auto* prompt = new QLabel(Text(control.prompt), widget);
    widgets.prompts[control.id] = prompt;
    rowEdits = new QHBoxLayout;
    rowEdits->addWidget(edit);
    fields->addWidget(prompt, row, column);
    fields->addLayout(rowEdits, row, column + 1);
  }
  layout->addLayout(fields);

  auto* groups = new QHBoxLayout;
  for (const PageRadioGroup& group : page.groups) {
    auto* box = new QGroupBox(Text(group.title), widget);
    auto* boxLayout = new QVBoxLayout(box);
    for (const PageRadio& control : group.buttons) {
      auto* radio = new QRadioButton(Text(control.label), box);
      // The page decides which button is checked.
      radio->setAutoExclusive(false);
      widgets.radios[control.id] = radio;
      const int id = control.id;
      connect(radio, &QRadioButton::clicked, this, [this, id] {
        sheet_.CheckRadio(id);
        ShowActivePage();
      });
      boxLayout->addWidget(radio);
    }
    boxLayout->addStretch();
    groups->addWidget(box);
  }
  layout->addLayout(groups);
  layout->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (const PageButton& control : page.buttons) {
    auto* button = new QPushButton(Text(control.label), widget);
    widgets.buttons[control.id] = button;
    const int id = control.id;
    connect(button, &QPushButton::clicked, this, [this, id] {
      sheet_.Click(id);
      ShowActivePage();
    });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  return widget;
}

QLineEdit* SetupPagesDialog::edit(int page, int id) const {
  return Find(pages_[page].edits, id);
}

QRadioButton* SetupPagesDialog::radio(int page, int id) const {
  return Find(pages_[page].radios, id);
}

QPushButton* SetupPagesDialog::button(int page, int id) const {
  return Find(pages_[page].buttons, id);
}

void SetupPagesDialog::ChangeTab(int index) {
  if (showing_) {
    return;
  }
  // The page being left stays in view while it is checked.
  showing_ = true;
  tabs_->setCurrentIndex(static_cast<int>(sheet_.ActiveIndex()));
  showing_ = false;
  if (!sheet_.SelectPage(static_cast<std::size_t>(index))) {
    FocusFailedField();
    return;
  }
  ShowActivePage();
}

void SetupPagesDialog::accept() {
  if (sheet_.Ok()) {
    QDialog::accept();
  } else {
    FocusFailedField();
  }
}

void SetupPagesDialog::ShowActivePage() {
  showing_ = true;
  const std::size_t index = sheet_.ActiveIndex();
  tabs_->setCurrentIndex(static_cast<int>(index));
  const SetupPage& page = sheet_.Page(index);
  const PageWidgets& widgets = pages_[index];
  for (const PageEdit& control : page.edits) {
    QLineEdit* edit = widgets.edits.at(control.id);
    if (edit->text() != Text(control.text)) {
      edit->setText(Text(control.text));
    }
    edit->setReadOnly(control.readOnly);
    if (QLabel* prompt = Find(widgets.prompts, control.id)) {
      prompt->setText(Text(control.prompt));
    }
  }
  for (const PageRadioGroup& group : page.groups) {
    for (const PageRadio& control : group.buttons) {
      QRadioButton* radio = widgets.radios.at(control.id);
      radio->setChecked(control.checked);
      radio->setEnabled(control.enabled);
    }
  }
  for (const PageButton& control : page.buttons) {
    widgets.buttons.at(control.id)->setVisible(control.visible);
  }
  showing_ = false;
}

void SetupPagesDialog::FocusFailedField() {
  const std::size_t index = sheet_.ActiveIndex();
  if (QLineEdit* edit = Find(pages_[index].edits, sheet_.Page(index).focusControl)) {
    edit->setFocus();
    edit->selectAll();
  }
}

}  // namespace velmar
