#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "app/session.h"
#include "fault_upload_status_dialog.h"
#include "file_filter.h"
#include "link/posix_serial_driver.h"
#include "main_dialog.h"
#include "modal_watcher.h"
#include "program_status_dialog.h"
#include "qt_clock.h"
#include "qt_ui.h"
#include "settings_window.h"
#include "text_printer.h"

namespace velmar::test {

namespace {

const QString kScreenshots = VELMAR_SCREENSHOT_DIR;
const QString kNotAvailable = "Information|Program Status|This command is not available yet.";

// The desktop tool as VelmarApp builds it, on a device of the test's choosing and a private
// settings folder.
struct Rig {
  Rig(const QString& device, const QString& configHome)
      : session(driver, clock, ui, configHome.toStdString()), dialog(session, ui, VELMAR_DEMO_DB) {
    driver.SetDeviceOverride(device.toStdString());
  }
  PosixSerialDriver driver;
  QtClock clock;
  QtUi ui;
  Session session;
  MainDialog dialog;
};

QString SettingsFile(const QTemporaryDir& home) {
  return home.path() + "/Corvane/Quenda_2.30/velmar.ini";
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename Window>
Window* VisibleWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<Window*>(widget); window != nullptr && window->isVisible()) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace

class GuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void startUpReachesThePollAndTheMenuShowsItsBoxes();
  void missingPortEndsWithoutSavingTheSettings();
  void progressWindows();
  void fileFiltersOfferBothCases();
  void printsPagesToPdf();
  void rendersTheWindowsForReview();

 private:
  // Shows the main window and waits for its start-up and a good poll reply.
  void StartUp(Rig& rig);

  QTemporaryDir simFolder_;
  QProcess sim_;
  QString device_;
};

void GuiTest::initTestCase() {
  QVERIFY(simFolder_.isValid());
  sim_.start(VELMAR_SIM_PATH, {"--link", simFolder_.path() + "/actuator", "--run-hours", "1234",
                               "--powered-hours", "4321"});
  QVERIFY(sim_.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(sim_.canReadLine(), 5000);
  device_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
  QVERIFY(!device_.isEmpty());
}

void GuiTest::cleanupTestCase() {
  sim_.kill();
  sim_.waitForFinished();
}

void GuiTest::StartUp(Rig& rig) {
  rig.dialog.show();
  QTRY_VERIFY_WITH_TIMEOUT(rig.dialog.logic().initialised, 10000);
  QTRY_VERIFY_WITH_TIMEOUT(rig.dialog.receiveIndicator()->isChecked(), 5000);
}

void GuiTest::missingPortEndsWithoutSavingTheSettings() {
  QTemporaryDir home;
  QDir().mkpath(home.path() + "/Corvane/Quenda_2.30");
  const QByteArray settings = "# kept as it is\nPORT = 2\nOPTIONS = 1\n";
  {
    QFile file(SettingsFile(home));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(settings);
  }
  ModalWatcher watcher;
  Rig rig(home.path() + "/no-such-device", home.path());
  rig.dialog.show();
  QTRY_VERIFY_WITH_TIMEOUT(!rig.dialog.isVisible(), 10000);
  QCOMPARE(watcher.events,
           QStringList{"Error|Communication Initialization|Serial port initialization failed!  "
                       "Verify the port exists and that it is not\nin use by another "
                       "application."});
  QCOMPARE(ReadAll(SettingsFile(home)), settings);
  QVERIFY(!rig.dialog.logic().initialised);
}

void GuiTest::startUpReachesThePollAndTheMenuShowsItsBoxes() {
  QTemporaryDir home;
  ModalWatcher watcher;
  Rig rig(device_, home.path());
  StartUp(rig);
  QVERIFY(!QTest::currentTestFailed());
  QVERIFY(watcher.events.isEmpty());
  QCOMPARE(rig.dialog.windowTitle(),
           QString::fromStdString("Version " + rig.dialog.logic().versionText));
  QCOMPARE(rig.dialog.portList()->currentText(), QString("COM 1"));
  QVERIFY(rig.dialog.transmitIndicator()->isEnabled());
  QVERIFY(rig.dialog.configList()->count() > 0);
  QCOMPARE(rig.session.link.crcMode, 1);
  // The poll has learnt the actuator's version and built the list for it.
  QCOMPARE(rig.session.lastPollVersion, 0x30A);

  const struct {
    MainCommand command;
    QStringList events;
  } cases[] = {
      {MainCommand::FirmwareVersion,
       {"Information|Firmware Version|Actuator firmware version is 3.10"}},
      {MainCommand::RunTimeHours, {"Information|Run Hours Status|1234 Hours"}},
      {MainCommand::PoweredHours, {"Information|Powered Hours Status|4321 Hours"}},
      {MainCommand::ProgramInformation, {"Dialog|Program Information"}},
      {MainCommand::About, {"Dialog|About Velmar"}},
      {MainCommand::SetupPages, {"Dialog|Actuator Setup"}},
      // The simulator's blank memory holds no valid setup; the pages show what it holds.
      {MainCommand::UploadSetup,
       {"Error|Setup Com Error|Setup data checksum is invalid!", "Dialog|Actuator Setup"}},
      {MainCommand::StatusMonitor, {kNotAvailable}},
      {MainCommand::FaultConfiguration, {kNotAvailable}},
      {MainCommand::UnitSerialNumber, {"Information|Unit Serial Number|Serial Number: "}},
      // The upload above gave the download a serial number; answering No declines it.
      {MainCommand::DownloadSetup,
       {"Question|Setup Download|Current setup parameters will be overwritten.\n\nProceed with "
        "download?",
        "Error|Setup Com Status|Setup download failed!"}},
      {MainCommand::LoadSetupFile, {"File|Open|Actuator Setup Files (*.cfg *.CFG);All Files (*)"}},
      {MainCommand::SaveSetupFile,
       {"File|Save As|Actuator Setup Files (*.cfg *.CFG);All Files (*)"}},
      {MainCommand::PrintSetupReport, {"Print"}},
  };
  for (const auto& c : cases) {
    watcher.events.clear();
    QAction* action = rig.dialog.MenuAction(c.command);
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(watcher.events, c.events);
    QVERIFY(rig.dialog.poll().running);
  }

  // Answering No turns the indicators and the poll's requests off, and OPTIONS bit 0 with them.
  watcher.events.clear();
  watcher.answers.push_back(QMessageBox::No);
  rig.dialog.MenuAction(MainCommand::ComIndicators)->trigger();
  QCOMPARE(watcher.events, QStringList{"Question|Com Status Enable|Enable Com Status indicators?"});
  QVERIFY(!rig.dialog.transmitIndicator()->isEnabled());
  QCOMPARE(rig.session.settings.options, std::string("2"));
  QTRY_VERIFY(!rig.dialog.receiveIndicator()->isChecked());

  // Another port: reopened at 19200 baud and remembered, with its error box when it is missing.
  watcher.events.clear();
  rig.driver.SetDeviceOverride((home.path() + "/no-such-device").toStdString());
  rig.dialog.portList()->setCurrentIndex(1);
  emit rig.dialog.portList()->activated(1);
  QCOMPARE(watcher.events,
           QStringList{"Error|Communication Setup Error|Error initializing serial port!"});
  QCOMPARE(rig.session.settings.port, std::string("2"));
  QCOMPARE(rig.dialog.portList()->currentIndex(), 1);

  rig.session.settings.node = "7";
  rig.dialog.MenuAction(MainCommand::Exit)->trigger();
  QVERIFY(!rig.dialog.isVisible());
  QCOMPARE(rig.dialog.result(), int(QDialog::Rejected));
  QVERIFY(ReadAll(SettingsFile(home)).contains("PORT = 2\nNODE = 7\n"));
  QVERIFY(!rig.dialog.poll().running);
}

void GuiTest::progressWindows() {
  QtUi ui;
  ui.BeginProgress(ProgressKind::FileTransfer, "Saving Initialization Parameters...");
  auto* transfer = VisibleWindow<TransferProgressDialog>();
  QVERIFY(transfer != nullptr && transfer->isModal());
  QCOMPARE(transfer->windowTitle(), QString("File Transfer Progress"));
  ui.SetProgressPosition(39);
  QCOMPARE(transfer->progressBar()->value(), 39);
  QCOMPARE(transfer->statusText()->text(), QString("Saving Initialization Parameters..."));
  ui.EndProgress();
  QVERIFY(VisibleWindow<TransferProgressDialog>() == nullptr);

  ui.BeginProgress(ProgressKind::ProgramStatus, " Clearing All Fault Log Records...");
  auto* status = VisibleWindow<ProgramStatusDialog>();
  QVERIFY(status != nullptr && !status->isModal());
  QCOMPARE(status->windowTitle(), QString("Program Status"));
  QCOMPARE(status->statusEdit->text(), QString(" Clearing All Fault Log Records..."));
  ui.EndProgress();
  QVERIFY(VisibleWindow<ProgramStatusDialog>() == nullptr);

  // The upload animation closes itself after five 100 ms ticks, its bar at 100.
  FaultUploadStatusDialog animation;
  QCOMPARE(animation.exec(), int(QDialog::Accepted));
  QCOMPARE(animation.bar->value(), 100);
}

void GuiTest::fileFiltersOfferBothCases() {
  QCOMPARE(QtNameFilters("Actuator Fault Files (*.rpt)|*.RPT|All Files (*.*)|*.*||"),
           (QStringList{"Actuator Fault Files (*.rpt *.RPT)", "All Files (*)"}));
  QCOMPARE(QtNameFilters(""), QStringList{});
}

void GuiTest::printsPagesToPdf() {
  QTemporaryDir folder;
  const auto pagesOf = [&](const std::string& text) {
    const QString path = folder.path() + "/report.pdf";
    QFile::remove(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!PrintPages(printer, text)) {
      return -1;
    }
    static const QRegularExpression page("/Type\\s*/Page[^s]");
    return int(QString::fromLatin1(ReadAll(path)).count(page));
  };
  std::string report;
  for (int line = 1; line <= 200; ++line) {
    report += "Line " + std::to_string(line) + "\tvalue\n";
  }
  QCOMPARE(pagesOf(""), 0);
  // About 60 lines of 10 points fit an A4 page.
  const int pages = pagesOf(report);
  QVERIFY2(pages >= 3 && pages <= 5, qPrintable(QString::number(pages)));
}

void GuiTest::rendersTheWindowsForReview() {
  QTemporaryDir home;
  ModalWatcher watcher;
  Rig rig(device_, home.path());
  StartUp(rig);
  QVERIFY(!QTest::currentTestFailed());
  QVERIFY(QDir().mkpath(kScreenshots));
  QVERIFY(rig.dialog.grab().save(kScreenshots + "/main_window.png"));

  const struct {
    MainCommand command;
    const char* name;
  } boxes[] = {
      {MainCommand::FirmwareVersion, "firmware_version_box"},
      {MainCommand::DownloadSetup, "warning_box"},
      {MainCommand::ComIndicators, "question_box"},
      {MainCommand::ProgramInformation, "program_information"},
      {MainCommand::About, "about_velmar"},
      {MainCommand::SaveSetupFile, "save_setup_file_box"},
  };
  for (const auto& box : boxes) {
    watcher.ShootNext(kScreenshots, box.name);
    watcher.answers.push_back(QMessageBox::Yes);
    rig.dialog.MenuAction(box.command)->trigger();
  }

  SettingsWindow settings(rig.session, rig.ui, SettingsMode::Load);
  settings.SetStatus("Loading Initialization Parameters...");
  settings.SetPosition(52);
  QVERIFY(settings.grab().save(kScreenshots + "/settings_window.png"));
  ProgramStatusDialog status;
  status.statusEdit->setText(" Updating Fault Configuration Data...");
  status.progressBar->setValue(40);
  QVERIFY(status.grab().save(kScreenshots + "/program_status.png"));
  FaultUploadStatusDialog upload;
  upload.bar->setValue(60);
  QVERIFY(upload.grab().save(kScreenshots + "/upload_faults_status.png"));
  for (const auto& box : boxes) {
    QVERIFY2(QFile::exists(kScreenshots + "/" + box.name + ".png"), box.name);
  }
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::GuiTest)
#include "gui_test.moc"
