#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <tuple>

#include "app/session.h"
#include "fault_upload_status_dialog.h"
#include "file_filter.h"
#include "main_dialog.h"
#include "modal_watcher.h"
#include "ports/posix_serial_driver.h"
#include "program_status_dialog.h"
#include "qt_clock.h"
#include "qt_ui.h"
#include "settings_window.h"
#include "text_printer.h"

namespace velmar::test {

namespace {

const QString kScreenshots = VELMAR_SCREENSHOT_DIR;
const QString kSetupFiles = "Actuator Setup Files (*.cfg *.CFG);All Files (*)";

// The Qt clock, with a hook run once at the next sleep: to act while a command waits on the link.
class HookedClock : public QtClock {
 public:
  void SleepMs(int ms) override {
    if (onSleep) {
      const std::function<void()> hook = std::move(onSleep);
      onSleep = nullptr;
      hook();
    }
    QtClock::SleepMs(ms);
  }
  std::function<void()> onSleep;
};

// True when another program could open `device` now.
bool PortFree(const QString& device) {
  PosixSerialDriver probe;
  probe.SetDeviceOverride(device.toStdString());
  return probe.Open(0, 2048, 512) == 0 && probe.Close(0) == 0;
}

// The desktop tool as VelmarApp builds it, on a device of the test's choosing and a private
// settings folder.
struct Rig {
  Rig(const QString& device, const QString& configHome)
      : session(driver, clock, ui, configHome.toStdString()), dialog(session, ui, VELMAR_DEMO_DB) {
    driver.SetDeviceOverride(device.toStdString());
  }
  // Shows the main window and waits until its start-up has finished and the poll has heard the
  // actuator, so the link knows its frame mode.
  bool Started() {
    dialog.show();
    return QTest::qWaitFor([this] { return dialog.logic().initialised; }, 10000) &&
           QTest::qWaitFor([this] { return dialog.receiveIndicator()->isChecked(); }, 5000);
  }
  PosixSerialDriver driver;
  HookedClock clock;
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
  void closeDuringACommandWaitsForIt();
  void progressWindowsAndFileFilters();
  void printsPagesToPdf();

 private:
  QTemporaryDir simFolder_;
  QProcess sim_;
  QString device_;
};

void GuiTest::initTestCase() {
  QVERIFY(simFolder_.isValid() && QDir().mkpath(kScreenshots));
  // A blank unit: the menu walk-through below shows how an upload without a valid setup ends.
  sim_.start(VELMAR_SIM_PATH, {"--link", simFolder_.path() + "/actuator", "--run-hours", "1234",
                               "--powered-hours", "4321", "--blank"});
  QVERIFY(sim_.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(sim_.canReadLine(), 5000);
  device_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
  QVERIFY(!device_.isEmpty());
}

void GuiTest::cleanupTestCase() {
  sim_.kill();
  sim_.waitForFinished();
}

// Every window is also saved as a PNG for review.
void GuiTest::startUpReachesThePollAndTheMenuShowsItsBoxes() {
  QTemporaryDir home;
  ModalWatcher watcher;
  Rig rig(device_, home.path());
  QVERIFY(rig.Started());
  QVERIFY(watcher.events.isEmpty());
  QCOMPARE(rig.dialog.windowTitle(),
           QString::fromStdString("Version " + rig.dialog.logic().versionText));
  QCOMPARE(rig.dialog.portList()->currentText(), QString("COM 1"));
  QVERIFY(rig.dialog.transmitIndicator()->isEnabled());
  QVERIFY(rig.dialog.configList()->count() > 0);
  QCOMPARE(rig.session.link.CrcMode(), 1);
  // The poll has learnt the actuator's version and built the list for it.
  QCOMPARE(rig.session.lastPollVersion, 0x30A);
  QVERIFY(rig.dialog.grab().save(kScreenshots + "/main_window.png"));
  SettingsWindow settings(rig.session, rig.ui, SettingsMode::Load);
  settings.SetStatus("Loading Initialization Parameters...");
  settings.SetPosition(52);
  QVERIFY(settings.grab().save(kScreenshots + "/settings_window.png"));

  using enum MainCommand;
  // What each menu command shows, one line a window.
  const std::tuple<MainCommand, const char*, QString> cases[] = {
      {DownloadSetup, "warning_box",
       "Warning|Program Error|Cannot download configuration with serial number of 0."},
      {FirmwareVersion, "firmware_version_box",
       "Information|Firmware Version|Actuator firmware version is 3.10"},
      {RunTimeHours, nullptr, "Information|Run Hours Status|1234 Hours"},
      {PoweredHours, nullptr, "Information|Powered Hours Status|4321 Hours"},
      {ProgramInformation, "program_information", "Dialog|Program Information"},
      {About, "about_velmar", "Dialog|About Velmar"},
      {SetupPages, nullptr, "Dialog|Actuator Setup"},
      // The simulator's blank memory holds no valid setup; the pages show what it holds.
      {UploadSetup, nullptr,
       "Error|Setup Com Error|Setup data checksum is invalid!\nDialog|Actuator Setup"},
      {StatusMonitor, nullptr, "Dialog|Actuator Status"},
      {UnitSerialNumber, nullptr, "Information|Unit Serial Number|Serial Number: "},
      {FaultInformation, nullptr, "Dialog|Actuator Fault Log Report"},
      {ClearFaultInformation, nullptr,
       "Question|Verify Fault Log Erase|Erase all Fault Log Records?"},
      // The upload above gave the download a serial number; answering No declines it.
      {DownloadSetup, nullptr,
       "Question|Setup Download|Current setup parameters will be overwritten.\n\nConfiguration "
       "1045210-001\nActuator serial number 12345, part number 5000000-000\n\nProceed with "
       "download?\nError|Setup Com Status|Setup download failed!"},
      {LoadSetupFile, nullptr, "File|Open|" + kSetupFiles},
      {RestoreSetupFile, nullptr, "File|Open|" + kSetupFiles},
      {SaveSetupFile, "save_setup_file_box", "File|Save As|" + kSetupFiles},
      {PrintSetupReport, nullptr, "Print"},
  };
  for (const auto& [command, shot, events] : cases) {
    watcher.events.clear();
    if (shot != nullptr) {
      watcher.ShootNext(kScreenshots, shot);
    }
    rig.dialog.MenuAction(command)->trigger();
    QCOMPARE(watcher.events.join('\n'), events);
    QVERIFY(rig.dialog.poll().running);
    QVERIFY(shot == nullptr || QFile::exists(kScreenshots + "/" + shot + ".png"));
  }

  // Answering No turns the indicators and the poll's requests off, and OPTIONS bit 0 with them.
  watcher.events.clear();
  watcher.ShootNext(kScreenshots, "question_box");
  rig.dialog.MenuAction(ComIndicators)->trigger();
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
  rig.dialog.MenuAction(Exit)->trigger();
  QVERIFY(!rig.dialog.isVisible());
  QCOMPARE(rig.dialog.result(), int(QDialog::Rejected));
  QVERIFY(ReadAll(SettingsFile(home)).contains("PORT = 2\nNODE = 7\n"));
  QVERIFY(!rig.dialog.poll().running);
}

void GuiTest::missingPortEndsWithoutSavingTheSettings() {
  QTemporaryDir home;
  QDir().mkpath(home.path() + "/Corvane/Quenda_2.30");
  const QByteArray settings = "# kept as it is\nPORT = 2\nOPTIONS = 1\n";
  QFile file(SettingsFile(home));
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size());
  file.close();
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

// The close box while a command waits on the link: the command finishes on an open port, then
// the program ends, saving the settings once; the poll never comes back.
void GuiTest::closeDuringACommandWaitsForIt() {
  QTemporaryDir home;
  ModalWatcher watcher;
  Rig rig(device_, home.path());
  QVERIFY(rig.Started());
  rig.session.settings.node = "7";
  bool freeAtClose = true;
  bool visibleAfterClose = false;
  QByteArray settingsAtClose;
  rig.clock.onSleep = [&] {
    rig.dialog.close();
    freeAtClose = PortFree(device_);
    visibleAfterClose = rig.dialog.isVisible();
    settingsAtClose = ReadAll(SettingsFile(home));
  };

  rig.dialog.MenuAction(MainCommand::FirmwareVersion)->trigger();

  QVERIFY(!freeAtClose);
  QVERIFY(visibleAfterClose);
  QVERIFY(!settingsAtClose.contains("NODE = 7"));
  QCOMPARE(watcher.events,
           QStringList{"Information|Firmware Version|Actuator firmware version is 3.10"});
  QVERIFY(!rig.dialog.isVisible());
  QCOMPARE(rig.dialog.result(), int(QDialog::Rejected));
  QVERIFY(PortFree(device_));
  QVERIFY(ReadAll(SettingsFile(home)).contains("NODE = 7"));
  QTest::qWait(2 * CommunicationPoll::kIntervalMs);
  QVERIFY(!rig.dialog.poll().running);
  // A second close saves nothing again.
  QFile::remove(SettingsFile(home));
  rig.dialog.reject();
  QVERIFY(!QFile::exists(SettingsFile(home)));
}

void GuiTest::progressWindowsAndFileFilters() {
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
  status->progressBar->setValue(40);
  QVERIFY(status->grab().save(kScreenshots + "/program_status.png"));
  ui.EndProgress();
  QVERIFY(VisibleWindow<ProgramStatusDialog>() == nullptr);

  // The upload animation closes itself after five 100 ms ticks, its bar at 100.
  FaultUploadStatusDialog animation;
  animation.bar->setValue(60);
  QVERIFY(animation.grab().save(kScreenshots + "/upload_faults_status.png"));
  QCOMPARE(animation.exec(), int(QDialog::Accepted));
  QCOMPARE(animation.bar->value(), 100);

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
    static const QRegularExpression page("/Type\\s*/Page[^s]");
    return PrintPages(printer, text) ? int(QString::fromLatin1(ReadAll(path)).count(page)) : -1;
  };
  QCOMPARE(pagesOf(""), 0);
  // A printer that cannot take the job reports it.
  QPrinter unwritable(QPrinter::HighResolution);
  unwritable.setOutputFormat(QPrinter::PdfFormat);
  unwritable.setOutputFileName(folder.path() + "/missing/report.pdf");
  QVERIFY(!PrintPages(unwritable, "Line\n"));
  // About 60 lines of 10 points fit an A4 page.
  const int pages = pagesOf(QString("Line\tvalue\n").repeated(200).toStdString());
  QVERIFY2(pages >= 3 && pages <= 5, qPrintable(QString::number(pages)));
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::GuiTest)
#include "gui_test.moc"
