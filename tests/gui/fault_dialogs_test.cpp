#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/session.h"
#include "fault_file_dialog.h"
#include "fault_log_dialog.h"
#include "modal_watcher.h"
#include "ports/posix_serial_driver.h"
#include "qt_clock.h"
#include "qt_ui.h"

namespace velmar::test {

namespace {

const QString kScreenshots = VELMAR_SCREENSHOT_DIR;

// A velmar-sim of its own and a session talking to it, as the main window leaves it after its
// checks.
struct Bench {
  explicit Bench(const QStringList& simOptions)
      : session(driver, clock, ui, home.path().toStdString()) {
    sim.start(VELMAR_SIM_PATH, simOptions);
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
      return;
    }
    driver.SetDeviceOverride(QString::fromLocal8Bit(sim.readLine()).trimmed().toStdString());
    ready = session.link.OpenPort(1, 19200) == LinkResult::kSuccess &&
            session.VerifyCommunication() == 0;
  }
  ~Bench() {
    sim.kill();
    sim.waitForFinished();
  }
  QTemporaryDir home;
  QProcess sim;
  PosixSerialDriver driver;
  QtClock clock;
  QtUi ui;
  Session session;
  bool ready = false;
};

void Click(QWidget& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) {
      QTest::mouseClick(button, Qt::LeftButton);
      return;
    }
  }
  QFAIL(qPrintable("no button " + text));
}

}  // namespace

class FaultDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void faultLogOpensOnRecordOneAndSteps();
  void faultFileUploadsShowsAndClears();
};

void FaultDialogsTest::faultLogOpensOnRecordOneAndSteps() {
  Bench bench({"--log-record", "1:date=2024-03-15,code=1160", "--log-record", "2:code=125"});
  QVERIFY(bench.ready);
  ModalWatcher watcher;
  FaultLogDialog dialog(bench.session, bench.ui);
  dialog.show();
  QTRY_COMPARE_WITH_TIMEOUT(dialog.field(0)->text(), QString("1"), 5000);
  QCOMPARE(dialog.field(1)->text(), QString("03-15-24 "));
  QCOMPARE(dialog.field(3)->text(), QString("Motor Temp"));
  QCOMPARE(dialog.field(4)->text(), QString("2"));
  QVERIFY(dialog.field(0)->isReadOnly());
  QVERIFY(QDir().mkpath(kScreenshots));
  QVERIFY(dialog.grab().save(kScreenshots + "/fault_log_report.png"));
  Click(dialog, "Next Record");
  QCOMPARE(dialog.field(3)->text(), QString("Undefined Type"));
  Click(dialog, "Next Record");
  QCOMPARE(watcher.events,
           QStringList{"Information|Fault Log Report Status|No Fault Log Record Found"});
  QCOMPARE(dialog.field(0)->text(), QString("2"));
  Click(dialog, "Prev Record");
  QCOMPARE(dialog.field(0)->text(), QString("1"));
  Click(dialog, "Save Record");
  QCOMPARE(watcher.events.last(),
           QString("File|Save As|Actuator Fault Log Report Files (*.rpt *.RPT);All Files (*)"));
  Click(dialog, "Erase Fault Log");  // answered No
  QCOMPARE(dialog.field(0)->text(), QString("1"));
  Click(dialog, "Exit");
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void FaultDialogsTest::faultFileUploadsShowsAndClears() {
  Bench bench({"--firmware", "2.05", "--mode", "sum", "--fault-file",
               "date=2024-03-15,time=10:20:30,flags=0x4001"});
  QVERIFY(bench.ready);
  ModalWatcher watcher;
  FaultFileDialog dialog(bench.session, bench.ui);
  dialog.show();
  QCOMPARE(dialog.field(0)->text(), QString("        "));
  Click(dialog, "Upload Faults");
  QCOMPARE(dialog.field(0)->text(), QString("03-15-2024"));
  QCOMPARE(dialog.field(1)->text(), QString("10:20:30"));
  QVERIFY(dialog.flag(0)->isChecked() && dialog.flag(14)->isChecked());
  QVERIFY(!dialog.flag(1)->isChecked());
  QCOMPARE(dialog.flag(4)->text(), QString("Retract / Extend Command"));
  QVERIFY(QDir().mkpath(kScreenshots));
  QVERIFY(dialog.grab().save(kScreenshots + "/view_fault_file.png"));
  Click(dialog, "Clear Display");
  QCOMPARE(dialog.field(2)->text(), QString("    "));
  QVERIFY(!dialog.flag(0)->isChecked());
  Click(dialog, "Clear Faults");
  QCOMPARE(watcher.events,
           QStringList{"Information|Clear Faults|Clear faults procedure successful."});
  // Clearing the faults erased the fault file: the display keeps what it shows.
  Click(dialog, "Upload Faults");
  QCOMPARE(watcher.events.last(),
           QString("Information|View Fault File|No Fault File data to upload."));
  QCOMPARE(dialog.field(0)->text(), QString("        "));
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::FaultDialogsTest)
#include "fault_dialogs_test.moc"
