#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/fault_config_command.h"
#include "conversion_window.h"
#include "fault_config_dialog.h"
#include "faults/conversion_windows.h"
#include "modal_watcher.h"
#include "ports/posix_serial_driver.h"
#include "qt_clock.h"
#include "qt_ui.h"

namespace velmar::test {

namespace {

const QString kScreenshots = VELMAR_SCREENSHOT_DIR;

// A session on a velmar-sim, communication verified as the main window does it.
struct Link {
  Link(const QString& device, bool serviceMode) {
    driver.SetDeviceOverride(device.toStdString());
    session.serviceMode = serviceMode;
    session.link.OpenPort(1, 19200);
    session.VerifyCommunication();
  }
  PosixSerialDriver driver;
  QtClock clock;
  QtUi ui;
  Session session{driver, clock, ui};
};

}  // namespace

class FaultConfigDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void viewOnlyReadShowsTheRecordAndRefusesWrites();
  void fullAccessEditsAndAsksBeforeWriting();
  void conversionWindowsReadHexadecimal();

 private:
  QProcess sim_;
  QString device_;
};

void FaultConfigDialogTest::initTestCase() {
  QVERIFY(QDir().mkpath(kScreenshots));
  sim_.start(VELMAR_SIM_PATH, {});
  QVERIFY(sim_.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(sim_.canReadLine(), 5000);
  device_ = QString::fromLocal8Bit(sim_.readLine()).trimmed();
  QVERIFY(!device_.isEmpty());
}

void FaultConfigDialogTest::cleanupTestCase() {
  sim_.kill();
  sim_.waitForFinished();
}

void FaultConfigDialogTest::viewOnlyReadShowsTheRecordAndRefusesWrites() {
  Link link(device_, false);
  FaultConfigEditor editor = MakeFaultConfigEditor(link.session);
  ModalWatcher watcher;
  FaultConfigDialog dialog(editor, link.ui);
  dialog.show();
  QCOMPARE(dialog.label(kF1Low)->text(), QString("Low Limit"));
  QCOMPARE(dialog.typeList()->currentIndex(), -1);

  // Enter reads: the first record, its list entry selected.
  QTest::keyClick(&dialog, Qt::Key_Return);
  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.typeList()->currentIndex(), 0);
  QCOMPARE(dialog.label(kF1High)->text(), QString("High Limit (lbf)"));
  QCOMPARE(dialog.label(kF2Low)->text(), QString("Low Limit  (lbf)"));
  QCOMPARE(dialog.edit(kF1High)->text(), QString("1000"));
  QCOMPARE(dialog.edit(kPersist1)->text(), QString("2.00"));
  QVERIFY(dialog.edit(kF1High)->isReadOnly());
  QVERIFY(dialog.box(kF1FaultEnable)->isChecked());
  QVERIFY(!dialog.box(kF1FaultEnable)->isEnabled());

  // Choosing a type in the list reads its record.
  dialog.typeList()->setCurrentIndex(kPlus5V);
  emit dialog.typeList()->activated(kPlus5V);
  QCOMPARE(dialog.label(kF1High)->text(), QString("High Limit (volts)"));
  QCOMPARE(dialog.edit(kF2Low)->text(), QString("4.3"));
  QVERIFY(dialog.grab().save(kScreenshots + "/fault_config_view_only.png"));

  QTest::mouseClick(dialog.writeButton(), Qt::LeftButton);
  QCOMPARE(watcher.events, QStringList({"Warning|Program Status|Feature not available."}));
}

void FaultConfigDialogTest::fullAccessEditsAndAsksBeforeWriting() {
  Link link(device_, true);
  FaultConfigEditor editor = MakeFaultConfigEditor(link.session);
  ModalWatcher watcher;
  FaultConfigDialog dialog(editor, link.ui);
  dialog.show();
  dialog.typeList()->setCurrentIndex(kPosDemand);
  emit dialog.typeList()->activated(kPosDemand);
  QVERIFY2(watcher.events.isEmpty(), qPrintable(watcher.events.join('\n')));
  QCOMPARE(dialog.edit(kF1Low)->text(), QString("3.80"));
  QVERIFY(!dialog.edit(kF1Low)->isReadOnly());
  QVERIFY(dialog.box(kF2LowAlarm)->isEnabled());
  dialog.edit(kF1Low)->clear();
  QTest::keyClicks(dialog.edit(kF1Low), "3.9");
  dialog.box(kF2LowAlarm)->setChecked(true);
  QVERIFY(dialog.grab().save(kScreenshots + "/fault_config_full_access.png"));

  // The watcher answers No: nothing is written and the entries stay as typed.
  QTest::mouseClick(dialog.writeButton(), Qt::LeftButton);
  QCOMPARE(watcher.events,
           QStringList({"Question|Verify Fault Configuration Write|Fault configuration will be "
                        "overwritten. Are you sure?",
                        "Warning|Program Status|Fault configuration write aborted."}));
  QCOMPARE(editor.edits[kF1Low], std::string("3.9"));
  QCOMPARE(editor.checkedBoxes & kF2LowAlarm, int(kF2LowAlarm));

  dialog.typeList()->setCurrentIndex(kRdc);
  emit dialog.typeList()->activated(kRdc);
  QVERIFY(dialog.edit(kF1High)->isReadOnly());
  QVERIFY(!dialog.box(kF1AutoReset)->isEnabled());
  QVERIFY(dialog.box(kF2ShutdownEnable)->isEnabled());
}

void FaultConfigDialogTest::conversionWindowsReadHexadecimal() {
  ConversionWindow window("Convert ADC Counts To Temperature", "Enter ADC Counts",
                          "Temperature (C)", ConvertCountsToTemperatureText);
  window.show();
  QVERIFY(window.entry()->text().isEmpty() && window.result()->text().isEmpty());
  QTest::keyClicks(window.entry(), "0x200");
  QTest::mouseClick(window.convertButton(), Qt::LeftButton);
  QCOMPARE(window.result()->text(), QString("75"));
  QVERIFY(window.grab().save(kScreenshots + "/convert_counts_to_temperature.png"));
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::FaultConfigDialogTest)

#include "fault_config_dialog_test.moc"
