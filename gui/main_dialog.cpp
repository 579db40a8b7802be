#include "main_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QShortcut>
#include <QVBoxLayout>

#include <QKeyEvent>
#include <QPushButton>

#include "about_dialog.h"
#include "app_icon.h"
#include "conversion_window.h"
#include "diagnostic_test_dialog.h"
#include "fault_config_dialog.h"
#include "fault_file_dialog.h"
#include "fault_log_dialog.h"
#include "fault_upload_status_dialog.h"
#include "memory_dialog.h"
#include "program_information_dialog.h"
#include "settings_window.h"
#include "status_monitor_dialog.h"

namespace velmar {

namespace {

struct MenuItem {
  const char* popup;
  const char* text;
  MainCommand command;
};

// The menu: File, Tools and About as the program always had them, and the setup, actuator and
// fault commands a technician needs.
constexpr MenuItem kMenu[] = {
    {"&File", "E&xit", MainCommand::Exit},
    {"&Setup", "&Upload Setup", MainCommand::UploadSetup},
    {"&Setup", "&Download Setup", MainCommand::DownloadSetup},
    {"&Setup", "Setup &Pages", MainCommand::SetupPages},
    {"&Setup", "&Load Setup File", MainCommand::LoadSetupFile},
    {"&Setup", "&Save Setup File", MainCommand::SaveSetupFile},
    {"&Setup", "R&estore Setup From File\u2026", MainCommand::RestoreSetupFile},
    {"&Setup", "P&rint Setup Report", MainCommand::PrintSetupReport},
    {"A&ctuator", "&Status Monitor", MainCommand::StatusMonitor},
    {"A&ctuator", "&Identification Check", MainCommand::IdentificationCheck},
    {"A&ctuator", "Unit Serial &Number", MainCommand::UnitSerialNumber},
    {"A&ctuator", "&Reset Run Hours", MainCommand::ResetRunHours},
    {"A&ctuator", "&Memory Read/Write", MainCommand::MemoryReadWrite},
    {"F&aults", "Fault &Information", MainCommand::FaultInformation},
    {"F&aults", "Fault File &Report", MainCommand::FaultFileReport},
    {"F&aults", "&Save Fault File", MainCommand::SaveFaultFile},
    {"F&aults", "C&lear Fault Information", MainCommand::ClearFaultInformation},
    {"F&aults", "Fault &Configuration", MainCommand::FaultConfiguration},
    {"&Tools", "Enable &Com Indicators", MainCommand::ComIndicators},
    {"&Tools", "View &Run Time Hours", MainCommand::RunTimeHours},
    {"&Tools", "View &Powered Hours", MainCommand::PoweredHours},
    {"&About", "&Firmware Version", MainCommand::FirmwareVersion},
    {"&About", "&Program Version", MainCommand::ProgramInformation},
    {"&About", "&About Velmar...", MainCommand::About},
};

constexpr int kBannerHeight = 64;

// An indicator the user cannot click: only the poll sets it.
QRadioButton* Indicator(const char* text, QWidget* parent) {
  auto* button = new QRadioButton(text, parent);
  button->setAutoExclusive(false);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAttribute(Qt::WA_TransparentForMouseEvents);
  return button;
}

}  // namespace

MainDialog::MainDialog(Session& session, QtUi& ui, const std::filesystem::path& databasePath,
                       QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      session_(session),
      ui_(ui),
      poll_(session),
      logic_(session, poll_, *this, databasePath),
      dispatch_(session, poll_, logic_, *this) {
  ui_.SetOwner(this);
  setWindowTitle("Version " VELMAR_VERSION);
  setWindowIcon(AppIcon());

  auto* layout = new QVBoxLayout(this);
  auto* menuBar = new QMenuBar(this);
  BuildMenu(menuBar);
  layout->setMenuBar(menuBar);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(BuildControls());

  // F1 asks for help as the window always did; there is no help content.
  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { RunCommand(MainCommand::Help); });

  logic_.Initialise();
  portList_->setCurrentIndex(logic_.comPort - 1);

  poll_.onRunningChanged = [this](bool start) {
    if (start) {
      pollTimer_.start(CommunicationPoll::kIntervalMs);
    } else {
      pollTimer_.stop();
    }
  };
  connect(&pollTimer_, &QTimer::timeout, this, [this] { Operate([this] { poll_.Tick(); }); });
  ShowState();
}

void MainDialog::BuildMenu(QMenuBar* menuBar) {
  QMenu* popup = nullptr;
  for (const MenuItem& item : kMenu) {
    if (popup == nullptr || popup->title() != item.popup) {
      popup = menuBar->addMenu(item.popup);
    }
    if (item.command == MainCommand::About) {
      popup->addSeparator();
    }
    if (item.command == MainCommand::FirmwareVersion) {
      aboutMenu_ = popup;
      popup->installEventFilter(this);
    }
    QAction* action = popup->addAction(item.text);
    const MainCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    actions_.emplace_back(command, action);
  }
}

QWidget* MainDialog::BuildControls() {
  auto* controls = new QWidget(this);
  auto* layout = new QVBoxLayout(controls);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* banner = new QLabel(controls);
  banner->setPixmap(DrawBanner(440, kBannerHeight));
  layout->addWidget(banner);

  auto* row = new QHBoxLayout;
  auto* portGroup = new QGroupBox("Com Port", controls);
  portList_ = new QComboBox(portGroup);
  portList_->addItems({"COM 1", "COM 2", "COM 3", "COM 4"});
  (new QVBoxLayout(portGroup))->addWidget(portList_);
  connect(portList_, &QComboBox::activated, this,
          [this](int index) { Operate([this, index] { logic_.ChangePort(index); }); });
  row->addWidget(portGroup);

  auto* statusGroup = new QGroupBox("Com Status", controls);
  transmit_ = Indicator("Transmit", statusGroup);
  receive_ = Indicator("Receive", statusGroup);
  auto* statusLayout = new QHBoxLayout(statusGroup);
  statusLayout->addWidget(transmit_);
  statusLayout->addWidget(receive_);
  row->addWidget(statusGroup, 1);
  // Shown only to the service engineer.
  auto* memoryButton = new QPushButton("Mem Rd/Wr", controls);
  memoryButton->setVisible(session_.serviceMode);
  memoryButton->setAutoDefault(false);
  connect(memoryButton, &QPushButton::clicked, this,
          [this] { RunCommand(MainCommand::MemoryButton); });
  row->addWidget(memoryButton);
  layout->addLayout(row);

  // The technician sees, and may change, the configuration a download writes.
  auto* configGroup = new QGroupBox("Configuration", controls);
  configList_ = new QComboBox(configGroup);
  configList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  configList_->setMinimumContentsLength(40);
  (new QVBoxLayout(configGroup))->addWidget(configList_);
  connect(configList_, &QComboBox::activated, this, [this](int index) {
    Operate([this, index] { logic_.ChooseConfiguration(static_cast<std::size_t>(index)); });
  });
  layout->addWidget(configGroup);
  return controls;
}

QAction* MainDialog::MenuAction(MainCommand command) const {
  for (const auto& [itemCommand, action] : actions_) {
    if (itemCommand == command) {
      return action;
    }
  }
  return nullptr;
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == aboutMenu_ && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() == 1) {
      // Run once the menu has handled the key as it always does.
      const char key = text[0].toLatin1();
      QMetaObject::invokeMethod(
          this,
          [this, key] {
            if (!ended_ && dispatch_.ServiceKey(key)) {
              logic_.shutDown ? End() : ShowState();
            }
          },
          Qt::QueuedConnection);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void MainDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (!startUpPosted_) {
    startUpPosted_ = true;
    QMetaObject::invokeMethod(this, &MainDialog::RunStartUp, Qt::QueuedConnection);
  }
}

void MainDialog::RunStartUp() {
  if (logic_.StartUp() == WindowAction::Close) {
    return End();
  }
  setWindowTitle(QString::fromStdString(logic_.Caption()));
  ShowState();
}

void MainDialog::RunCommand(MainCommand command) {
  if (ended_) {
    return;
  }
  if (dispatch_.Dispatch(command) == WindowAction::Close) {
    return End();
  }
  ShowState();
}

void MainDialog::Operate(const std::function<void()>& work) {
  if (ended_) {
    return;
  }
  if (logic_.RunOperation(work) == WindowAction::Close) {
    return End();
  }
  ShowState();
}

void MainDialog::reject() {
  RunCommand(MainCommand::Exit);
}

void MainDialog::End() {
  ended_ = true;
  pollTimer_.stop();
  done(QDialog::Rejected);
}

void MainDialog::ShowState() {
  for (QRadioButton* indicator : {transmit_, receive_}) {
    indicator->setEnabled(poll_.comIndicatorsEnabled);
  }
  transmit_->setChecked(poll_.transmit);
  receive_->setChecked(poll_.receive);
  portList_->setCurrentIndex(logic_.comPort - 1);

  const ConfigurationList& list = *session_.configList;
  QStringList labels;
  for (const std::string& label : list.labels) {
    labels.append(QString::fromStdString(label));
  }
  if (labels != shownConfigurations_) {
    configList_->clear();
    configList_->addItems(labels);
    shownConfigurations_ = labels;
  }
  configList_->setCurrentIndex(list.selected);
}

void MainDialog::RunSettingsWindow(SettingsMode mode) {
  SettingsWindow window(session_, ui_, mode, this);
  window.exec();
}

void MainDialog::ShowProgramInformation(const std::string& versionText,
                                        const std::string& programPartNumber) {
  ProgramInformationDialog dialog(versionText, programPartNumber, this);
  dialog.exec();
}

void MainDialog::ShowAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

bool MainDialog::ShowSetupPages(SetupPageValues& values) {
  SetupPagesDialog dialog(values, ui_, this);
  return dialog.exec() == QDialog::Accepted;
}

void MainDialog::ShowFaultLogDialog() {
  FaultLogDialog dialog(session_, ui_, this);
  dialog.exec();
}

void MainDialog::ShowFaultFileDialog() {
  FaultFileDialog dialog(session_, ui_, this);
  dialog.exec();
}

void MainDialog::RunFaultUploadStatus() {
  FaultUploadStatusDialog dialog(this);
  dialog.exec();
}

void MainDialog::ShowStatusMonitor() {
  StatusMonitorDialog dialog(session_, this);
  dialog.exec();
}

void MainDialog::ShowDiagnosticTest() {
  DiagnosticTestDialog dialog(session_, this);
  dialog.exec();
}

void MainDialog::ShowMemoryDialog() {
  MemoryDialog dialog(session_, this);
  dialog.exec();
}

void MainDialog::ShowCountsToTemperature() {
  ConversionWindow::Run(true, this);
}

void MainDialog::ShowFaultConfiguration(FaultConfigEditor& editor) {
  // The main window's controls stay disabled while the dialog is open.
  QList<QWidget*> enabled;
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control->isEnabled()) {
      enabled.append(control);
      control->setEnabled(false);
    }
  }
  FaultConfigDialog dialog(editor, ui_, this);
  dialog.exec();
  for (QWidget* control : enabled) {
    control->setEnabled(true);
  }
}

}  // namespace velmar
