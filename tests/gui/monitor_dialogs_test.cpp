#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/monitor_commands.h"
#include "app/session.h"
#include "diagnostic_test_dialog.h"
#include "memory_dialog.h"
#include "ports/posix_serial_driver.h"
#include "qt_clock.h"
#include "qt_ui.h"
#include "status_monitor_dialog.h"

namespace velmar::test {

namespace {
const QString kScreenshots = VELMAR_SCREENSHOT_DIR;
}  // namespace

// The monitoring and service windows over a session on velmar-sim, as the main window opens
// them; each is also saved as a PNG for review.
class MonitorDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void statusMonitorShowsRecordsAndPlotsReadings();
  void diagnosticTestRunsItsSevenChecks();
  void memoryAndConversionWindows();

 private:
  QTemporaryDir folder_;
  QProcess sim_;
  PosixSerialDriver driver_;
  QtClock clock_;
  QtUi ui_;
  std::unique_ptr<Session> session_;
};

void MonitorDialogsTest::initTestCase() {
  QVERIFY(folder_.isValid() && QDir().mkpath(kScreenshots));
  sim_.start(VELMAR_SIM_PATH, {"--status", "travel=0", "--status", "motor-current=512", "--status",
                               "position=728000", "--status", "fault-bits=0x0040"});
  QVERIFY(sim_.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(sim_.canReadLine(), 5000);
  driver_.SetDeviceOverride(QString::fromLocal8Bit(sim_.readLine()).trimmed().toStdString());
  session_ = std::make_unique<Session>(driver_, clock_, ui_, folder_.path().toStdString());
  QCOMPARE(session_->link.OpenPort(1, 19200), LinkResult::kSuccess);
  QVERIFY(session_->VerifyCommunication() == 0 &&
          ReadStatusMonitorLimits(*session_));  // the version, the maximum force and the span
}

void MonitorDialogsTest::cleanupTestCase() {
  session_.reset();
  sim_.kill();
  sim_.waitForFinished();
}

void MonitorDialogsTest::statusMonitorShowsRecordsAndPlotsReadings() {
  StatusMonitorDialog dialog(*session_);
  dialog.show();
  QCOMPARE(dialog.windowTitle(), QString("Actuator Status"));
  QCOMPARE(dialog.edit(StatusQuantity::MotorCurrent)->text(), QString("0.0"));
  const QString csv = folder_.path() + "/status.csv";
  dialog.ToggleRecording(csv);
  QCOMPARE(dialog.recordButton()->text(), QString("Stop Recording"));
  // The 750 ms ticks, driven here without their waits: discard, request, reading.
  for (int tick = 0; tick < 3; ++tick) {
    dialog.Tick();
    QTest::qWait(60);
  }
  QCOMPARE(dialog.edit(StatusQuantity::MotorCurrent)->text(), QString("12.5"));
  QCOMPARE(dialog.bar(StatusQuantity::MotorCurrent)->value(), 50);
  QCOMPARE(dialog.edit(StatusQuantity::Position)->text(), QString("37.0"));
  QCOMPARE(dialog.edit(StatusQuantity::Minus14)->text(), QString("-14.0"));
  QVERIFY(dialog.receiveLamp()->isChecked() && !dialog.transmitLamp()->isChecked());
  QStringList checked;
  for (int box = 0; box < kFaultBoxes; ++box) {
    if (dialog.faultBox(box)->isChecked()) {
      checked << dialog.faultBox(box)->text();
    }
  }
  QCOMPARE(checked, QStringList{"+14 Volts"});
  QCOMPARE(dialog.plot()->PointCount(0), 1);
  dialog.plot()->SetPaused(true);
  QVERIFY(dialog.grab().save(kScreenshots + "/status_monitor.png"));
  dialog.ToggleRecording({});
  QCOMPARE(dialog.recordButton()->text(), QString("Record…"));
  QFile file(csv);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  QCOMPARE(lines.size(), 3);  // header, one reading, the empty end
  QVERIFY(lines[1].endsWith(",12.5,37.0,0.0,25,25,25,25,14.0,-14.0,120,Reset,0x0040"));
}

void MonitorDialogsTest::diagnosticTestRunsItsSevenChecks() {
  DiagnosticTestDialog dialog(*session_);
  dialog.show();
  dialog.startButton()->click();
  for (int step = 0; step < 10 && dialog.test().timerRunning; ++step) {
    dialog.Step();
  }
  QCOMPARE(dialog.statusLine()->text(), QString("Diagnostic Test failed!"));  // the +14 V fault
  QCOMPARE(dialog.resultEdit(DiagnosticCheck::ActiveFault)->text(), QString("FAILED"));
  QCOMPARE(dialog.resultEdit(DiagnosticCheck::Voltage)->text(), QString("OK    "));
  QVERIFY(dialog.grab().save(kScreenshots + "/diagnostic_test.png"));
}

void MonitorDialogsTest::memoryAndConversionWindows() {
  MemoryDialog memory(*session_);
  memory.show();
  memory.address()->setText("0x20");
  memory.data()->setText("0x1234");
  memory.writeButton()->click();
  memory.data()->clear();
  memory.hex()->setChecked(true);
  QTest::keyClick(memory.address(), Qt::Key_Return);  // Enter reads
  QCOMPARE(memory.data()->text(), QString("0x1234"));
  QVERIFY(memory.grab().save(kScreenshots + "/memory_dialog.png"));
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::MonitorDialogsTest)
#include "monitor_dialogs_test.moc"
